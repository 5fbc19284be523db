// The control as a script host or a late-binding container uses it: members by name through
// IDispatch, Change and the property-changed notices through connection points.
#include <string>
#include <vector>

#include "com_fixture.h"
#include "tests/platform/win32/window_fixture.h"

namespace velmora::testing {
namespace {

// Row 1 to row 8: the initial position with the e-pawns advanced two squares.
const std::wstring kOpenPosition =
    L"RNBQKBNRPPPP*PPP********"
    L"****P*******p***********pppp*ppprnbqkbnr";

// One control with an event sink and a notice sink connected, writing one shared log.
class DispatchTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    control_ = CreateControl();
    ASSERT_TRUE(control_);
    events_ = com::MakeObject<EventSink>();
    notices_ = com::MakeObject<NoticeSink>();
    events_->on_event = [this](DISPID id, DISPPARAMS&) {
      log_.push_back(id == kChangeEvent ? L"Change " + GetText(control_.get(), L"GetMove")
                                        : L"event " + std::to_wstring(id));
    };
    notices_->on_changed = [this](DISPID id) { log_.push_back(L"notice " + std::to_wstring(id)); };
    event_cookie_ = Connect(control_.get(), __uuidof(__UserControl1), events_.get());
    notice_cookie_ = Connect(control_.get(), IID_IPropertyNotifySink, notices_.get());
  }

  void TearDown() override {
    if (control_) {
      Disconnect(control_.get(), __uuidof(__UserControl1), event_cookie_);
      Disconnect(control_.get(), IID_IPropertyNotifySink, notice_cookie_);
    }
    control_.Reset();
    events_.Reset();
    notices_.Reset();
    LibraryTest::TearDown();
  }

  static std::wstring Notice(DISPID id) { return L"notice " + std::to_wstring(id); }

  ComPtr<IDispatch> control_;
  ComPtr<EventSink> events_;
  ComPtr<NoticeSink> notices_;
  DWORD event_cookie_ = 0;
  DWORD notice_cookie_ = 0;
  std::vector<std::wstring> log_;
  MessageBoxCatcher boxes_;
};

TEST_F(DispatchTest, NamesFindTheMemberIds) {
  const std::pair<const wchar_t*, DISPID> members[] = {
      {L"Enabled", kEnabledId}, {L"Refresh", kRefreshId},         {L"GetMove", kGetMoveId},
      {L"PutMove", kPutMoveId}, {L"PutPosition", kPutPositionId}, {L"putmove", kPutMoveId},
  };
  for (const auto& [name, id] : members) EXPECT_EQ(IdOf(control_.get(), name), id);
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Move")};
  DISPID id = 0;
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id),
            DISP_E_UNKNOWNNAME);
}

TEST_F(DispatchTest, NewInstanceReadsEmptyTextsAndEnabled) {
  for (const wchar_t* name : {L"GetMove", L"PutMove", L"PutPosition"}) {
    EXPECT_EQ(GetText(control_.get(), name), L"") << name;
  }
  EXPECT_TRUE(GetTruth(control_.get(), L"Enabled"));
  EXPECT_TRUE(log_.empty());
}

TEST_F(DispatchTest, PushedMoveRaisesChangeWithTheMoveBeforeTheNotice) {
  ASSERT_EQ(PutText(control_.get(), L"PutMove", L"E2-E4"), S_OK);
  EXPECT_EQ(log_, (std::vector<std::wstring>{L"Change E2-E4", Notice(kPutMoveId)}));
  EXPECT_EQ(GetText(control_.get(), L"GetMove"), L"E2-E4");
  EXPECT_EQ(GetText(control_.get(), L"PutMove"), L"E2-E4");
}

TEST_F(DispatchTest, SameTextWriteRaisesNothingButStillNotifies) {
  const std::pair<const wchar_t*, DISPID> properties[] = {
      {L"PutMove", kPutMoveId}, {L"GetMove", kGetMoveId}, {L"PutPosition", kPutPositionId}};
  for (const auto& [name, id] : properties) {
    ASSERT_EQ(PutText(control_.get(), name, L""), S_OK);
    EXPECT_EQ(log_, std::vector<std::wstring>{Notice(id)}) << name;
    log_.clear();
  }
  ASSERT_EQ(PutText(control_.get(), L"PutMove", L"D2-D4"), S_OK);
  log_.clear();
  ASSERT_EQ(PutText(control_.get(), L"PutMove", L"D2-D4"), S_OK);
  EXPECT_EQ(log_, std::vector<std::wstring>{Notice(kPutMoveId)});
}

TEST_F(DispatchTest, WritingGetMoveRaisesChangeOnceThenNotifies) {
  ASSERT_EQ(PutText(control_.get(), L"GetMove", L"A1"), S_OK);
  EXPECT_EQ(log_, (std::vector<std::wstring>{L"Change A1", Notice(kGetMoveId)}));
}

