// Calls a careless or hostile host makes through the control's binary interfaces, and the
// defined answer each one gets.
#include <functional>
#include <string>
#include <vector>

#include "com_fixture.h"
#include "resource_count.h"
#include "tests/platform/win32/window_fixture.h"

namespace velmora::testing {
namespace {

class HardeningTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    control_ = CreateControl();
    ASSERT_TRUE(control_);
  }
  void TearDown() override {
    control_.Reset();
    LibraryTest::TearDown();
  }

  template <class I>
  ComPtr<I> Interface() const {
    return control_.As<I>();
  }

  ComPtr<IDispatch> control_;
  MessageBoxCatcher boxes_;
};

TEST_F(HardeningTest, NullPointersGetAnErrorInsteadOfACrash) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"PutMove")};
  LPOLESTR null_name[] = {nullptr};
  DISPID id = 0;
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, nullptr, 1, LOCALE_USER_DEFAULT, &id), E_POINTER);
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, nullptr), E_POINTER);
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, null_name, 1, LOCALE_USER_DEFAULT, &id), E_POINTER);

  VARIANT argument = TextVariant(L"E2-E4");
  const struct {
    VARIANT* arguments;
    DISPID* named;
    UINT count;
    UINT named_count;
  } broken[] = {
      {&argument, nullptr, 1, 1},  // named arguments promised, none given
      {nullptr, nullptr, 1, 0},    // arguments promised, none given
  };
  for (const auto& call : broken) {
    DISPPARAMS params{call.arguments, call.named, call.count, call.named_count};
    EXPECT_EQ(control_->Invoke(kPutMoveId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                               &params, nullptr, nullptr, nullptr),
              E_INVALIDARG);
  }
  EXPECT_EQ(control_->Invoke(kPutMoveId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                             nullptr, nullptr, nullptr, nullptr),
            E_POINTER);
  VariantClear(&argument);

  // Arguments whose kind promises a pointer they do not carry.
  for (const VARTYPE kind :
       {VARTYPE(VT_BYREF | VT_BSTR), VARTYPE(VT_BYREF | VT_VARIANT), VARTYPE(VT_DISPATCH),
        VARTYPE(VT_UNKNOWN), VARTYPE(VT_ARRAY | VT_BSTR)}) {
    VARIANT hollow;
    VariantInit(&hollow);
    V_VT(&hollow) = kind;
    V_BYREF(&hollow) = nullptr;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{&hollow, &put, 1, 1};
    UINT argument_error = 99;
    EXPECT_EQ(control_->Invoke(kPutMoveId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                               &params, nullptr, nullptr, &argument_error),
              DISP_E_TYPEMISMATCH)
        << kind;
    EXPECT_EQ(argument_error, 0u) << kind;
  }
  EXPECT_EQ(GetText(control_.get(), L"PutMove"), L"");
}

TEST_F(HardeningTest, WrongArgumentShapesAreRefusedAndChangeNothing) {
  const DISPID put = DISPID_PROPERTYPUT;
  const struct {
    DISPID member;
    WORD flags;
    UINT count;
    std::vector<DISPID> named;
    HRESULT expected;
  } calls[] = {
      {kPutMoveId, DISPATCH_PROPERTYPUT, 2, {put}, DISP_E_BADPARAMCOUNT},
      {kPutMoveId, DISPATCH_PROPERTYPUT, 5, {put}, DISP_E_BADPARAMCOUNT},
      {kPutMoveId, DISPATCH_PROPERTYPUT, 1, {}, DISP_E_PARAMNOTFOUND},
      {kPutMoveId, DISPATCH_PROPERTYPUT, 1, {7}, DISP_E_PARAMNOTFOUND},
      {kPutMoveId, DISPATCH_PROPERTYPUT, 2, {put, 0}, DISP_E_BADPARAMCOUNT},
      {kGetMoveId, DISPATCH_PROPERTYPUT, 2, {put}, DISP_E_BADPARAMCOUNT},
      {kEnabledId, DISPATCH_PROPERTYPUT, 5, {put}, DISP_E_BADPARAMCOUNT},
      {kEnabledId, DISPATCH_PROPERTYPUT, 1, {}, DISP_E_PARAMNOTFOUND},
      {kPutMoveId, DISPATCH_PROPERTYGET, 1, {}, DISP_E_BADPARAMCOUNT},
      {kPutMoveId, DISPATCH_PROPERTYGET, 1, {0}, DISP_E_NONAMEDARGS},
      {kRefreshId, DISPATCH_METHOD, 1, {}, DISP_E_BADPARAMCOUNT},
      {kRefreshId, DISPATCH_METHOD, 1, {0}, DISP_E_NONAMEDARGS},
      {kRefreshId, DISPATCH_PROPERTYPUT, 1, {put}, DISP_E_MEMBERNOTFOUND},
      {kPutMoveId, 0, 0, {}, E_INVALIDARG},
      {kPutMoveId, 0x100, 0, {}, E_INVALIDARG},
  };
  for (const auto& call : calls) {
    std::vector<VARIANT> arguments(call.count);
    for (VARIANT& argument : arguments) {
      VariantInit(&argument);
      V_VT(&argument) = VT_BSTR;
      V_BSTR(&argument) = SysAllocString(L"E2-E4");
    }
    std::vector<DISPID> named = call.named;
    DISPPARAMS params{arguments.data(), named.empty() ? nullptr : named.data(), call.count,
                      static_cast<UINT>(named.size())};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(control_->Invoke(call.member, IID_NULL, LOCALE_USER_DEFAULT, call.flags, &params,
                               &result, nullptr, nullptr),
              call.expected)
        << std::hex << call.member << " flags " << call.flags << " count " << call.count;
    VariantClear(&result);
    for (VARIANT& argument : arguments) VariantClear(&argument);
  }
  EXPECT_EQ(GetText(control_.get(), L"PutMove"), L"");
  EXPECT_EQ(GetText(control_.get(), L"GetMove"), L"");
  EXPECT_TRUE(GetTruth(control_.get(), L"Enabled"));
}

