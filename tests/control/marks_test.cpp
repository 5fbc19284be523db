// A ChessBoard's marks: the host's and the person's, the right button, MarksChanged, and what
// assistive technology hears of them.
#include <gtest/gtest.h>

#include "control/accessible_model.h"
#include "control/pointer_input.h"
#include "tests/support/control_fixture.h"
#include "view/accessible_parts.h"

namespace velmora::testing {
namespace {

const PixelGrid kGrid(DeviceScale::Times(1));

std::int16_t Number(std::u16string_view name) {
  return SquareNumber(*ParseSquareName(name[0], name[1]));
}

PointerPoint Centre(std::u16string_view name, std::int16_t shift, std::int16_t held) {
  const PixelBox box = kGrid.BoxOf(*FindControl({ControlName::kSquarePicture, Number(name)}));
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2, shift, held};
}

// One gesture: a button pressed on a square and released on a square ("" off the board).
struct Gesture {
  PointerButton button;
  std::u16string_view press, release;
  std::int16_t shift = 0;
};

struct GestureCase {
  std::string what;
  std::u16string user_marks_before;
  Gesture gesture;
  std::u16string user_marks_after;
  int marks_changed;            // MarksChanged events raised
  std::u16string announcement;  // what was announced; empty for nothing
};

class RightButton : public ChessBoardFixture, public ::testing::WithParamInterface<GestureCase> {
 protected:
  void Perform(const Gesture& g) {
    const auto held = static_cast<std::int16_t>(g.button);
    input.Press(*control, kGrid, g.button, false, Centre(g.press, g.shift, held));
    const PointerPoint end =
        g.release.empty() ? PointerPoint{2, 2, g.shift, 0} : Centre(g.release, g.shift, 0);
    input.Move(*control, kGrid, {end.x, end.y, g.shift, held});
    input.Release(*control, kGrid, g.button, end);
  }
  PointerInput input;
};

TEST_P(RightButton, DrawsTakesAwayAndClears) {
  const GestureCase& c = GetParam();
  ASSERT_FALSE(control->UserMarks(c.user_marks_before));
  host.Clear();
  observer.Clear();
  Perform(c.gesture);
  EXPECT_EQ(control->UserMarks(), c.user_marks_after);
  EXPECT_EQ(host.CountEvents(EventId::kMarksChanged), c.marks_changed);
  if (c.announcement.empty()) {
    EXPECT_TRUE(observer.announcements.empty());
  } else {
    ASSERT_FALSE(observer.announcements.empty());
    EXPECT_EQ(AnnouncementWords(observer.announcements.back()), c.announcement);
  }
}

constexpr auto kR = PointerButton::kRight;
constexpr auto kL = PointerButton::kLeft;

INSTANTIATE_TEST_SUITE_P(
    Gestures, RightButton,
    ::testing::Values(
        GestureCase{
            "click draws a green circle", u"", {kR, u"D5", u"D5"}, u"Gd5", 1, u"D5 marked green"},
        GestureCase{"shift draws red", u"", {kR, u"D5", u"D5", 1}, u"Rd5", 1, u"D5 marked red"},
        GestureCase{
            "ctrl draws yellow", u"", {kR, u"D5", u"D5", 2}, u"Yd5", 1, u"D5 marked yellow"},
        GestureCase{"alt draws blue", u"", {kR, u"D5", u"D5", 4}, u"Bd5", 1, u"D5 marked blue"},
        GestureCase{"drag draws an arrow",
                    u"Gd5",
                    {kR, u"G1", u"F3"},
                    u"Gd5 Gg1f3",
                    1,
                    u"arrow G1 to F3, green"},
        GestureCase{"the same circle again takes it away",
                    u"Gd5 Re4",
                    {kR, u"D5", u"D5"},
                    u"Re4",
                    1,
                    u"D5 unmarked"},
        GestureCase{"the same arrow again takes it away",
                    u"Gg1f3",
                    {kR, u"G1", u"F3"},
                    u"",
                    1,
                    u"arrow G1 to F3, green, removed"},
        GestureCase{
            "another colour recolours", u"Gd5", {kR, u"D5", u"D5", 1}, u"Rd5", 1, u"D5 marked red"},
        GestureCase{"off the board draws nothing", u"Gd5", {kR, u"D5", u""}, u"Gd5", 0, u""},
        GestureCase{
            "a left click clears", u"Gd5 Gg1f3", {kL, u"A3", u"A3"}, u"", 1, u"marks cleared"},
        GestureCase{"a left click with nothing to clear", u"", {kL, u"A3", u"A3"}, u"", 0, u""},
        GestureCase{
            "a shifted left click keeps them", u"Gd5", {kL, u"A3", u"A3", 1}, u"Gd5", 0, u""}),
    CaseName<GestureCase>);

TEST_F(ChessBoardFixture, TheHostsWritesRaiseNoMarksChangedAndShowHostMarksFirst) {
  ASSERT_FALSE(control->UserMarks(u"Rd5"));
  ASSERT_FALSE(control->Marks(u"gg1f3,Be4"));
  EXPECT_EQ(host.CountEvents(EventId::kMarksChanged), 0);
  EXPECT_EQ(host.log(), (Entries{NoticeOf(u"UserMarks"), NoticeOf(u"Marks")}));
  const std::span<const SquareMark> shown = control->surface().Marks();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], (SquareMark{MarkColour::kGreen, {1, 7}, Square{3, 6}}));
  EXPECT_EQ(shown[2], (SquareMark{MarkColour::kRed, {5, 4}, std::nullopt}));
  // A refused text changes nothing on the surface either.
  EXPECT_TRUE(control->Marks(u"Gd5 Xe4"));
  EXPECT_EQ(control->surface().Marks().size(), 3u);
}