TEST_F(DispatchTest, ResetTokenEmptiesPutPosition) {
  ASSERT_EQ(PutText(control_.get(), L"PutPosition", L"bad"), S_OK);
  ASSERT_EQ(GetText(control_.get(), L"PutPosition"), L"bad");
  ASSERT_EQ(PutText(control_.get(), L"PutMove", L"**"), S_OK);
  EXPECT_EQ(GetText(control_.get(), L"PutPosition"), L"");
  EXPECT_EQ(GetText(control_.get(), L"PutMove"), L"**");
  EXPECT_EQ(events_->Count(kChangeEvent), 0);
}

TEST_F(DispatchTest, ValidPositionLoadsAndReadsBackEmpty) {
  ASSERT_EQ(PutText(control_.get(), L"PutPosition", kOpenPosition), S_OK);
  EXPECT_EQ(GetText(control_.get(), L"PutPosition"), L"");
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(log_, std::vector<std::wstring>{Notice(kPutPositionId)});
}

TEST_F(DispatchTest, RejectedPositionShowsItsMessageAndStays) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"RNBQKBNR", L"Data Length Error"},
      {std::wstring(63, L'*') + L"x", L"Invalid Character In Piece Array"},
  };
  for (const auto& [text, message] : cases) {
    ASSERT_EQ(PutText(control_.get(), L"PutPosition", text), S_OK);
    EXPECT_EQ(GetText(control_.get(), L"PutPosition"), text);
    ASSERT_FALSE(boxes_.boxes().empty());
    EXPECT_EQ(boxes_.boxes().back().text, message);
    EXPECT_EQ(boxes_.boxes().back().caption, L"Project1");
  }
  EXPECT_EQ(boxes_.boxes().size(), 2u);
}

TEST_F(DispatchTest, EnabledWritesReadBackAndAlwaysNotify) {
  for (bool value : {false, false, true}) {
    ASSERT_EQ(PutTruth(control_.get(), L"Enabled", value), S_OK);
    EXPECT_EQ(GetTruth(control_.get(), L"Enabled"), value);
  }
  EXPECT_EQ(log_, std::vector<std::wstring>(3, Notice(kEnabledId)));
}

TEST_F(DispatchTest, RefreshRunsWithoutAWindow) {
  EXPECT_EQ(CallMethod(control_.get(), L"Refresh"), S_OK);
  EXPECT_TRUE(log_.empty());
}

TEST_F(DispatchTest, NoticesMarkTheControlDirty) {
  const auto persist = control_.As<IPersistStreamInit>();
  ASSERT_TRUE(persist);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ASSERT_EQ(PutText(control_.get(), L"GetMove", L"H8"), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_OK);
}

TEST_F(DispatchTest, HandlerWritingAPropertyRunsNestedInsideTheWrite) {
  events_->on_event = [this](DISPID id, DISPPARAMS&) {
    if (id != kChangeEvent) return;
    log_.push_back(L"Change " + GetText(control_.get(), L"GetMove"));
    if (GetText(control_.get(), L"GetMove") == L"E2-E4")
      PutText(control_.get(), L"PutMove", L"E7-E5");
  };
  ASSERT_EQ(PutText(control_.get(), L"PutMove", L"E2-E4"), S_OK);
  EXPECT_EQ(log_, (std::vector<std::wstring>{L"Change E2-E4", L"Change E7-E5", Notice(kPutMoveId),
                                             Notice(kPutMoveId)}));
}

TEST_F(DispatchTest, ContainerFindsBothConnectionPointsAndTheEventInterface) {
  const auto container = control_.As<IConnectionPointContainer>();
  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(points.Put()), S_OK);
  std::vector<GUID> found;
  IConnectionPoint* point = nullptr;
  while (points->Next(1, &point, nullptr) == S_OK) {
    const auto held = ComPtr<IConnectionPoint>::Adopt(point);
    IID iid{};
    held->GetConnectionInterface(&iid);
    found.push_back(iid);
  }
  ASSERT_EQ(found.size(), 2u);
  EXPECT_TRUE(IsEqualGUID(found[0], __uuidof(__UserControl1)));
  EXPECT_TRUE(IsEqualGUID(found[1], IID_IPropertyNotifySink));

  const auto class_info = control_.As<IProvideClassInfo2>();
  GUID source{};
  ASSERT_EQ(class_info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
  EXPECT_TRUE(IsEqualGUID(source, __uuidof(__UserControl1)));
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(class_info->GetClassInfo(info.Put()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, __uuidof(::UserControl1)));
  info->ReleaseTypeAttr(attributes);
}

TEST_F(DispatchTest, SinkMayDisconnectAndReleaseTheControlWhileChangeRuns) {
  // The sink is handed the test's only reference and lets go of it, and of its connection,
  // inside Change: the write must still finish, and the control go when it has.
  IDispatch* control = control_.Detach();
  Disconnect(control, IID_IPropertyNotifySink, notice_cookie_);
  int changes = 0;
  events_->on_event = [&](DISPID id, DISPPARAMS&) {
    if (id != kChangeEvent) return;
    ++changes;
    Disconnect(control, __uuidof(__UserControl1), event_cookie_);
    control->Release();
  };
  EXPECT_EQ(PutText(control, L"PutMove", L"G1-F3"), S_OK);
  EXPECT_EQ(changes, 1);
  // TearDown checks that the library has no live object left.
}

}  // namespace
}  // namespace velmora::testing
