// The host's view of the control: properties, Refresh, events, saved properties, lifetime.
#include "control/board_control.h"

#include <gtest/gtest.h>

#include <functional>

#include "board/failure.h"
#include "tests/support/control_fixture.h"

namespace velmora::testing {
namespace {

using HostViewTest = ControlFixture;

TEST_F(HostViewTest, ANewInstanceIsEmptyAndSilent) {
  EXPECT_EQ(control->GetMove(), u"");
  EXPECT_EQ(control->PutMove(), u"");
  EXPECT_EQ(control->PutPosition(), u"");
  EXPECT_TRUE(control->Enabled());
  EXPECT_EQ(Position(), kInitialPosition);
  EXPECT_EQ(control->entry().pick_state, PickState::kIdle);
  EXPECT_TRUE(host.log().empty());
  EXPECT_TRUE(observer.pictures.empty());
}

TEST_F(HostViewTest, APushedMoveRaisesChangeBeforeTheNotice) {
  std::u16string seen;
  host.SetHandler([&](EventId, std::span<const EventArg>) { seen = control->GetMove(); });
  control->PutMove(u"E2-E4");
  EXPECT_EQ(seen, u"E2-E4");
  EXPECT_EQ(host.log(), (Entries{ChangeEvent(), NoticeOf(u"PutMove")}));
}

TEST_F(HostViewTest, SameTextWritesSendTheNoticeButRunNothing) {
  control->PutMove(u"E2-E4");
  control->GetMove(u"x");
  control->PutPosition(u"bad");
  host.Clear();
  observer.Clear();
  const auto messages = forms.messages().size();
  control->PutMove(u"E2-E4");
  control->GetMove(u"x");
  control->PutPosition(u"bad");
  control->Enabled(true);
  EXPECT_EQ(host.log(), (Entries{NoticeOf(u"PutMove"), NoticeOf(u"GetMove"),
                                 NoticeOf(u"PutPosition"), NoticeOf(u"Enabled")}));
  EXPECT_EQ(forms.messages().size(), messages);
  EXPECT_TRUE(observer.pictures.empty());
}

TEST_F(HostViewTest, WritingGetMoveRaisesChangeOnceThenTheNotice) {
  control->GetMove(u"hello");
  EXPECT_EQ(control->GetMove(), u"hello");
  EXPECT_EQ(host.log(), (Entries{ChangeEvent(), NoticeOf(u"GetMove")}));
}

TEST_F(HostViewTest, APositionWriteNoticesAfterTheCellWasEmptied) {
  std::u16string at_notice = u"unset";
  RecordingHost recorder;
  host.SetHandler(nullptr);
  control->PutPosition(std::u16string(64, u'*'));
  EXPECT_EQ(host.log(), Entries{NoticeOf(u"PutPosition")});
  EXPECT_EQ(control->PutPosition(), u"");
  EXPECT_EQ(control->surface().PictureOf(1), Picture::kNone) << "repainted before returning";
}

TEST_F(HostViewTest, EnabledIsTheSurfacesStateAndBlocksInput) {
  control->Enabled(false);
  EXPECT_FALSE(control->Enabled());
  EXPECT_EQ(observer.enabled, 1);
  EXPECT_EQ(host.log(), Entries{NoticeOf(u"Enabled")});
  host.Clear();
  Click(u"E2");
  std::int16_t key = 65;
  control->SurfaceKeyPress(key);
  control->SurfaceClick();
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_TRUE(host.log().empty());
  control->Enabled(true);
  Click(u"E2");
  EXPECT_EQ(control->entry_state(), EntryState::kPicked);
}

TEST_F(HostViewTest, RefreshRepaintsWithoutRebuildingPictures) {
  Click(u"E2");  // E2 now shows nothing while the board still holds its pawn
  observer.Clear();
  control->Refresh();
  EXPECT_EQ(forms.repaints(), 1);
  EXPECT_TRUE(observer.pictures.empty());
  EXPECT_EQ(PictureAt(u"E2"), Picture::kNone);
}

TEST_F(HostViewTest, ForwardersPassTheSurfacesOwnStorage) {
  host.SetHandler([](EventId id, std::span<const EventArg> args) {
    if (id == EventId::kKeyPress) *std::get<std::int16_t*>(args[0]) = 0;
    if (id == EventId::kMouseDown) *std::get<float*>(args[3]) = 1.5f;
    if (id == EventId::kKeyDown) *std::get<std::int16_t*>(args[1]) = 4;
  });
  std::int16_t key_ascii = 97;
  control->SurfaceKeyPress(key_ascii);
  EXPECT_EQ(key_ascii, 0);
  std::int16_t button = 1, shift = 2;
  float x = 100, y = 200;
  control->SurfaceMouseDown(button, shift, x, y);
  EXPECT_EQ(y, 1.5f);
  std::int16_t key_code = 37;
  control->SurfaceKeyDown(key_code, shift);
  EXPECT_EQ(shift, 4);
  control->SurfaceClick();
  control->SurfaceDblClick();
  control->SurfaceKeyUp(key_code, shift);
  control->SurfaceMouseMove(button, shift, x, y);
  control->SurfaceMouseUp(button, shift, x, y);
  const Entries expected{
      RecordingHost::Event{EventId::kKeyPress, {97}},
      RecordingHost::Event{EventId::kMouseDown, {1, 2, 100, 200}},
      RecordingHost::Event{EventId::kKeyDown, {37, 2}},
      RecordingHost::Event{EventId::kClick, {}},
      RecordingHost::Event{EventId::kDblClick, {}},
      RecordingHost::Event{EventId::kKeyUp, {37, 4}},
      RecordingHost::Event{EventId::kMouseMove, {1, 4, 100, 1.5}},
      RecordingHost::Event{EventId::kMouseUp, {1, 4, 100, 1.5}},
  };
  EXPECT_EQ(host.log(), expected);
}

TEST_F(HostViewTest, HostWritesFromInsideChangeRunNestedAndComplete) {
  host.SetHandler([&](EventId id, std::span<const EventArg>) {
    if (id == EventId::kChange && control->GetMove() == u"E2-E4") control->PutMove(u"E7-E5");
  });
  control->PutMove(u"E2-E4");
  EXPECT_EQ(CellAt(u"E5"), u'p');
  EXPECT_EQ(control->GetMove(), u"E7-E5");
  EXPECT_EQ(host.log(),
            (Entries{ChangeEvent(), ChangeEvent(), NoticeOf(u"PutMove"), NoticeOf(u"PutMove")}));
}

TEST(LifetimeTest, AHostThatLetsGoInsideAnEventDoesNotPullTheControlAway) {
  // Called through a plain pointer, so only the control's own reference keeps it alive.
  const std::vector<std::function<void(BoardControl&)>> calls = {
      [](BoardControl& c) { c.PutMove(u"E2-E4"); },
      [](BoardControl& c) { c.GetMove(u"x"); },
      [](BoardControl& c) { c.ClickSquare(13); },
      [](BoardControl& c) {
        std::int16_t key = 65;
        c.SurfaceKeyPress(key);
      },
  };
  for (const auto& call : calls) {
    HeadlessForms forms;
    RecordingHost host;
    std::shared_ptr<BoardControl> control = BoardControl::Create(forms, host);
    BoardControl* raw = control.get();
    const std::weak_ptr<BoardControl> watch = control;
    host.SetHandler([&](EventId, std::span<const EventArg>) { control.reset(); });
    call(*raw);
    EXPECT_TRUE(watch.expired());
    EXPECT_FALSE(host.log().empty());
  }
}

TEST(LifetimeTest, CoOwnedPortsOutliveAFrontEndThatGoesDuringThePrompt) {
  auto forms = std::make_shared<HeadlessForms>();
  auto host = std::make_shared<RecordingHost>();
  std::shared_ptr<BoardControl> control = BoardControl::Create(forms, host);
  forms->Attach(control);
  control->PutPosition(Rows({u"****K***", u"********", u"********", u"********", u"********",
                             u"********", u"P*******", u"****k***"}));
  const std::weak_ptr<HeadlessForms> forms_watch = forms;
  const std::weak_ptr<RecordingHost> host_watch = host;
  const std::weak_ptr<BoardControl> control_watch = control;
  bool alive_inside = false;
  // The front end lets go of everything from inside the wait, as a widget deleted there would.
  forms->Queue([&](BoardControl&) {
    forms.reset();
    host.reset();
    control.reset();
    alive_inside = !forms_watch.expired() && !host_watch.expired();
  });
  BoardControl& raw = *control;
  raw.ClickSquare(49);  // A7
  raw.ClickSquare(57);  // A8: the prompt waits
  EXPECT_TRUE(alive_inside);
  EXPECT_TRUE(control_watch.expired());
  EXPECT_TRUE(forms_watch.expired());
  EXPECT_TRUE(host_watch.expired());
}

class FailingHost : public RecordingHost {
 public:
  void PropertyChanged(std::u16string_view) override {
    throw Failure(Failure::kPlatform, "notice refused");
  }
  void RaiseEvent(EventId id, std::span<const EventArg> args) override {
    if (fail_events) throw Failure(Failure::kPlatform, "event refused");
    RecordingHost::RaiseEvent(id, args);
  }
  bool fail_events = false;
};

TEST(FailureTest, APortFailureEndsTheMemberAndReachesTheCaller) {
  HeadlessForms forms;
  FailingHost host;
  auto control = BoardControl::Create(forms, host);
  EXPECT_THROW(control->PutMove(u"E2-E4"), Failure);
  EXPECT_EQ(control->GetMove(), u"E2-E4") << "the cell was set before the notice failed";
  host.fail_events = true;
  try {
    control->PutMove(u"D2-D4");
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "event refused");
  }
  EXPECT_EQ(control->board().Cell({4, 4}), u'P') << "nothing is rolled back";
}

// Loading and saving the four properties.
using BagTest = ControlFixture;

TEST_F(BagTest, OnlyASavedMoveReplaysItOnTheInitialPosition) {
  MemoryBag bag;
  bag.Set(u"PutMove", std::u16string(u"E2-E4"));
  control->LoadProperties(bag);
  EXPECT_EQ(CellAt(u"E4"), u'P');
  EXPECT_EQ(control->GetMove(), u"E2-E4");
  EXPECT_EQ(host.log(), Entries{ChangeEvent()}) << "no notices while loading";
  EXPECT_EQ(bag.reads(),
            (std::vector<std::u16string>{u"Enabled", u"GetMove", u"PutMove", u"PutPosition"}));
}

TEST_F(BagTest, AllThreeTextsApplyInOrderAndThePositionDecides) {
  const std::u16string position(64, u'*');
  MemoryBag bag;
  bag.Set(u"Enabled", false);
  bag.Set(u"GetMove", std::u16string(u"A1"));
  bag.Set(u"PutMove", std::u16string(u"E2-E4"));
  bag.Set(u"PutPosition", position);
  std::vector<std::u16string> seen;
  host.SetHandler([&](EventId, std::span<const EventArg>) { seen.push_back(control->GetMove()); });
  control->LoadProperties(bag);
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"A1", u"E2-E4"}));
  EXPECT_EQ(Position(), position);
  EXPECT_FALSE(control->Enabled());

  MemoryBag saved;
  control->SaveProperties(saved);
  EXPECT_EQ(saved.values(), (std::vector<std::pair<std::u16string, PropertyValue>>{
                                {u"Enabled", false},
                                {u"GetMove", std::u16string(u"E2-E4")},
                                {u"PutMove", std::u16string(u"E2-E4")},
                                {u"PutPosition", std::u16string()}}));
}

