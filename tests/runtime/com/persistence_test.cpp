// Saving and loading the four properties through a container's property bag and stream.
#include <string>
#include <vector>

#include "com_fixture.h"
#include "tests/platform/win32/window_fixture.h"

namespace velmora::testing {
namespace {

VARIANT Truth(bool value) {
  VARIANT variant;
  VariantInit(&variant);
  V_VT(&variant) = VT_BOOL;
  V_BOOL(&variant) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return variant;
}

VARIANT Number(int value) {
  VARIANT variant;
  VariantInit(&variant);
  V_VT(&variant) = VT_I4;
  V_I4(&variant) = value;
  return variant;
}

class PersistenceTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    control_ = CreateControl();
    ASSERT_TRUE(control_);
    sink_ = com::MakeObject<EventSink>();
    cookie_ = Connect(control_.get(), __uuidof(__UserControl1), sink_.get());
    notices_ = com::MakeObject<NoticeSink>();
    notice_cookie_ = Connect(control_.get(), IID_IPropertyNotifySink, notices_.get());
  }
  void TearDown() override {
    Disconnect(control_.get(), __uuidof(__UserControl1), cookie_);
    Disconnect(control_.get(), IID_IPropertyNotifySink, notice_cookie_);
    control_.Reset();
    sink_.Reset();
    notices_.Reset();
    bag_.Reset();
    LibraryTest::TearDown();
  }

  HRESULT Load(IDispatch* control) {
    return ComPtr<IDispatch>(control).As<IPersistPropertyBag>()->Load(bag_.get(), nullptr);
  }
  HRESULT Save(IDispatch* control) {
    return ComPtr<IDispatch>(control).As<IPersistPropertyBag>()->Save(bag_.get(), TRUE, TRUE);
  }
  void SetText(const wchar_t* name, const std::wstring& text) {
    VARIANT value = TextVariant(text);
    bag_->Set(name, value);
    VariantClear(&value);
  }

  ComPtr<IDispatch> control_;
  ComPtr<EventSink> sink_;
  ComPtr<NoticeSink> notices_;
  ComPtr<MemoryPropertyBag> bag_ = com::MakeObject<MemoryPropertyBag>();
  DWORD cookie_ = 0;
  DWORD notice_cookie_ = 0;
};

TEST_F(PersistenceTest, SaveWritesTheFourValuesInOrderWithTheirKinds) {
  ASSERT_EQ(PutText(control_.get(), L"PutMove", L"E2-E4"), S_OK);
  ASSERT_EQ(Save(control_.get()), S_OK);
  EXPECT_EQ(bag_->written,
            (std::vector<std::wstring>{L"Enabled", L"GetMove", L"PutMove", L"PutPosition"}));
  const VARIANT& enabled = bag_->values[L"Enabled"];
  ASSERT_EQ(V_VT(&enabled), VT_BOOL);
  EXPECT_EQ(V_BOOL(&enabled), VARIANT_TRUE);
  for (const auto& [name, text] : {std::pair{L"GetMove", L"E2-E4"}, std::pair{L"PutMove", L"E2-E4"},
                                   std::pair{L"PutPosition", L""}}) {
    const VARIANT& value = bag_->values[name];
    ASSERT_EQ(V_VT(&value), VT_BSTR) << name;
    EXPECT_EQ(std::wstring(V_BSTR(&value), SysStringLen(V_BSTR(&value))), text) << name;
  }
}

TEST_F(PersistenceTest, SavedPropertiesComeBackInANewControl) {
  ASSERT_EQ(PutTruth(control_.get(), L"Enabled", false), S_OK);
  ASSERT_EQ(PutText(control_.get(), L"PutMove", L"E2-E4"), S_OK);
  ASSERT_EQ(PutText(control_.get(), L"GetMove", L"B1"), S_OK);
  ASSERT_EQ(Save(control_.get()), S_OK);

  const ComPtr<IDispatch> copy = CreateControl();
  ASSERT_EQ(Load(copy.get()), S_OK);
  EXPECT_FALSE(GetTruth(copy.get(), L"Enabled"));
  // The saved move is replayed on load, so its copy replaces the restored GetMove.
  EXPECT_EQ(GetText(copy.get(), L"GetMove"), L"E2-E4");
  EXPECT_EQ(GetText(copy.get(), L"PutMove"), L"E2-E4");
  EXPECT_EQ(GetText(copy.get(), L"PutPosition"), L"");
}

