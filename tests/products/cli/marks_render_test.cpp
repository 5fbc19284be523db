// Marks, arrows and sliding pieces as the headless canvas draws them: pixels per colour and
// scale, and repaints of only the planned boxes matching a whole new picture.
#include <gtest/gtest.h>

#include <cstdlib>

#include "control/board_control.h"
#include "platform/headless/headless_forms.h"
#include "platform/headless/png_renderer.h"
#include "tests/products/cli/planned_screen.h"
#include "tests/support/board_scale.h"
#include "tests/support/recording_host.h"
#include "view/repaint_plan.h"

namespace velmora {
namespace {

std::int16_t Number(std::u16string_view name) {
  return SquareNumber(*ParseSquareName(name[0], name[1]));
}

// What the mark's colour laid over `under` at `strength` (out of 255) gives, within rounding.
bool Blended(Rgb got, Rgb under, Rgb mark, int strength) {
  const auto near = [strength](int g, int u, int m) {
    return std::abs(g - (u + (m - u) * strength / 255)) <= 2;
  };
  return near(got.r, under.r, mark.r) && near(got.g, under.g, mark.g) &&
         near(got.b, under.b, mark.b);
}

struct ColourCase {
  char16_t letter;
  Rgb rgb;
};

constexpr ColourCase kColours[] = {
    {u'G', {21, 120, 27}}, {u'R', {136, 32, 32}}, {u'Y', {230, 143, 0}}, {u'B', {0, 48, 136}}};
constexpr int kCircleStrength = 204;
constexpr int kArrowStrength = 166;

TEST(MarkPixels, CirclesAndArrowsInEachColourAtOneAndTwoTimes) {
  HeadlessForms forms;
  RecordingHost host;
  const auto control = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  const Rgb d4 = control->surface().SquareFill(Number(u"D4"));
  const Rgb d6 = control->surface().SquareFill(Number(u"D6"));
  for (const ColourCase& colour : kColours) {
    const std::u16string c(1, colour.letter);
    ASSERT_FALSE(control->Marks(c + u"d4 " + c + u"f3f6"));
    for (const int s : {1, 2}) {
      PngRenderer renderer(ScaleOf(*control, s));
      const RgbImage image = renderer.Render(BuildDisplayList(control->surface(), u""));
      const auto picture = [&](std::u16string_view name) {
        return renderer.grid().BoxOf(*FindControl({ControlName::kSquarePicture, Number(name)}));
      };
      const auto at = [&](std::u16string_view name, int dx, int dy) {
        const PixelBox box = picture(name);
        return image.At(box.left + 24 * s + dx * s, box.top + 24 * s + dy * s);
      };
      const std::string where = "colour " + std::string(1, static_cast<char>(colour.letter)) +
                                " at " + std::to_string(s) + "x";
      // The circle: a ring just inside the square, its middle left as it was.
      EXPECT_TRUE(Blended(at(u"D4", 20, 0), d4, colour.rgb, kCircleStrength)) << where;
      EXPECT_TRUE(Blended(at(u"D4", 0, -21), d4, colour.rgb, kCircleStrength)) << where;
      EXPECT_EQ(at(u"D4", 0, 0), d4) << where;
      EXPECT_EQ(at(u"D4", 23, 23), d4) << where << ": the corner is outside the ring";
      // The arrow F3 to F6: its shaft through F4 and F5, its head's wings wider than the shaft
      // just before the tip, nothing beside the shaft.
      const Rgb f4 = control->surface().SquareFill(Number(u"F4"));
      const Rgb f6 = control->surface().SquareFill(Number(u"F6"));
      EXPECT_TRUE(Blended(at(u"F4", -1, 0), f4, colour.rgb, kArrowStrength)) << where;
      EXPECT_TRUE(Blended(at(u"F6", 5, 12), f6, colour.rgb, kArrowStrength)) << where;
      EXPECT_EQ(at(u"F4", 8, 0), f4) << where;
      EXPECT_EQ(at(u"F6", 0, -4), f6) << where << ": nothing past the tip";
      EXPECT_EQ(at(u"D6", 0, 0), d6) << where;
    }
  }
}

// Each theme's square colours, a colour set over the theme and a Theme write that drops it,
// drawn as they read back.
TEST(LookPixels, TheSquaresShowTheColoursThatReadBack) {
  HeadlessForms forms;
  RecordingHost host;
  const auto control = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  const auto expect_drawn = [&](SquareColours squares, const std::string& what) {
    EXPECT_EQ(control->LightSquareColor(), ColourValue(squares.light)) << what;
    EXPECT_EQ(control->DarkSquareColor(), ColourValue(squares.dark)) << what;
    PngRenderer renderer;
    const RgbImage image = renderer.Render(BuildDisplayList(control->surface(), u""));
    const auto middle = [&](std::u16string_view name) {  // of an empty square
      const PixelBox box =
          renderer.grid().BoxOf(*FindControl({ControlName::kSquare, Number(name)}));
      return image.At((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    };
    EXPECT_EQ(middle(u"E4"), squares.light) << what;
    EXPECT_EQ(middle(u"D4"), squares.dark) << what;
  };
  for (std::int32_t theme = 0; theme <= kLastTheme; ++theme) {
    ASSERT_FALSE(control->Theme(theme));
    expect_drawn(ThemeColours(static_cast<Theme>(theme)), "theme " + std::to_string(theme));
  }
  const Rgb red{200, 30, 40}, navy{10, 20, 90};
  ASSERT_FALSE(control->DarkSquareColor(ColourValue(navy)));
  expect_drawn({ThemeColours(Theme::kClassic).light, navy}, "one colour over the theme");
  ASSERT_FALSE(control->LightSquareColor(ColourValue(red)));
  expect_drawn({red, navy}, "a pair");
  ASSERT_FALSE(control->Theme(1));
  expect_drawn(ThemeColours(Theme::kBlue), "the theme written again");
}

// Turned half way round, the board draws each square where the opposite one stands, and its
// marks with it: on an empty board, G1-F3 and D4 turned look exactly as B8-C6 and E5 unturned.
TEST(MarkPixels, ATurnedBoardDrawsMarksWhereItDrawsTheirSquares) {
  HeadlessForms forms;
  RecordingHost host;
  const auto turned = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  const auto upright = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  for (const auto& control : {turned, upright}) control->PutPosition(std::u16string(64, u'*'));
  ASSERT_FALSE(turned->Orientation(1));
  ASSERT_FALSE(upright->Marks(u"Gb8c6 Re5"));
  for (const int s : {1, 2}) {
    PngRenderer renderer(ScaleOf(*turned, s));
    const auto render = [&](const BoardControl& control) {
      return renderer.Render(BuildDisplayList(control.surface(), u""));
    };
    ASSERT_FALSE(turned->Marks(u""));
    const RgbImage plain = render(*turned);
    ASSERT_FALSE(turned->Marks(u"Gg1f3 Rd4"));
    const RgbImage marked = render(*turned), expected = render(*upright);
    // The squares without coordinates in their corners, from B8's at the top left to H2's at
    // the bottom right.
    const PixelBox top_left = renderer.grid().BoxOf(*FindControl({ControlName::kSquare, 58}));
    const PixelBox bottom_right = renderer.grid().BoxOf(*FindControl({ControlName::kSquare, 16}));
    int differing = 0, shown = 0;
    for (int y = top_left.top; y < bottom_right.bottom; ++y) {
      for (int x = top_left.left; x < bottom_right.right; ++x) {
        differing += marked.At(x, y) != expected.At(x, y);
        shown += marked.At(x, y) != plain.At(x, y);
      }
    }
    EXPECT_EQ(differing, 0) << "at " << s << "x";
    EXPECT_GT(shown, 500 * s * s) << "at " << s << "x: the marks are drawn at all";
  }
}

TEST(MarkPixels, RepaintingThePlannedBoxesOfMarksAndSlidesGivesTheWholePicture) {
  for (const double scale : {1.0, 1.5, 2.0}) {
    HeadlessForms forms;
    RecordingHost host;
    const auto control = BoardControl::Create(forms, host, ControlClass::kChessBoard);
    forms.Attach(control);
    PlannedScreen screen(*control, scale);
    int checks = 0;
    const auto check = [&] {
      const RgbImage whole = screen.Whole();
      EXPECT_EQ(screen.Repainted().bytes(), whole.bytes()) << "check " << checks << " at " << scale;
      ++checks;
    };
    ASSERT_FALSE(control->Marks(u"Gb1c3 Rd4 Yh1a8"));
    check();
    control->DrawUserMark({MarkColour::kBlue, {2, 5}, Square{5, 2}});
    check();
    control->PutMove(u"G1-F3");
    control->Advance(0);
    check();
    control->Advance(40);
    check();
    control->PutMove(u"E2-E4");  // a second slide while the first goes on
    control->Advance(80);
    check();
    control->Advance(130);
    check();
    ASSERT_FALSE(control->Orientation(1));  // marks and a slide on the turned board
    check();
    control->PutMove(u"D7-D5");
    control->Advance(1100);
    control->Advance(1175);
    check();
    ASSERT_FALSE(control->Marks(u"Bc3"));
    control->ClearUserMarks();
    control->Advance(3000);
    check();
    EXPECT_EQ(checks, 9);
  }
}

}  // namespace
}  // namespace velmora
