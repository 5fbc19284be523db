#include <gtest/gtest.h>

#include "view/display_list.h"
#include "window_fixture.h"

namespace velmora::testing {
namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);
constexpr std::int16_t kE2 = 13, kD8 = 60, kE4 = 29;

// The initial surface painted on `grid` into a bitmap that shows kUntouched wherever nothing
// was painted.
Capture PaintInitialSurface(GdiPainter& painter, const PixelGrid& grid, int width, int height) {
  return CapturePainted(width, height, [&](HDC dc) {
    const RECT all{0, 0, width, height};
    const HBRUSH marker = CreateSolidBrush(kUntouched);
    FillRect(dc, &all, marker);
    DeleteObject(marker);
    painter.PaintDisplayList(dc, BuildDisplayList(Surface(), u""), grid);
  });
}

struct ScaleCase {
  const char* name;
  RECT bounds;  // where the whole design is drawn; never at the device's edge
};

class PainterScaleTest : public ::testing::TestWithParam<ScaleCase> {};

// A container draws the control into any rectangle of any device context: the pieces are the
// core's masks composited pixel for pixel, and nothing lands outside the rectangle.
TEST_P(PainterScaleTest, DrawsTheDesignIntoTheRectangleWithTheCoresPieces) {
  const RECT b = GetParam().bounds;
  const PixelGrid grid(DeviceScale::ToFit(b.left, b.top, b.right, b.bottom));
  GdiPainter painter;
  const Capture capture = PaintInitialSurface(painter, grid, b.right + 4, b.bottom + 4);
  EXPECT_EQ(WrongSquarePixels(capture, grid, kE2, Picture::kWhitePawn), 0);
  EXPECT_EQ(WrongSquarePixels(capture, grid, kD8, Picture::kBlackQueen), 0);
  EXPECT_EQ(WrongSquarePixels(capture, grid, kE4, Picture::kNone), 0);
  EXPECT_EQ(capture.At(b.left, b.top), RGB(0, 0, 0));  // the background's outline
  EXPECT_EQ(capture.At(b.right - 1, b.bottom - 1), RGB(0, 0, 0));
  EXPECT_EQ(capture.At(b.right, b.bottom), kUntouched);
  EXPECT_EQ(capture.At(b.left - 1, b.top), kUntouched);
  EXPECT_EQ(capture.At(b.left, b.top - 1), kUntouched);
}

INSTANTIATE_TEST_SUITE_P(Scales, PainterScaleTest,
                         ::testing::Values(ScaleCase{"NativeAtAnOffset", {2, 1, 451, 490}},
                                           ScaleCase{"OneAndAHalf", {1, 1, 675, 735}},
                                           ScaleCase{"DoubleAtAnOffset", {10, 20, 908, 998}},
                                           ScaleCase{"Uneven", {3, 5, 803, 605}}),
                         [](const ::testing::TestParamInfo<ScaleCase>& param_info) {
                           return std::string(param_info.param.name);
                         });

TEST(PainterScale, EdgesAreBlendedAtOneAndAHalf) {
  const PixelGrid grid(DeviceScale::Times(1.5));
  GdiPainter painter;
  const Capture capture = PaintInitialSurface(painter, grid, 674, 734);
  const PixelBox e2 = grid.BoxOf(*FindControl({ControlName::kSquarePicture, kE2}));
  const Rgb light = SquareColour(kE2);
  int blended = 0;
  for (int y = e2.top + 1; y < e2.bottom; ++y) {
    for (int x = e2.left + 1; x < e2.right; ++x) {
      const COLORREF c = capture.At(x, y);
      blended +=
          c != RGB(0, 0, 0) && c != RGB(255, 255, 255) && c != RGB(light.r, light.g, light.b);
    }
  }
  EXPECT_GT(blended, 50);
}

TEST(PainterScale, KeepsPieceBitmapsForTheLastFewSizesOnly) {
  GdiPainter painter;
  const std::vector<double> factors = {1, 1.25, 1.5, 2, 1.25, 3};
  for (const double factor : factors) {
    const PixelGrid grid(DeviceScale::Times(factor));
    PaintInitialSurface(painter, grid, grid.DesignBox().right, grid.DesignBox().bottom);
  }
  const std::vector<MaskSize> expected = {{144, 144}, {60, 60}, {96, 96}, {72, 72}};
  EXPECT_EQ(painter.piece_sizes(), expected) << "most recent first; 48 x 48 went";
}

TEST(PainterScale, TheWindowIsTheDesignAtTheScreensDpi) {
  const int dpi = ExpectedDpi();
  const RECT rect = SurfaceWindow::DefaultRect(5, 6);
  struct Size {
    int dpi, width, height;
  };
  // 6735 x 7335 twips: 15, 10 and 7.5 twips a pixel.
  for (const Size size : {Size{96, 449, 489}, Size{144, 674, 734}, Size{192, 898, 978}}) {
    if (size.dpi != dpi) continue;
    EXPECT_EQ(rect.right - rect.left, size.width);
    EXPECT_EQ(rect.bottom - rect.top, size.height);
  }
  EXPECT_EQ(rect.left, 5);
}

}  // namespace
}  // namespace velmora::testing
