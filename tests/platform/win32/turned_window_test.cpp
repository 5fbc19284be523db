// A ChessBoard in the real window turned to black's side, and its last-move tint and check
// glow. Where a turned square is drawn and what a point or key means are the core's (tested
// there); here: that the window hands the core its points and keys as they come, and paints
// what the core's display list holds, turned and highlighted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/square.h"
#include "view/accessible_parts.h"
#include "view/display_list.h"
#include "view/highlight.h"
#include "window_fixture.h"

namespace velmora::testing {
namespace {

constexpr std::int16_t kE1 = 5, kG1 = 7, kE2 = 13, kD3 = 20, kE3 = 21, kF3 = 22, kE4 = 29, kD5 = 36,
                       kD6 = 44, kD7 = 52, kD8 = 60;

// Turning is a half turn: with black at the bottom, square n is drawn where square 65 - n is
// drawn with white at the bottom.
constexpr std::int16_t HalfTurned(std::int16_t n) {
  return static_cast<std::int16_t>(65 - n);
}

std::int16_t SquareNamed(std::u16string_view name) {
  return SquareNumber(*ParseSquareName(name[0], name[1]));
}

class TurnedWindowTest : public ChessBoardSurfaceTest {
 protected:
  void Turn() {
    ASSERT_FALSE(control_->Orientation(1));
    UpdateWindow(window_->hwnd());
  }
  // The middle of where square n is drawn on the turned board.
  POINT DrawnCentre(std::int16_t n) const { return SquareCentre(HalfTurned(n)); }
};

// A region's ink: where its pixels are unlike the first one of their row (so a line across the
// whole region is no ink), cropped to their bounding box. The same text in boxes of the same
// size gives the same ink wherever the boxes lie, in whatever colours.
struct Ink {
  int width = 0;
  int height = 0;
  std::vector<bool> marked;
  friend bool operator==(const Ink&, const Ink&) = default;
};

Ink InkIn(const Capture& capture, const PixelBox& region) {
  const auto marked = [&](int x, int y) { return capture.At(x, y) != capture.At(region.left, y); };
  PixelBox ink{region.right, region.bottom, region.left, region.top};
  for (int y = region.top; y < region.bottom; ++y) {
    for (int x = region.left; x < region.right; ++x) {
      if (!marked(x, y)) continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
             std::max(ink.bottom, y + 1)};
    }
  }
  Ink out;
  if (ink.right <= ink.left) return out;
  out.width = ink.width();
  out.height = ink.height();
  for (int y = ink.top; y < ink.bottom; ++y) {
    for (int x = ink.left; x < ink.right; ++x) out.marked.push_back(marked(x, y));
  }
  return out;
}

// The coordinates are left out here, so each square shows its piece alone.
TEST_F(TurnedWindowTest, IsPaintedFromBlacksSide) {
  ASSERT_FALSE(control_->Coordinates(static_cast<std::int32_t>(Coordinates::kNone)));
  Turn();
  const Capture black_below = CaptureClient(window_->hwnd());
  black_below.SaveBmp(ScreenPath(L"surface-turned" + DpiSuffix() + L".bmp"));
  const PixelGrid& grid = window_->grid();
  const Surface& surface = control_->surface();
  EXPECT_EQ(WrongSquarePixels(black_below, grid, HalfTurned(kE2), Picture::kWhitePawn, surface), 0);
  EXPECT_EQ(WrongSquarePixels(black_below, grid, HalfTurned(kE1), Picture::kWhiteKing, surface), 0);
  EXPECT_EQ(WrongSquarePixels(black_below, grid, HalfTurned(kD8), Picture::kBlackQueen, surface),
            0);
  EXPECT_EQ(WrongSquarePixels(black_below, grid, HalfTurned(kE4), Picture::kNone, surface), 0);
}

// The digits read 1 to 8 from the top and the letters H to A from the left: each label shows
// what the one opposite showed before the turn. Read on an empty board, so no piece shares the
// squares' corners with them.
TEST_F(TurnedWindowTest, ItsCoordinatesReadFromBlacksSide) {
  control_->PutPosition(std::u16string(64, u'*'));
  UpdateWindow(window_->hwnd());
  const Capture white_below = CaptureClient(window_->hwnd());
  Turn();
  const Capture black_below = CaptureClient(window_->hwnd());
  // The labels' boxes, in the order they are drawn: column k's letter, then row k's digit.
  std::vector<PixelBox> labels;
  for (const PaintCommand& command : BuildDisplayList(control_->surface(), u"")) {
    if (command.kind == PaintKind::kText && command.source.name == ControlName::kSquarePicture) {
      labels.push_back(window_->grid().BoxOf(command.source, command.rect));
    }
  }
  ASSERT_EQ(labels.size(), 16u);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const std::size_t opposite = 2 * (7 - i / 2) + i % 2;
    const Ink turned = InkIn(black_below, labels[i]);
    EXPECT_GT(turned.width, 0) << "label " << i;
    EXPECT_EQ(turned, InkIn(white_below, labels[opposite])) << "label " << i;
  }
}

