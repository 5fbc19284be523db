// The look members as the headless canvas draws the board: each theme's square colours, a pair
// set over a theme, and a Theme write that drops the pair; what is drawn is what reads back.
#include <gtest/gtest.h>

#include <functional>

#include "control/board_control.h"
#include "platform/headless/headless_forms.h"
#include "platform/headless/png_renderer.h"
#include "tests/support/control_fixture.h"

namespace velmora {
namespace {

struct LookCase {
  std::string what;
  std::function<void(BoardControl&)> write;
  SquareColours squares;
};

class LookPixels : public ::testing::TestWithParam<LookCase> {};

TEST_P(LookPixels, TheSquaresShowTheColoursThatReadBack) {
  HeadlessForms forms;
  RecordingHost host;
  const auto control = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  GetParam().write(*control);
  const SquareColours& squares = GetParam().squares;
  EXPECT_EQ(control->LightSquareColor(), ColourValue(squares.light));
  EXPECT_EQ(control->DarkSquareColor(), ColourValue(squares.dark));
  PngRenderer renderer;
  const RgbImage image = renderer.Render(BuildDisplayList(control->surface(), u""));
  const auto middle = [&](std::u16string_view name) {  // of an empty square
    const std::int16_t square = SquareNumber(*ParseSquareName(name[0], name[1]));
    const PixelBox box = renderer.grid().BoxOf(*FindControl({ControlName::kSquare, square}));
    return image.At((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  };
  EXPECT_EQ(middle(u"E4"), squares.light);
  EXPECT_EQ(middle(u"D4"), squares.dark);
}

std::vector<LookCase> Cases() {
  std::vector<LookCase> cases;
  for (std::int32_t theme = 0; theme <= kLastTheme; ++theme) {
    cases.push_back({"theme" + std::to_string(theme),
                     [theme](BoardControl& c) { ASSERT_FALSE(c.Theme(theme)); },
                     ThemeColours(static_cast<Theme>(theme))});
  }
  const Rgb red{200, 30, 40}, navy{10, 20, 90};
  cases.push_back({"a pair over a theme",
                   [=](BoardControl& c) {
                     ASSERT_FALSE(c.Theme(2));
                     ASSERT_FALSE(c.LightSquareColor(ColourValue(red)));
                     ASSERT_FALSE(c.DarkSquareColor(ColourValue(navy)));
                   },
                   {red, navy}});
  cases.push_back({"one colour, the other the theme's",
                   [=](BoardControl& c) { ASSERT_FALSE(c.DarkSquareColor(ColourValue(navy))); },
                   {ThemeColours(Theme::kBrown).light, navy}});
  cases.push_back({"a theme written again drops the pair",
                   [=](BoardControl& c) {
                     ASSERT_FALSE(c.LightSquareColor(ColourValue(red)));
                     ASSERT_FALSE(c.DarkSquareColor(ColourValue(navy)));
                     ASSERT_FALSE(c.Theme(1));
                   },
                   ThemeColours(Theme::kBlue)});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Looks, LookPixels, ::testing::ValuesIn(Cases()),
                         testing::CaseName<LookCase>);

}  // namespace
}  // namespace velmora
