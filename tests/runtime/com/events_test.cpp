// The runtime's delivery of events to sinks: arguments by reference to the core's own storage,
// and sinks that disconnect while an event is on its way.
#include <cstdint>
#include <vector>

#include "com_fixture.h"
#include "products/ocx/com_host.h"

namespace velmora::testing {
namespace {

// The object a connection point belongs to; the tests use only its identity.
class PointOwner : public com::Implements<IConnectionPointContainer> {
 public:
  PointOwner() : Implements(TestObjects()) {}
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID, IConnectionPoint**) override { return E_NOTIMPL; }
};

class EventDeliveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadTypeLibEx(LibraryPath().c_str(), REGKIND_NONE, types_.Put()), S_OK);
    ASSERT_EQ(types_->GetTypeInfoOfGuid(__uuidof(_UserControl1), members_.Put()), S_OK);
  }
  void TearDown() override {
    first_.Reset();
    second_.Reset();
    owner_.Reset();
    EXPECT_TRUE(TestObjects().Zero());
  }

  ComPtr<ITypeLib> types_;
  ComPtr<ITypeInfo> members_;
  ComPtr<PointOwner> owner_ = com::MakeObject<PointOwner>();
  ComPtr<EventSink> first_ = com::MakeObject<EventSink>();
  ComPtr<EventSink> second_ = com::MakeObject<EventSink>();
};

TEST_F(EventDeliveryTest, ArgumentsGoByReferenceAndSinkWritesComeBack) {
  com::ConnectionPoint events(*owner_.get(), __uuidof(__UserControl1));
  com::ConnectionPoint notices(*owner_.get(), IID_IPropertyNotifySink);
  ocx::ComHost host(events, notices, *members_.get(), [] {});
  DWORD cookie = 0;
  ASSERT_EQ(events.Advise(first_.get(), &cookie), S_OK);
  first_->on_event = [](DISPID, DISPPARAMS& params) {
    // Dispatch order is last first: Y, X, Shift, Button.
    *V_R4REF(&params.rgvarg[0]) = 7.5f;
    *V_I2REF(&params.rgvarg[3]) = 4;
  };

  std::int16_t button = 1, shift = 2;
  float x = 30.0f, y = 45.0f;
  const EventArg args[] = {&button, &shift, &x, &y};
  host.RaiseEvent(EventId::kMouseDown, args);

  ASSERT_EQ(first_->events.size(), 1u);
  EXPECT_EQ(first_->events[0].id, 6);
  EXPECT_EQ(first_->events[0].types, (std::vector<VARTYPE>{VT_BYREF | VT_I2, VT_BYREF | VT_I2,
                                                           VT_BYREF | VT_R4, VT_BYREF | VT_R4}));
  EXPECT_EQ(button, 4);
  EXPECT_EQ(shift, 2);
  EXPECT_EQ(x, 30.0f);
  EXPECT_EQ(y, 7.5f);
  EXPECT_EQ(events.Unadvise(cookie), S_OK);
}

TEST_F(EventDeliveryTest, EverySinkGetsTheEventInConnectionOrder) {
  com::ConnectionPoint events(*owner_.get(), __uuidof(__UserControl1));
  com::ConnectionPoint notices(*owner_.get(), IID_IPropertyNotifySink);
  ocx::ComHost host(events, notices, *members_.get(), [] {});
  std::vector<int> order;
  first_->on_event = [&](DISPID, DISPPARAMS& params) {
    order.push_back(1);
    *V_I2REF(&params.rgvarg[0]) = 0;  // a host swallowing the key
  };
  second_->on_event = [&](DISPID, DISPPARAMS& params) {
    order.push_back(2);
    EXPECT_EQ(*V_I2REF(&params.rgvarg[0]), 0);  // sees what the first sink wrote
  };
  DWORD cookies[2] = {};
  ASSERT_EQ(events.Advise(first_.get(), &cookies[0]), S_OK);
  ASSERT_EQ(events.Advise(second_.get(), &cookies[1]), S_OK);
  std::int16_t key_ascii = 65;
  const EventArg args[] = {&key_ascii};
  host.RaiseEvent(EventId::kKeyPress, args);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(key_ascii, 0);
  events.Clear();
}

TEST_F(EventDeliveryTest, SinkDisconnectedDuringAnEventGetsNoMore) {
  com::ConnectionPoint events(*owner_.get(), __uuidof(__UserControl1));
  com::ConnectionPoint notices(*owner_.get(), IID_IPropertyNotifySink);
  ocx::ComHost host(events, notices, *members_.get(), [] {});
  DWORD cookies[2] = {};
  ASSERT_EQ(events.Advise(first_.get(), &cookies[0]), S_OK);
  ASSERT_EQ(events.Advise(second_.get(), &cookies[1]), S_OK);
  // The first sink disconnects itself and the second; the second sink's only reference is
  // the connection, so it goes away in the middle of the event.
  first_->on_event = [&](DISPID, DISPPARAMS&) {
    EXPECT_EQ(events.Unadvise(cookies[0]), S_OK);
    EXPECT_EQ(events.Unadvise(cookies[1]), S_OK);
  };
  second_.Reset();
  host.RaiseEvent(EventId::kChange, {});
  EXPECT_EQ(first_->Count(kChangeEvent), 1);
  EXPECT_FALSE(events.HasSinks());
  EXPECT_EQ(events.Unadvise(cookies[0]), CONNECT_E_NOCONNECTION);
}

TEST_F(EventDeliveryTest, PropertyNoticeGoesAsOnChangedWithTheMemberId) {
  com::ConnectionPoint events(*owner_.get(), __uuidof(__UserControl1));
  com::ConnectionPoint notices(*owner_.get(), IID_IPropertyNotifySink);
  int changed = 0;
  ocx::ComHost host(events, notices, *members_.get(), [&] { ++changed; });
  const auto sink = com::MakeObject<NoticeSink>();
  DWORD cookie = 0;
  ASSERT_EQ(notices.Advise(sink.get(), &cookie), S_OK);
  for (const auto name : {u"PutPosition", u"PutMove", u"GetMove", u"Enabled"}) {
    host.PropertyChanged(name);
  }
  EXPECT_EQ(sink->changed,
            (std::vector<DISPID>{kPutPositionId, kPutMoveId, kGetMoveId, kEnabledId}));
  EXPECT_EQ(changed, 4);
  // An event sink is no property-notice sink.
  DWORD refused = 0;
  EXPECT_EQ(notices.Advise(first_.get(), &refused), CONNECT_E_CANNOTCONNECT);
  notices.Clear();
}

}  // namespace
}  // namespace velmora::testing