TEST_F(BagTest, NoKeysChangesNothing) {
  MemoryBag bag;
  control->LoadProperties(bag);
  EXPECT_TRUE(control->Enabled());
  EXPECT_TRUE(host.log().empty());
  EXPECT_TRUE(observer.pictures.empty());
}

TEST_F(BagTest, AValueThatCannotBeConvertedEndsTheLoadThere) {
  struct Case {
    const char* key;
    PropertyValue bad;
    bool enabled_after;
    std::u16string get_move_after;
  };
  const Case cases[] = {
      {"Enabled", std::u16string(u"maybe"), true, u""},
      {"GetMove", std::monostate{}, false, u""},
      {"PutMove", std::monostate{}, false, u"A1"},
  };
  for (const Case& c : cases) {
    auto fresh = BoardControl::Create(forms, host);
    MemoryBag bag;
    bag.Set(u"Enabled", false);
    bag.Set(u"GetMove", std::u16string(u"A1"));
    bag.Set(u"PutMove", std::u16string(u"E2-E4"));
    bag.Set(u"PutPosition", std::u16string(64, u'*'));
    const std::string key = c.key;
    bag.Set(std::u16string(key.begin(), key.end()), c.bad);
    EXPECT_THROW(fresh->LoadProperties(bag), Failure) << key;
    EXPECT_EQ(fresh->Enabled(), c.enabled_after) << key;
    EXPECT_EQ(fresh->GetMove(), c.get_move_after) << key;
    EXPECT_EQ(fresh->board(), Board::Initial()) << key;
    EXPECT_EQ(bag.reads().back(), std::u16string(key.begin(), key.end())) << "nothing read after";
  }
}

TEST_F(BagTest, ValuesOfOtherKindsAreConverted) {
  MemoryBag bag;
  bag.Set(u"Enabled", std::u16string(u"0"));
  bag.Set(u"GetMove", 12.5);
  bag.Set(u"PutMove", true);
  control->LoadProperties(bag);
  EXPECT_FALSE(control->Enabled());
  EXPECT_EQ(control->GetMove(), u"12.5");
  EXPECT_EQ(control->PutMove(), u"True");
}

}  // namespace
}  // namespace velmora::testing