// One way of entering a move on the turned board, from the initial position with the focus on
// A1: clicks where squares are drawn, a left-button drag through where squares are drawn, or
// keys.
struct TurnedCase {
  const char* name;
  std::vector<std::int16_t> clicks{};
  std::vector<std::int16_t> drag{};
  std::vector<WPARAM> keys{};
  std::u16string move;
};

class TurnedEntryTest : public TurnedWindowTest,
                        public ::testing::WithParamInterface<TurnedCase> {};

TEST_P(TurnedEntryTest, LandsWhereTheSquaresAreDrawn) {
  const TurnedCase& c = GetParam();
  Turn();
  SetFocus(window_->hwnd());
  Pump();
  const std::int16_t from = SquareNamed(c.move.substr(0, 2));
  const std::int16_t to = SquareNamed(c.move.substr(3, 2));
  std::u16string expected = control_->board().PositionText();
  expected[static_cast<std::size_t>(to - 1)] = expected[static_cast<std::size_t>(from - 1)];
  expected[static_cast<std::size_t>(from - 1)] = u'*';

  for (const std::int16_t square : c.clicks) PostClick(DrawnCentre(square));
  if (!c.drag.empty()) {
    Post(WM_LBUTTONDOWN, MK_LBUTTON, DrawnCentre(c.drag.front()));
    for (auto square = c.drag.begin() + 1; square != c.drag.end(); ++square) {
      Post(WM_MOUSEMOVE, MK_LBUTTON, DrawnCentre(*square));
    }
    Post(WM_LBUTTONUP, 0, DrawnCentre(c.drag.back()));
  }
  Pump();
  if (!c.keys.empty()) Type(c.keys);

  EXPECT_EQ(control_->GetMove(), c.move);
  EXPECT_EQ(control_->board().PositionText(), expected);
  EXPECT_EQ(control_->entry_state(), EntryState::kIdle);
  EXPECT_TRUE(boxes_.boxes().empty());
}

// Turned, Left goes toward column H and Down toward row 8: from A1, four Lefts and a Down reach
// E2. The Up after the second Down comes back to E2 only if Up goes toward row 1; from E4 the
// Space would click an empty square and raise a message box.
INSTANTIATE_TEST_SUITE_P(
    Entries, TurnedEntryTest,
    ::testing::Values(
        TurnedCase{.name = "ClickPawnThenDestination", .clicks = {kE2, kE4}, .move = u"E2-E4"},
        TurnedCase{.name = "ClickKnightThenDestination", .clicks = {kG1, kF3}, .move = u"G1-F3"},
        TurnedCase{.name = "DragBlackPawn", .drag = {kD7, kD6, kD5}, .move = u"D7-D5"},
        TurnedCase{.name = "DragKnight", .drag = {kG1, kF3}, .move = u"G1-F3"},
        TurnedCase{.name = "KeysUpGoesTowardRowOne",
                   .keys = {VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT, VK_DOWN, VK_DOWN, VK_UP, VK_SPACE,
                            VK_DOWN, VK_DOWN, VK_RETURN},
                   .move = u"E2-E4"},
        TurnedCase{.name = "KeysHomeGoesToColumnH",
                   .keys = {VK_HOME, VK_DOWN, VK_SPACE, VK_DOWN, VK_DOWN, VK_RETURN},
                   .move = u"H2-H4"}),
    CaseName<TurnedCase>);