TEST_F(PersistenceTest, LoadingOnlyAMoveReplaysItWithOneChangeAndNoNotice) {
  SetText(L"PutMove", L"E7-E5");
  ASSERT_EQ(Load(control_.get()), S_OK);
  EXPECT_EQ(sink_->Count(kChangeEvent), 1);
  EXPECT_TRUE(notices_->changed.empty());
  EXPECT_EQ(GetText(control_.get(), L"GetMove"), L"E7-E5");
  EXPECT_TRUE(GetTruth(control_.get(), L"Enabled"));
}

TEST_F(PersistenceTest, EmptyBagChangesNothing) {
  ASSERT_EQ(PutTruth(control_.get(), L"Enabled", false), S_OK);
  ASSERT_EQ(Load(control_.get()), S_OK);
  EXPECT_TRUE(GetTruth(control_.get(), L"Enabled"));  // the default of a missing value
  EXPECT_EQ(GetText(control_.get(), L"GetMove"), L"");
  EXPECT_TRUE(sink_->events.empty());
}

TEST_F(PersistenceTest, ValuesOfEveryKindConvertAsTheCoreSays) {
  MessageBoxCatcher boxes;
  bag_->Set(L"Enabled", Number(0));
  const VARIANT number = Number(12);
  bag_->Set(L"GetMove", number);
  const VARIANT truth = Truth(true);
  bag_->Set(L"PutPosition", truth);
  ASSERT_EQ(Load(control_.get()), S_OK);
  EXPECT_FALSE(GetTruth(control_.get(), L"Enabled"));
  EXPECT_EQ(GetText(control_.get(), L"GetMove"), L"12");
  // A truth value written out is no position text: rejected, and kept.
  EXPECT_EQ(GetText(control_.get(), L"PutPosition"), L"True");
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, L"Data Length Error");
}

TEST_F(PersistenceTest, UnconvertibleEnabledStopsTheLoadBeforeAnyCell) {
  SetText(L"Enabled", L"maybe");
  SetText(L"GetMove", L"A2");
  EXPECT_EQ(Load(control_.get()), static_cast<HRESULT>(0x800A000D));  // type mismatch
  EXPECT_EQ(GetText(control_.get(), L"GetMove"), L"");
  EXPECT_TRUE(sink_->events.empty());
}

TEST_F(PersistenceTest, StreamRoundTripAndDirtyState) {
  const auto persist = control_.As<IPersistStreamInit>();
  ASSERT_TRUE(persist);
  ASSERT_EQ(persist->InitNew(), S_OK);
  ASSERT_EQ(PutText(control_.get(), L"PutMove", L"G1-F3"), S_OK);
  ASSERT_EQ(PutTruth(control_.get(), L"Enabled", false), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_OK);

  ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
  ASSERT_EQ(persist->Save(stream.get(), TRUE), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ULARGE_INTEGER size{};
  ASSERT_EQ(persist->GetSizeMax(&size), S_OK);
  STATSTG stat{};
  ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(size.QuadPart, stat.cbSize.QuadPart);

  const LARGE_INTEGER start{};
  ASSERT_EQ(stream->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
  const ComPtr<IDispatch> copy = CreateControl();
  ASSERT_EQ(copy.As<IPersistStreamInit>()->Load(stream.get()), S_OK);
  EXPECT_FALSE(GetTruth(copy.get(), L"Enabled"));
  EXPECT_EQ(GetText(copy.get(), L"PutMove"), L"G1-F3");
  EXPECT_EQ(GetText(copy.get(), L"GetMove"), L"G1-F3");

  // A stream that ends early is refused, not half read.
  ComPtr<IStream> empty;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, empty.Put()), S_OK);
  EXPECT_TRUE(FAILED(copy.As<IPersistStreamInit>()->Load(empty.get())));
}

}  // namespace
}  // namespace velmora::testing