TEST_F(ChessBoardFixture, APersonsMarkShowsInPlaceOfTheHostsOnTheSameSquares) {
  ASSERT_FALSE(control->Marks(u"Gd4 Bg1f3"));
  ASSERT_FALSE(control->UserMarks(u"Ye5 Rg1f3"));
  EXPECT_EQ(SquareMarksText(control->surface().Marks()), u"Gd4 Rg1f3 Ye5");
  EXPECT_EQ(control->Marks(), u"Gd4 Bg1f3");
}

TEST_F(ChessBoardFixture, MarksChangeOnlyTheirSquaresAndNamesAndAreReadAloud) {
  ASSERT_FALSE(control->Marks(u"Rd5 Gg1f3"));
  // The circle's square is reported as its picture and its name; the arrow as the pictures of
  // every square it may cross, and the move display's name, which lists it.
  EXPECT_EQ(observer.pictures,
            (std::vector<std::int16_t>{Number(u"D5"), Number(u"F1"), Number(u"G1"), Number(u"F2"),
                                       Number(u"G2"), Number(u"F3"), Number(u"G3")}));
  EXPECT_EQ(observer.names, (std::vector<std::int16_t>{Number(u"D5"), kMoveDisplayPart}));
  EXPECT_EQ(DescribePart(*control, Number(u"D5"))->name, u"D5, empty, marked red");
  EXPECT_EQ(DescribePart(*control, Number(u"G1"))->name, u"G1, white knight");
  EXPECT_EQ(DescribePart(*control, kMoveDisplayPart)->description, u"arrow G1 to F3, green");
  observer.Clear();
  ASSERT_FALSE(control->Marks(u"Rd5"));
  EXPECT_EQ(observer.names, (std::vector<std::int16_t>{kMoveDisplayPart}));
  EXPECT_EQ(DescribePart(*control, kMoveDisplayPart)->description, u"");
}

TEST_F(ControlFixture, AUserControl1sRightButtonDrawsNothing) {
  PointerInput input;
  input.Press(*control, kGrid, kR, false, Centre(u"D5", 0, 2));
  input.Release(*control, kGrid, kR, Centre(u"D5", 0, 0));
  control->DrawUserMark({MarkColour::kGreen, {5, 4}, std::nullopt});
  EXPECT_TRUE(control->surface().Marks().empty());
  EXPECT_TRUE(host.log().empty());
}

}  // namespace
}  // namespace velmora::testing
