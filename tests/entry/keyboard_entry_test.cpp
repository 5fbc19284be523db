// Moves entered from the keyboard, and the focus the keys move.
#include "entry/keyboard_entry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/control_fixture.h"
#include "view/accessible_parts.h"
#include "view/display_list.h"

namespace velmora::testing {
namespace {

using Kind = KeyAction::Kind;
constexpr std::int16_t kCtrl = shift_bits::kCtrl;
constexpr std::int16_t kShift = shift_bits::kShift;

std::int16_t N(std::u16string_view name) {
  return SquareNumber(*ParseSquareName(name[0], name[1]));
}

TEST(BoardKeyActionTest, MovesAsDrawnStopsAtEdgesAndIgnoresOtherCombinations) {
  struct Case {
    std::u16string_view at;
    std::int16_t key, shift;
    KeyAction expected;
  };
  const Case cases[] = {
      {u"E2", keys::kUp, 0, {Kind::kFocus, N(u"E3")}},
      {u"E2", keys::kDown, 0, {Kind::kFocus, N(u"E1")}},
      {u"E2", keys::kLeft, 0, {Kind::kFocus, N(u"D2")}},
      {u"E2", keys::kRight, 0, {Kind::kFocus, N(u"F2")}},
      {u"E8", keys::kUp, 0, {Kind::kFocus, N(u"E8")}},
      {u"C1", keys::kDown, 0, {Kind::kFocus, N(u"C1")}},
      {u"A4", keys::kLeft, 0, {Kind::kFocus, N(u"A4")}},
      {u"H1", keys::kRight, 0, {Kind::kFocus, N(u"H1")}},
      {u"E5", keys::kHome, 0, {Kind::kFocus, N(u"A5")}},
      {u"E5", keys::kEnd, 0, {Kind::kFocus, N(u"H5")}},
      {u"C3", keys::kPageUp, 0, {Kind::kFocus, N(u"C8")}},
      {u"C3", keys::kPageDown, 0, {Kind::kFocus, N(u"C1")}},
      {u"C3", keys::kHome, kCtrl, {Kind::kFocus, N(u"A8")}},
      {u"C3", keys::kEnd, kCtrl, {Kind::kFocus, N(u"H1")}},
      {u"C3", keys::kSpace, 0, {Kind::kClick, N(u"C3")}},
      {u"C3", keys::kEnter, 0, {Kind::kClick, N(u"C3")}},
      {u"C3", keys::kLeft, kShift, {}},
      {u"C3", keys::kLeft, kCtrl, {}},
      {u"C3", keys::kHome, kCtrl | kShift, {}},
      {u"C3", keys::kSpace, shift_bits::kAlt, {}},
      {u"C3", keys::kEnter, kShift, {}},
      {u"C3", u'Q', 0, {}},
      {u"C3", 0x09, 0, {}},  // Tab belongs to the container
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BoardKeyAction(N(c.at), c.key, c.shift), c.expected)
        << std::string(c.at.begin(), c.at.end()) << " key " << c.key << " shift " << c.shift;
  }
}

TEST(BoardKeyActionTest, ATurnedBoardReadsTheKeysAsDrawn) {
  struct Case {
    std::u16string_view at;
    std::int16_t key, shift;
    std::u16string_view white, black;  // where the focus goes with each side at the bottom
  };
  const Case cases[] = {
      {u"E2", keys::kUp, 0, u"E3", u"E1"},       {u"E2", keys::kDown, 0, u"E1", u"E3"},
      {u"E2", keys::kLeft, 0, u"D2", u"F2"},     {u"E2", keys::kRight, 0, u"F2", u"D2"},
      {u"E1", keys::kUp, 0, u"E2", u"E1"},       {u"H4", keys::kLeft, 0, u"G4", u"H4"},
      {u"E5", keys::kHome, 0, u"A5", u"H5"},     {u"E5", keys::kEnd, 0, u"H5", u"A5"},
      {u"C3", keys::kPageUp, 0, u"C8", u"C1"},   {u"C3", keys::kPageDown, 0, u"C1", u"C8"},
      {u"C3", keys::kHome, kCtrl, u"A8", u"H1"}, {u"C3", keys::kEnd, kCtrl, u"H1", u"A8"},
      {u"C3", keys::kSpace, 0, u"C3", u"C3"},
  };
  for (const Case& c : cases) {
    const std::string what = std::string(c.at.begin(), c.at.end()) + " key " +
                             std::to_string(c.key) + " shift " + std::to_string(c.shift);
    const KeyAction white =
        TurnedBoardKeyAction(N(c.at), c.key, c.shift, BoardOrientation::kWhiteAtBottom);
    const KeyAction black =
        TurnedBoardKeyAction(N(c.at), c.key, c.shift, BoardOrientation::kBlackAtBottom);
    EXPECT_EQ(white, BoardKeyAction(N(c.at), c.key, c.shift)) << what;
    EXPECT_EQ(white.target, N(c.white)) << what;
    EXPECT_EQ(black.kind, white.kind) << what;
    EXPECT_EQ(black.target, N(c.black)) << what;
  }
  EXPECT_EQ(TurnedBoardKeyAction(N(u"C3"), u'Q', 0, BoardOrientation::kBlackAtBottom), KeyAction{});
}

TEST(PromptKeyActionTest, StepsThroughFourChoicesAndTakesLettersEitherCase) {
  struct Case {
    std::int16_t at, key, shift;
    KeyAction expected;
  };
  const Case cases[] = {
      {0, keys::kDown, 0, {Kind::kFocus, 1}},
      {0, keys::kRight, 0, {Kind::kFocus, 1}},
      {0, keys::kUp, 0, {Kind::kFocus, 0}},
      {2, keys::kLeft, 0, {Kind::kFocus, 1}},
      {3, keys::kDown, 0, {Kind::kFocus, 3}},
      {2, keys::kSpace, 0, {Kind::kClick, 2}},
      {1, keys::kEnter, 0, {Kind::kClick, 1}},
      {0, u'Q', 0, {Kind::kChoose, 0}},
      {0, u'R', kShift, {Kind::kChoose, 1}},
      {3, u'B', 0, {Kind::kChoose, 2}},
      {0, u'N', 0, {Kind::kChoose, 3}},
      {0, u'Q', kCtrl, {}},
      {0, u'K', 0, {}},
      {0, keys::kHome, 0, {}},
      {0, keys::kDown, kShift, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PromptKeyAction(c.at, c.key, c.shift), c.expected)
        << "at " << c.at << " key " << c.key << " shift " << c.shift;
  }
}

class KeyboardTest : public ControlFixture {
 protected:
  KeyboardTest() {
    control->SurfaceFocus(true);
    observer.Clear();
  }

