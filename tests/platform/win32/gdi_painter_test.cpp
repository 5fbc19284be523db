#include <gtest/gtest.h>

#include <set>

#include "platform/win32/dib.h"
#include "view/display_list.h"
#include "window_fixture.h"

namespace velmora::testing {
namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);
constexpr std::int16_t kE2 = 13, kD8 = 60, kE4 = 29, kF4 = 30;

// The initial surface painted at `scale` into a bitmap that shows kUntouched wherever nothing
// was painted.
Capture PaintInitialSurface(const PaintScale& scale, int width, int height) {
  const Dib dib = CreateTopDownDib(width, height);
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, dib.bitmap);
  const RECT all{0, 0, width, height};
  const HBRUSH marker = CreateSolidBrush(kUntouched);
  FillRect(dc, &all, marker);
  DeleteObject(marker);
  GdiPainter painter;
  painter.PaintDisplayList(dc, BuildDisplayList(Surface(), u""), scale);
  GdiFlush();
  Capture capture{width, height, {}};
  for (int i = 0; i < width * height; ++i) capture.pixels.push_back(FromDibPixel(dib.pixels[i]));
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(dib.bitmap);
  return capture;
}

struct ScaleCase {
  const char* name;
  RECT bounds;  // where the whole design is drawn; never at the device's edge
};

class PainterScaleTest : public ::testing::TestWithParam<ScaleCase> {};

// A container draws the control into any rectangle of any device context; at whole multiples
// every icon pixel becomes a solid block, and nothing lands outside the rectangle.
TEST_P(PainterScaleTest, DrawsTheDesignIntoTheRectangleWithWholePixelIcons) {
  const RECT b = GetParam().bounds;
  const PaintScale scale = PaintScale::ToFit(b);
  const Capture capture = PaintInitialSurface(scale, b.right + 4, b.bottom + 4);
  EXPECT_EQ(WrongSquarePixels(capture, scale, kE2, Picture::kWhitePawn), 0);
  EXPECT_EQ(WrongSquarePixels(capture, scale, kD8, Picture::kBlackQueen), 0);
  EXPECT_EQ(capture.At(b.left, b.top), RGB(0, 0, 0));  // the background's outline
  EXPECT_EQ(capture.At(b.right - 1, b.bottom - 1), RGB(0, 0, 0));
  EXPECT_EQ(capture.At(b.right, b.bottom), kUntouched);
  EXPECT_EQ(capture.At(b.left - 1, b.top), kUntouched);
  EXPECT_EQ(capture.At(b.left, b.top - 1), kUntouched);
}

INSTANTIATE_TEST_SUITE_P(Multiples, PainterScaleTest,
                         ::testing::Values(ScaleCase{"NativeAtAnOffset", {2, 1, 451, 490}},
                                           ScaleCase{"DoubleAtAnOffset", {10, 20, 908, 998}},
                                           ScaleCase{"TripleAtAnOffset", {3, 5, 1350, 1472}}),
                         [](const ::testing::TestParamInfo<ScaleCase>& param_info) {
                           return std::string(param_info.param.name);
                         });

TEST(PainterScale, AnUnevenScaleStillPaintsOnlyTheIconsOwnColours) {
  const RECT bounds{0, 0, 673, 733};  // about one and a half
  const PaintScale scale = PaintScale::ToFit(bounds);
  const Capture capture = PaintInitialSurface(scale, bounds.right, bounds.bottom);
  const RECT area = scale.ToPixels({SquareOrigin(kE2).x, SquareOrigin(kE2).y, 720, 720});
  std::set<COLORREF> colours;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) colours.insert(capture.At(x, y));
  }
  const Rgb light = SquareColour(kE2);
  EXPECT_EQ(colours,
            (std::set<COLORREF>{RGB(0, 0, 0), RGB(255, 255, 255), RGB(light.r, light.g, light.b)}));
}

TEST(PainterScale, NeighbouringSquaresShareTheirEdgeAtAnyScale) {
  for (const double pixels_per_twip : {1.0 / 15, 1.37 / 15, 2.0 / 15, 0.51 / 15}) {
    PaintScale scale;
    scale.x = scale.y = pixels_per_twip;
    scale.origin_x = 7;
    const RECT e4 = scale.ToPixels({SquareOrigin(kE4).x, SquareOrigin(kE4).y, 720, 720});
    const RECT f4 = scale.ToPixels({SquareOrigin(kF4).x, SquareOrigin(kF4).y, 720, 720});
    EXPECT_EQ(e4.right, f4.left) << pixels_per_twip;
    const Point back = scale.ToTwips(e4.left, e4.top);
    EXPECT_NEAR(back.x, SquareOrigin(kE4).x, 1 / pixels_per_twip);
    EXPECT_NEAR(back.y, SquareOrigin(kE4).y, 1 / pixels_per_twip);
  }
}

TEST(PainterScale, TheDesignIsFourHundredFortyNineByFourHundredEightyNinePixelsAt96Dpi) {
  const RECT rect = SurfaceWindow::DefaultRect(5, 6);
  if (ScreenScale().x != 96.0 / 1440) GTEST_SKIP() << "the screen is not at 96 dots per inch";
  EXPECT_EQ(rect.right - rect.left, 449);
  EXPECT_EQ(rect.bottom - rect.top, 489);
  EXPECT_EQ(rect.left, 5);
}

}  // namespace
}  // namespace velmora::testing
