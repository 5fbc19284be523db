#include "view/pixel_grid.h"

#include <gtest/gtest.h>

#include <string>

#include "view/hit_test.h"

namespace velmora {
namespace {

struct ScaleCase {
  const char* name;
  DeviceScale scale;
};

// 96, 120, 144 and 192 dots per inch, the renderer's fractional scales, an origin off the
// device's corner, and a container's uneven rectangle.
const ScaleCase kScales[] = {
    {"Dpi96", DeviceScale::Times(1)},
    {"Dpi120", DeviceScale::Times(1.25)},
    {"Dpi144", DeviceScale::Times(1.5)},
    {"Times1_75", DeviceScale::Times(1.75)},
    {"Dpi192", DeviceScale::Times(2)},
    {"Times3AtAnOffset", DeviceScale::Times(3, 7, 11)},
    {"Times4", DeviceScale::Times(4)},
    {"UnevenRectangle", DeviceScale::ToFit(5, 3, 5 + 700, 3 + 600)},
};

class PixelGridScale : public testing::TestWithParam<ScaleCase> {};

TEST_P(PixelGridScale, AllSquaresAreEqualAndShareOnePixelGridLines) {
  const PixelGrid grid(GetParam().scale);
  const PixelBox a8 = grid.BoxOf(*FindControl({ControlName::kSquare, 57}));
  for (std::int16_t n = 1; n <= 64; ++n) {
    const PixelBox square = grid.BoxOf(*FindControl({ControlName::kSquare, n}));
    const PixelBox picture = grid.BoxOf(*FindControl({ControlName::kSquarePicture, n}));
    EXPECT_EQ(square.width(), a8.width()) << n;
    EXPECT_EQ(square.height(), a8.height()) << n;
    // The picture fills the square but for the grid line on its right and bottom.
    EXPECT_EQ(picture, (PixelBox{square.left, square.top, square.right - 1, square.bottom - 1}));
    EXPECT_EQ(grid.picture_size(), (MaskSize{picture.width(), picture.height()}));
    if (n % 8 != 0) {
      const PixelBox right =
          grid.BoxOf(*FindControl({ControlName::kSquare, static_cast<std::int16_t>(n + 1)}));
      EXPECT_EQ(square.right - 1, right.left) << n << ": one line between neighbours";
    }
    if (n <= 56) {
      const PixelBox above =
          grid.BoxOf(*FindControl({ControlName::kSquare, static_cast<std::int16_t>(n + 8)}));
      EXPECT_EQ(above.bottom - 1, square.top) << n;
    }
  }
  EXPECT_EQ(grid.OutlineOf({ControlName::kSquare, 5}, 1), (LineWidths{1, 1}));
}

TEST_P(PixelGridScale, EveryPixelOfAPictureHitsItsSquare) {
  const PixelGrid grid(GetParam().scale);
  const Surface surface;
  for (const std::int16_t n : {1, 8, 28, 37, 57, 64}) {
    const PixelBox picture = grid.BoxOf(*FindControl({ControlName::kSquarePicture, n}));
    for (const auto& [x, y] : {std::pair{picture.left, picture.top},
                               {picture.right - 1, picture.bottom - 1},
                               {(picture.left + picture.right) / 2, picture.top}}) {
      EXPECT_EQ(HitTest(surface, grid, x, y), (Hit{Hit::Kind::kSquare, n})) << n;
    }
    // The picture's middle in linear twips, as events report it, is on the same square.
    const Point middle{static_cast<std::int32_t>(grid.TwipsX((picture.left + picture.right) / 2)),
                       static_cast<std::int32_t>(grid.TwipsY((picture.top + picture.bottom) / 2))};
    EXPECT_EQ(HitTest(surface, middle), (Hit{Hit::Kind::kSquare, n})) << n;
  }
}

TEST_P(PixelGridScale, TheBoardLiesInsideItsBorderAndTheDesign) {
  const PixelGrid grid(GetParam().scale);
  const PixelBox border = grid.BoxOf(*FindControl({ControlName::kBoardBorder}));
  const PixelBox a8 = grid.BoxOf(*FindControl({ControlName::kSquare, 57}));
  const PixelBox h1 = grid.BoxOf(*FindControl({ControlName::kSquare, 8}));
  const PixelBox design = grid.DesignBox();
  EXPECT_LT(border.left, a8.left);
  EXPECT_LT(border.top, a8.top);
  EXPECT_GT(border.right, h1.right);
  EXPECT_GT(border.bottom, h1.bottom);
  EXPECT_LE(design.left, border.left);
  EXPECT_GE(design.right, border.right);
  EXPECT_EQ(design.left, GetParam().scale.origin_x);
}

INSTANTIATE_TEST_SUITE_P(Scales, PixelGridScale, testing::ValuesIn(kScales),
                         [](const testing::TestParamInfo<ScaleCase>& param_info) {
                           return std::string(param_info.param.name);
                         });

// A board fitted to an area: the largest whole square with eight across the smaller side (less
// the margins), the squares edge to edge, the board centred, the surface the area, and every
// square hit where it is drawn.
TEST(PixelGrid, AFittedBoardFillsItsAreaOnWholePixels) {
  const struct {
    PixelBox area;
    double margin;
    int square;
  } cases[] = {{{0, 0, 160, 160}, 0, 20},    {{0, 0, 400, 400}, 0, 50},
               {{0, 0, 401, 257}, 0, 32},    {{0, 0, 1600, 1600}, 0, 200},
               {{10, 20, 810, 820}, 0, 100}, {{0, 0, 400, 400}, 0.5, 44},
               {{0, 0, 7, 5}, 0, 1}};
  const Surface surface;
  for (const auto& c : cases) {
    const PixelGrid grid(DeviceScale::BoardFit(c.area, c.margin));
    const PixelBox a1 = grid.BoxOf(*FindControl({ControlName::kSquare, 1}));
    const PixelBox h8 = grid.BoxOf(*FindControl({ControlName::kSquare, 64}));
    const std::string where =
        std::to_string(c.area.width()) + "x" + std::to_string(c.area.height());
    EXPECT_EQ(grid.picture_size(), (MaskSize{c.square, c.square})) << where;
    EXPECT_EQ(a1.width(), c.square) << where;
    EXPECT_EQ(h8.right - a1.left, 8 * c.square) << where;
    EXPECT_EQ(a1.bottom - h8.top, 8 * c.square) << where;
    EXPECT_LE(std::abs((a1.left - c.area.left) - (c.area.right - h8.right)), 1) << where;
    EXPECT_LE(std::abs((h8.top - c.area.top) - (c.area.bottom - a1.bottom)), 1) << where;
    EXPECT_EQ(grid.DesignBox(), c.area) << where;
    for (std::int16_t n = 1; n < 64; ++n) {
      const PixelBox square = grid.BoxOf(*FindControl({ControlName::kSquare, n}));
      if (n % 8 != 0) {
        const PixelBox next =
            grid.BoxOf(*FindControl({ControlName::kSquare, static_cast<std::int16_t>(n + 1)}));
        EXPECT_EQ(square.right, next.left) << where << " " << n;
      }
      EXPECT_EQ(HitTest(surface, grid, square.left, square.top), (Hit{Hit::Kind::kSquare, n}))
          << where << " " << n;
    }
  }
}

TEST(PixelGrid, At96DpiEveryPartIsItsDesignRectangle) {
  const PixelGrid grid(DeviceScale::Times(1));
  for (const ControlSpec& spec : DesignLayout()) {
    std::int32_t left = spec.left, top = spec.top;
    if (spec.parent) {
      left += FindControl({*spec.parent})->left;
      top += FindControl({*spec.parent})->top;
    }
    const PixelBox box = grid.BoxOf(spec);
    EXPECT_EQ(box,
              (PixelBox{left / 15, top / 15, (left + spec.width) / 15, (top + spec.height) / 15}))
        << static_cast<int>(spec.ref.name) << "(" << spec.ref.index << ")";
  }
  EXPECT_EQ(grid.DesignBox(), (PixelBox{0, 0, 449, 489}));
}

TEST(PixelGrid, DesignSizeAndLinesFollowTheScale) {
  struct Case {
    double factor;
    PixelBox design;
    LineWidths border;  // the board border's 3-pixel outline
  };
  for (const Case& c : {Case{1.5, {0, 0, 674, 734}, {5, 5}}, Case{2, {0, 0, 898, 978}, {6, 6}},
                        Case{1.25, {0, 0, 561, 611}, {4, 4}}}) {
    const PixelGrid grid(DeviceScale::Times(c.factor));
    EXPECT_EQ(grid.DesignBox(), c.design) << c.factor;
    EXPECT_EQ(grid.OutlineOf({ControlName::kBoardBorder}, 3), c.border) << c.factor;
    EXPECT_EQ(grid.OutlineOf({ControlName::kBoardBorder}, 0), (LineWidths{0, 0}));
  }
}

TEST(PixelGrid, EventPointsStayLinearInTwips) {
  const PixelGrid grid(DeviceScale::Times(1.5, 10, 20));
  EXPECT_DOUBLE_EQ(grid.TwipsX(10), 0);
  EXPECT_DOUBLE_EQ(grid.TwipsX(13), 30);
  EXPECT_DOUBLE_EQ(grid.TwipsY(20 + 144), 1440);
}

TEST(PixelGrid, APromptChoiceIsHitWhereItIsDrawn) {
  Surface surface;
  surface.SetVisible(ControlName::kBlackPanel, true);
  const PixelGrid grid(DeviceScale::Times(1.75));
  for (std::int16_t k = 4; k < 8; ++k) {
    const PixelBox choice = grid.BoxOf(*FindControl({ControlName::kChoice, k}));
    EXPECT_EQ(HitTest(surface, grid, choice.left, choice.top), (Hit{Hit::Kind::kChoice, k}));
    EXPECT_EQ(HitTest(surface, grid, choice.right - 1, choice.bottom - 1),
              (Hit{Hit::Kind::kChoice, k}));
  }
  // Just outside the first choice's box: the panel swallows it.
  const PixelBox first = grid.BoxOf(*FindControl({ControlName::kChoice, 4}));
  EXPECT_EQ(HitTest(surface, grid, first.left - 1, first.top).kind, Hit::Kind::kSwallowed);
}

}  // namespace
}  // namespace velmora