  // A key as a person presses it: down, then up.
  bool Press(std::int16_t key, std::int16_t shift = 0) {
    std::int16_t code = key, down_shift = shift;
    const bool acted = control->SurfaceKeyDown(code, down_shift);
    code = key;
    std::int16_t up_shift = shift;
    control->SurfaceKeyUp(code, up_shift);
    return acted;
  }
  void QueueKey(std::int16_t key) {
    forms.Queue([this, key](BoardControl&) { Press(key); });
  }
  // Arrow presses that bring the focus square from where it is to `name`.
  void Walk(std::u16string_view name) {
    const Square to = *ParseSquareName(name[0], name[1]);
    Square at = SquareOf(control->focus().Square());
    for (; at.col < to.col; ++at.col) Press(keys::kRight);
    for (; at.col > to.col; --at.col) Press(keys::kLeft);
    for (; at.row < to.row; ++at.row) Press(keys::kUp);
    for (; at.row > to.row; --at.row) Press(keys::kDown);
  }
  void KeyMove(std::u16string_view from, std::u16string_view to) {
    Walk(from);
    Press(keys::kSpace);
    Walk(to);
    Press(keys::kEnter);
  }
  // The mark is the one rectangle drawn for a picture.
  bool MarkDrawn() const {
    const DisplayList list = BuildDisplayList(control->surface(), control->GetMove());
    return std::any_of(list.begin(), list.end(), [](const PaintCommand& c) {
      return c.kind == PaintKind::kRectangle && (c.source.name == ControlName::kSquarePicture ||
                                                 c.source.name == ControlName::kChoice);
    });
  }
};

TEST_F(KeyboardTest, AHostThatZeroesKeyCodeTakesTheKey) {
  host.SetHandler([](EventId id, std::span<const EventArg> args) {
    if (id == EventId::kKeyDown) *std::get<std::int16_t*>(args[0]) = 0;
  });
  EXPECT_FALSE(Press(keys::kUp));
  EXPECT_FALSE(Press(keys::kSpace));
  EXPECT_EQ(control->focus().Square(), 1);
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_EQ(host.CountEvents(EventId::kKeyDown), 2) << "the host still hears every key";
}

TEST_F(KeyboardTest, AHostThatRewritesKeyCodeChangesWhatTheControlDoes) {
  host.SetHandler([](EventId id, std::span<const EventArg> args) {
    if (id == EventId::kKeyDown) *std::get<std::int16_t*>(args[0]) = keys::kPageUp;
  });
  EXPECT_TRUE(Press(keys::kLeft));
  EXPECT_EQ(control->focus().Square(), N(u"A8"));
}

TEST_F(KeyboardTest, ADisabledControlIgnoresKeys) {
  control->Enabled(false);
  host.Clear();
  EXPECT_FALSE(Press(keys::kUp));
  EXPECT_FALSE(Press(keys::kSpace));
  EXPECT_EQ(control->focus().Square(), 1);
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_TRUE(host.log().empty());
}

TEST_F(KeyboardTest, AHandlerThatDisablesTheControlStopsItsOwnKey) {
  host.SetHandler([this](EventId id, std::span<const EventArg>) {
    if (id == EventId::kKeyDown) control->Enabled(false);
  });
  EXPECT_FALSE(Press(keys::kUp));
  EXPECT_EQ(control->focus().Square(), 1);
}

TEST_F(KeyboardTest, AHeldSpaceClicksOnceUntilItIsReleased) {
  Walk(u"E2");
  std::int16_t code = keys::kSpace, shift = 0;
  EXPECT_TRUE(control->SurfaceKeyDown(code, shift));
  code = keys::kSpace;
  EXPECT_FALSE(control->SurfaceKeyDown(code, shift)) << "auto-repeat";
  EXPECT_EQ(control->entry_state(), EntryState::kPicked);
  EXPECT_EQ(control->GetMove(), u"E2");
  code = keys::kSpace;
  control->SurfaceKeyUp(code, shift);
  EXPECT_TRUE(Press(keys::kSpace));
  EXPECT_EQ(control->GetMove(), u"E2-E2");
}

TEST_F(KeyboardTest, LosingTheFocusForgetsAHeldKey) {
  // A message box takes the focus, and with it the key's release.
  Walk(u"E4");
  std::int16_t code = keys::kSpace, shift = 0;
  control->SurfaceKeyDown(code, shift);
  control->SurfaceFocus(false);
  control->SurfaceFocus(true);
  code = keys::kSpace;
  EXPECT_TRUE(control->SurfaceKeyDown(code, shift));
  EXPECT_EQ(forms.messages().size(), 2u);
}

TEST_F(KeyboardTest, TheMarkShowsOnlyWithTheFocusAfterANavigationKey) {
  EXPECT_FALSE(MarkDrawn()) << "a new control";
  Press(keys::kUp);
  ASSERT_TRUE(MarkDrawn());
  const DisplayList list = BuildDisplayList(control->surface(), control->GetMove());
  EXPECT_EQ(list.back().source, (ControlRef{ControlName::kSquarePicture, N(u"A2")}));
  EXPECT_EQ(list.back().line, colours::kWindowText);
  control->SurfaceFocus(false);
  EXPECT_FALSE(MarkDrawn());
  control->SurfaceFocus(true);
  EXPECT_TRUE(MarkDrawn()) << "the keys were used since the last click";
  Click(u"E2");
  EXPECT_FALSE(MarkDrawn());
  EXPECT_EQ(control->focus().Square(), N(u"E2")) << "the mouse moves the focus square";
  Press(keys::kUp);
  EXPECT_EQ(control->focus().Square(), N(u"E3"));
  EXPECT_TRUE(MarkDrawn());
}

TEST_F(KeyboardTest, MouseOnlyUseNeverDrawsTheMark) {
  Click(u"B1");
  Click(u"C3");
  control->SurfaceFocus(false);
  control->SurfaceFocus(true);
  Click(u"C3");
  Click(u"B1");
  EXPECT_FALSE(MarkDrawn());
  EXPECT_EQ(control->surface().FocusMark(), 0);
}

class KeyboardPromotionTest : public KeyboardTest {
 protected:
  void SetUp() override {
    Load(Rows({u"****K***", u"*p******", u"********", u"********", u"********", u"********",
               u"*P******", u"****k***"}));
  }
};

TEST_F(KeyboardPromotionTest, ArrowsMoveAmongTheChoicesAndSpaceChooses) {
  std::vector<std::int16_t> parts;
  host.SetHandler([&](EventId id, std::span<const EventArg>) {
    if (id == EventId::kKeyDown) parts.push_back(control->focus().Part());
  });
  QueueKey(keys::kDown);
  QueueKey(keys::kDown);
  QueueKey(keys::kUp);
  QueueKey(keys::kSpace);
  KeyMove(u"B7", u"B8");
  EXPECT_EQ(CellAt(u"B8"), u'R');
  EXPECT_EQ(control->focus().Part(), N(u"B8")) << "back on the square once the prompt closed";
  // The prompt opened on Enter over B8: the focus was on 66 for the first queued key.
  ASSERT_GE(parts.size(), 4u);
  EXPECT_EQ(std::vector<std::int16_t>(parts.end() - 4, parts.end()),
            (std::vector<std::int16_t>{66, 67, 68, 67}));
}

TEST_F(KeyboardPromotionTest, BoardKeysDoNothingWhileThePromptWaits) {
  QueueKey(keys::kHome);
  QueueKey(keys::kPageUp);
  QueueKey(u'Q');
  KeyMove(u"B7", u"B8");
  EXPECT_EQ(CellAt(u"B8"), u'Q');
  EXPECT_EQ(control->focus().Square(), N(u"B8"));
}

}  // namespace
}  // namespace velmora::testing