// The last move's two squares tinted and a glow on the check square, in the window's pixels,
// white or black at the bottom; both gone again when the host clears them.
class HighlightWindowTest : public ChessBoardSurfaceTest,
                            public ::testing::WithParamInterface<int> {
 protected:
  COLORREF Inside(const Capture& capture, std::int16_t n) const {
    const PixelBox box = *PartBox(control_->surface(), window_->grid(), n);
    const int in = 2 * ExpectedDpi() / 96;
    return capture.At(box.left + in, box.top + in);
  }
  Rgb Fill(std::int16_t n) const { return control_->surface().SquareFill(n); }
  COLORREF Middle(const Capture& capture, std::int16_t n) const {
    const PixelBox box = *PartBox(control_->surface(), window_->grid(), n);
    return capture.At((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  }
};

// Within two levels in every channel: GDI's blending rounds its own way.
::testing::AssertionResult Near(COLORREF got, Rgb expected) {
  if (std::abs(GetRValue(got) - expected.r) <= 2 && std::abs(GetGValue(got) - expected.g) <= 2 &&
      std::abs(GetBValue(got) - expected.b) <= 2) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << int(GetRValue(got)) << "," << int(GetGValue(got)) << "," << int(GetBValue(got))
         << " instead of " << int(expected.r) << "," << int(expected.g) << "," << int(expected.b);
}

TEST_P(HighlightWindowTest, TheTintAndTheGlowArePaintedAndCleared) {
  ASSERT_FALSE(control_->AnimationTime(0));  // the pictures show where pieces stand, not their way
  ASSERT_FALSE(control_->Orientation(GetParam()));
  UpdateWindow(window_->hwnd());
  // G1 is dark and empty after the move, F3 light with the knight on it; D5 is an empty light
  // square, where the glow shows whole.
  control_->PutMove(u"G1-F3");
  ASSERT_FALSE(control_->CheckSquare(u"D5"));
  UpdateWindow(window_->hwnd());
  const Capture shown = CaptureClient(window_->hwnd());
  shown.SaveBmp(
      ScreenPath(L"surface-highlights-" + std::to_wstring(GetParam()) + DpiSuffix() + L".bmp"));
  EXPECT_TRUE(Near(Inside(shown, kG1), LastMoveColour(Fill(kG1))));
  EXPECT_TRUE(Near(Middle(shown, kG1), LastMoveColour(Fill(kG1))));
  EXPECT_TRUE(Near(Inside(shown, kF3), LastMoveColour(Fill(kF3))));
  EXPECT_TRUE(Near(Inside(shown, kE3), Fill(kE3)));
  EXPECT_TRUE(Near(Middle(shown, kD5), kCheckGlow));
  EXPECT_TRUE(Near(Inside(shown, kD5), Fill(kD5)));  // the glow fades out to the edges
  EXPECT_TRUE(Near(Middle(shown, kD3), Fill(kD3)));

  ASSERT_FALSE(control_->LastMove(u""));
  ASSERT_FALSE(control_->CheckSquare(u""));
  UpdateWindow(window_->hwnd());
  const Capture cleared = CaptureClient(window_->hwnd());
  EXPECT_TRUE(Near(Inside(cleared, kG1), Fill(kG1)));
  EXPECT_TRUE(Near(Inside(cleared, kF3), Fill(kF3)));
  EXPECT_TRUE(Near(Middle(cleared, kD5), Fill(kD5)));
}

INSTANTIATE_TEST_SUITE_P(Orientations, HighlightWindowTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& orientation) {
                           return orientation.param == 0 ? std::string("WhiteBelow")
                                                         : std::string("BlackBelow");
                         });

}  // namespace
}  // namespace velmora::testing