// Streams saved from a control holding texts of every size, read back whole.
TEST_F(HardeningTest, WhateverSaveWritesLoadReadsBack) {
  for (const std::size_t length :
       {std::size_t{5}, std::size_t{0x100000}, std::size_t{0x100001}, std::size_t{0x300000}}) {
    const std::wstring text(length, L'x');
    ASSERT_EQ(PutText(control_.get(), L"GetMove", text), S_OK);
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
    ASSERT_EQ(Interface<IPersistStreamInit>()->Save(stream.get(), TRUE), S_OK);
    ULARGE_INTEGER promised{}, end{};
    ASSERT_EQ(Interface<IPersistStreamInit>()->GetSizeMax(&promised), S_OK);
    stream->Seek({}, STREAM_SEEK_CUR, &end);
    EXPECT_EQ(promised.QuadPart, end.QuadPart) << length;
    stream->Seek({}, STREAM_SEEK_SET, nullptr);

    const ComPtr<IDispatch> copy = CreateControl();
    EXPECT_EQ(copy.As<IPersistStreamInit>()->Load(stream.get()), S_OK) << length;
    EXPECT_EQ(GetText(copy.get(), L"GetMove").size(), length);
  }
}

// A length field that promises more than the stream holds is refused before anything is
// allocated for it, and the control keeps what it had.
TEST_F(HardeningTest, StreamsThatEndEarlyAreRefused) {
  ASSERT_EQ(PutText(control_.get(), L"GetMove", L"E2-E4"), S_OK);
  ComPtr<IStream> saved;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, saved.Put()), S_OK);
  ASSERT_EQ(Interface<IPersistStreamInit>()->Save(saved.get(), TRUE), S_OK);
  ULARGE_INTEGER size{};
  saved->Seek({}, STREAM_SEEK_CUR, &size);
  HGLOBAL memory = nullptr;
  GetHGlobalFromStream(saved.get(), &memory);
  const auto* bytes = static_cast<const unsigned char*>(GlobalLock(memory));
  const std::vector<unsigned char> whole(bytes, bytes + size.QuadPart);
  GlobalUnlock(memory);

  const auto huge_length = [&] {
    auto mutated = whole;
    mutated[4] = mutated[5] = mutated[6] = 0xFF;  // the first name's length
    mutated[7] = 0x7F;
    return mutated;
  };
  const std::vector<std::vector<unsigned char>> streams = {
      {},
      {whole.begin(), whole.begin() + 3},
      {whole.begin(), whole.begin() + 9},
      {whole.begin(), whole.end() - 1},
      huge_length(),
  };
  // The first refusal makes the thread's error information once.
  Interface<IPersistStreamInit>()->Load(saved.get());
  for (const auto& content : streams) {
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
    stream->Write(content.data(), static_cast<ULONG>(content.size()), nullptr);
    stream->Seek({}, STREAM_SEEK_SET, nullptr);
    const ResourceCount before = ResourceCount::Now();
    EXPECT_TRUE(FAILED(Interface<IPersistStreamInit>()->Load(stream.get()))) << content.size();
    const ResourceCount after = ResourceCount::Now();
    EXPECT_FALSE(Grew(before, after, 16 << 20))
        << content.size() << ": " << before.Describe() << " then " << after.Describe();
    EXPECT_EQ(GetText(control_.get(), L"GetMove"), L"E2-E4");
  }
}

// A bag that fills the value and then fails: the value is still released.
class FillingBag : public com::Implements<IPropertyBag> {
 public:
  FillingBag(IUnknown* object, HRESULT answer)
      : Implements(TestObjects()), object_(object), answer_(answer) {}
  STDMETHODIMP Read(LPCOLESTR, VARIANT* value, IErrorLog*) override {
    V_VT(value) = VT_UNKNOWN;
    V_UNKNOWN(value) = object_;
    object_->AddRef();
    return answer_;
  }
  STDMETHODIMP Write(LPCOLESTR, VARIANT*) override { return S_OK; }

 private:
  IUnknown* object_;
  HRESULT answer_;
};

TEST_F(HardeningTest, BagValuesAreReleasedWhateverTheBagAnswers) {
  for (const HRESULT answer : {E_FAIL, E_INVALIDARG, E_OUTOFMEMORY, S_OK}) {
    const auto object = com::MakeObject<NoticeSink>();
    const auto bag = com::MakeObject<FillingBag>(object.get(), answer);
    Interface<IPersistPropertyBag>()->Load(bag.get(), nullptr);
    EXPECT_EQ(object->AddRef(), 2u) << std::hex << answer;
    object->Release();
  }
}

TEST_F(HardeningTest, ConnectionPointEnumeratorStaysInsideItsList) {
  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(Interface<IConnectionPointContainer>()->EnumConnectionPoints(points.Put()), S_OK);
  const auto fetch = [&](ULONG count) {
    std::vector<IConnectionPoint*> out(count, nullptr);
    ULONG fetched = 0;
    const HRESULT hr = points->Next(count, out.data(), &fetched);
    for (IConnectionPoint* point : out) {
      if (point) point->Release();
    }
    return std::make_pair(hr, fetched);
  };
  const struct {
    ULONG skip_first;
    ULONG skip;
    HRESULT skipped;
    ULONG ask;
    HRESULT answer;
    ULONG fetched;
  } steps[] = {
      {0, 0xFFFFFFFF, S_FALSE, 1, S_FALSE, 0},
      {1, 0xFFFFFFFF, S_FALSE, 1, S_FALSE, 0},
      {1, 0xFFFFFFFE, S_FALSE, 1, S_FALSE, 0},
      {0, 1, S_OK, 2, S_FALSE, 1},
      {0, 2, S_OK, 1, S_FALSE, 0},
      {0, 3, S_FALSE, 1, S_FALSE, 0},
      {0, 0, S_OK, 3, S_FALSE, 2},
  };
  for (const auto& step : steps) {
    ASSERT_EQ(points->Reset(), S_OK);
    ASSERT_EQ(points->Skip(step.skip_first), S_OK);
    EXPECT_EQ(points->Skip(step.skip), step.skipped) << step.skip_first << "+" << step.skip;
    ComPtr<IEnumConnectionPoints> clone;
    ASSERT_EQ(points->Clone(clone.Put()), S_OK);
    EXPECT_EQ(fetch(step.ask), std::make_pair(step.answer, step.fetched))
        << step.skip_first << "+" << step.skip;
    // The clone started where the original stood.
    ULONG fetched = 0;
    IConnectionPoint* point = nullptr;
    EXPECT_EQ(clone->Next(1, &point, &fetched), step.fetched > 0 ? S_OK : S_FALSE);
    if (point) point->Release();
  }
  IConnectionPoint* two[2] = {};
  EXPECT_EQ(points->Next(2, two, nullptr), E_POINTER);
}

// Draws at a run of heights into a memory device and into a metafile: fonts of past sizes are
// let go, and what a metafile records holds nothing of the control's. The memory device shows
// every draw whole, so each one needs every font and piece.
TEST_F(HardeningTest, DrawingAtManySizesDoesNotPileUpGdiObjects) {
  const auto view = Interface<IViewObject2>();
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, 1000, 1000);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  const auto draw = [&](HDC dc, LONG height) {
    const RECTL bounds{0, 0, height * 449 / 489 + 1, height};
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr,
                         nullptr, 0),
              S_OK);
  };
  const auto into_metafile = [&](LONG height) {
    const HDC metafile = CreateEnhMetaFileW(screen, nullptr, nullptr, nullptr);
    draw(metafile, height);
    DeleteEnhMetaFile(CloseEnhMetaFile(metafile));
  };
  const std::function<void(LONG)> devices[] = {[&](LONG height) { draw(memory, height); },
                                               into_metafile};
  for (const auto& draw_at : devices) {
    for (LONG height = 400; height <= 1000; height += 100) draw_at(height);
    const long before = ResourceCount::Now().gdi_objects;
    for (LONG height = 10; height < 210; ++height) draw_at(height);
    EXPECT_LE(ResourceCount::Now().gdi_objects, before);
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

TEST_F(HardeningTest, UnbalancedUnlocksCannotUnloadALiveControl) {
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  const auto get =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void (*)()>(Export("DllGetClassObject")));
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(get(__uuidof(::UserControl1), IID_IClassFactory, factory.PutVoid()), S_OK);
  const struct {
    BOOL lock;
    HRESULT answer;
  } calls[] = {{FALSE, E_UNEXPECTED}, {TRUE, S_OK}, {FALSE, S_OK}, {FALSE, E_UNEXPECTED}};
  for (const auto& call : calls) EXPECT_EQ(factory->LockServer(call.lock), call.answer);
  factory.Reset();
  EXPECT_EQ(CanUnloadNow(), S_FALSE) << "a control is alive";
  control_.Reset();
  EXPECT_EQ(CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace velmora::testing
