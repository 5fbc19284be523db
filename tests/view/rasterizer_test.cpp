#include "view/rasterizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

namespace velmora {
namespace {

Path Rectangle(double left, double top, double right, double bottom, bool clockwise = true,
               FillRule rule = FillRule::kNonZero) {
  Path path(rule);
  path.MoveTo({left, top});
  if (clockwise) {
    path.LineTo({right, top}).LineTo({right, bottom}).LineTo({left, bottom});
  } else {
    path.LineTo({left, bottom}).LineTo({right, bottom}).LineTo({right, top});
  }
  return path.Close();
}

struct PixelCase {
  const char* name;
  Path path;
  MaskSize size;
  int x, y;
  int coverage;
};

class RasterizerPixel : public testing::TestWithParam<PixelCase> {};

TEST_P(RasterizerPixel, CoversExactlyTheAreaInside) {
  const PixelCase& c = GetParam();
  const CoverageMask mask = Rasterize(c.path, c.size.width, c.size);
  ASSERT_EQ(mask.size, c.size);
  EXPECT_EQ(mask.At(c.x, c.y), c.coverage);
}

Path Triangle(PathPoint a, PathPoint b, PathPoint c) {
  return Path().MoveTo(a).LineTo(b).LineTo(c).Close();
}

// Two squares, one inside the other, the inner running one way or the other.
Path Nested(FillRule rule, bool inner_clockwise) {
  return Path(rule).Append(Rectangle(0, 0, 4, 4)).Append(Rectangle(1, 1, 3, 3, inner_clockwise));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, RasterizerPixel,
    testing::Values(
        PixelCase{"AlignedSquareIsSolid", Rectangle(1, 1, 3, 3), {4, 4}, 2, 2, 255},
        PixelCase{"AlignedSquareStopsAtItsEdge", Rectangle(1, 1, 3, 3), {4, 4}, 3, 2, 0},
        PixelCase{"AlignedSquareLeavesTheCornerEmpty", Rectangle(1, 1, 3, 3), {4, 4}, 0, 0, 0},
        PixelCase{"LeftHalfIsHalf", Rectangle(0, 0, 0.5, 1), {2, 2}, 0, 0, 128},
        PixelCase{"TopHalfIsHalf", Rectangle(0, 0, 1, 0.5), {2, 2}, 0, 0, 128},
        PixelCase{"QuarterIsAQuarter", Rectangle(0.5, 0.5, 1, 1), {2, 2}, 0, 0, 64},
        PixelCase{
            "CounterClockwiseCoversTheSame", Rectangle(0, 0, 0.5, 1, false), {2, 2}, 0, 0, 128},
        PixelCase{"DiagonalHalvesAPixel", Triangle({0, 0}, {1, 0}, {0, 1}), {2, 2}, 0, 0, 128},
        // Under y = 1 - x / 4 between x = 1 and 2 lies five eighths of the pixel.
        PixelCase{"SlopeAcrossPixelsIsExact", Triangle({0, 0}, {4, 0}, {0, 1}), {4, 4}, 1, 0, 159},
        PixelCase{"BeyondTheLeftSideStillFills", Rectangle(-5, 0, 1.5, 1), {3, 3}, 0, 0, 255},
        PixelCase{"BeyondTheLeftSidePartPixel", Rectangle(-5, 0, 1.5, 1), {3, 3}, 1, 0, 128},
        PixelCase{
            "NonZeroFillsASameWayInnerSquare", Nested(FillRule::kNonZero, true), {4, 4}, 2, 2, 255},
        PixelCase{
            "NonZeroCutsAnOppositeInnerSquare", Nested(FillRule::kNonZero, false), {4, 4}, 2, 2, 0},
        PixelCase{
            "EvenOddCutsASameWayInnerSquare", Nested(FillRule::kEvenOdd, true), {4, 4}, 2, 2, 0},
        PixelCase{"EvenOddKeepsTheRing", Nested(FillRule::kEvenOdd, true), {4, 4}, 0, 2, 255},
        PixelCase{"UnclosedContourIsClosed",
                  Path().MoveTo({0, 0}).LineTo({1, 0}).LineTo({1, 1}),
                  {1, 1},
                  0,
                  0,
                  128}),
    [](const testing::TestParamInfo<PixelCase>& param_info) {
      return std::string(param_info.param.name);
    });

// The reference: each pixel's winding number integrated over it, straight from geometry. Each
// polygon is clipped to the pixel's square one side at a time (clipping to a half-plane keeps the
// winding inside it), and the clipped polygons' signed areas add up.
using Polygon = std::vector<PathPoint>;

Polygon ClipToHalfPlane(const Polygon& polygon, PathPoint normal, double limit) {
  auto inside = [&](PathPoint p) { return p.x * normal.x + p.y * normal.y <= limit; };
  Polygon clipped;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const PathPoint a = polygon[i];
    const PathPoint b = polygon[(i + 1) % polygon.size()];
    if (inside(a)) clipped.push_back(a);
    if (inside(a) != inside(b)) {
      const double da = a.x * normal.x + a.y * normal.y - limit;
      const double db = b.x * normal.x + b.y * normal.y - limit;
      const double t = da / (da - db);
      clipped.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
    }
  }
  return clipped;
}

double SignedArea(const Polygon& polygon) {
  double twice = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const PathPoint a = polygon[i];
    const PathPoint b = polygon[(i + 1) % polygon.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return twice / 2;
}

int ReferenceCoverage(const std::vector<Polygon>& polygons, FillRule rule, int x, int y) {
  double winding = 0;
  for (Polygon p : polygons) {
    p = ClipToHalfPlane(p, {-1, 0}, -x);
    p = ClipToHalfPlane(p, {1, 0}, x + 1);
    p = ClipToHalfPlane(p, {0, -1}, -y);
    p = ClipToHalfPlane(p, {0, 1}, y + 1);
    winding += SignedArea(p);
  }
  double covered = std::abs(winding);
  if (rule == FillRule::kEvenOdd) {
    covered = std::fmod(covered, 2.0);
    if (covered > 1) covered = 2 - covered;
  }
  return static_cast<int>(std::lround(std::min(covered, 1.0) * 255));
}

struct TableCase {
  const char* name;
  std::vector<Polygon> polygons;  // in pixels: the path's box is the mask
  FillRule rule;
  int pixels;  // a side of the square mask
};

class RasterizerTable : public testing::TestWithParam<TableCase> {};

// Every pixel of shapes whose rows hold several runs, spill past every side, overlap and cross
// themselves, against the reference to within rounding.
TEST_P(RasterizerTable, MatchesTheAreaComputedPixelByPixel) {
  const TableCase& c = GetParam();
  Path path(c.rule);
  for (const Polygon& polygon : c.polygons) {
    path.MoveTo(polygon.front());
    for (std::size_t i = 1; i < polygon.size(); ++i) path.LineTo(polygon[i]);
    path.Close();
  }
  const CoverageMask mask = Rasterize(path, c.pixels, {c.pixels, c.pixels});
  for (int y = 0; y < c.pixels; ++y) {
    for (int x = 0; x < c.pixels; ++x) {
      ASSERT_NEAR(mask.At(x, y), ReferenceCoverage(c.polygons, c.rule, x, y), 1) << x << "," << y;
    }
  }
}

Polygon Star(double cx, double cy, double r) {
  Polygon star;
  for (int k = 0; k < 5; ++k) {
    const double angle = -M_PI / 2 + k * 4 * M_PI / 5;
    star.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
  }
  return star;
}

// Teeth hanging from a bar: many short runs in each row.
Polygon Comb(double left, double top, int teeth) {
  Polygon comb{{left, top}};
  for (int k = 0; k < teeth; ++k) {
    const double x = left + 2.3 * k;
    comb.insert(comb.end(), {{x + 1.1, top + 9.7}, {x + 1.9, top + 3.2}});
  }
  comb.push_back({left + 2.3 * teeth, top});
  return comb;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, RasterizerTable,
    testing::Values(TableCase{"StarNonZero", {Star(9.3, 10.1, 11.7)}, FillRule::kNonZero, 19},
                    TableCase{"StarEvenOdd", {Star(9.3, 10.1, 11.7)}, FillRule::kEvenOdd, 19},
                    TableCase{"CombPastLeftAndRight", {Comb(-1.7, 2.2, 9)}, FillRule::kNonZero, 17},
                    TableCase{"OpposedOverlap",
                              {{{-2.5, 1.2}, {14.1, 3.3}, {12.2, 15.8}},
                               {{3.3, -4.1}, {3.9, 13.4}, {16.7, 8.8}}},
                              FillRule::kNonZero,
                              15},
                    TableCase{"Slivers",
                              {{{0.1, 0.2}, {12.9, 0.4}, {0.3, 0.6}},
                               {{11.8, 2.0}, {12.1, 12.9}, {11.9, 12.9}}},
                              FillRule::kNonZero,
                              13}),
    [](const testing::TestParamInfo<TableCase>& param_info) {
      return std::string(param_info.param.name);
    });

int TotalCoverage(const CoverageMask& mask) {
  return std::accumulate(mask.coverage.begin(), mask.coverage.end(), 0);
}

TEST(Rasterizer, CircleOfCubicsCoversItsArea) {
  // A circle of radius 10 from four cubic quarters: the quarters' own area is within 0.03 % of
  // pi r^2, and each pixel may round by half a step.
  constexpr double k = 0.5522847498;
  Path circle;
  circle.MoveTo({16, 6})
      .CubicTo({16 + 10 * k, 6}, {26, 16 - 10 * k}, {26, 16})
      .CubicTo({26, 16 + 10 * k}, {16 + 10 * k, 26}, {16, 26})
      .CubicTo({16 - 10 * k, 26}, {6, 16 + 10 * k}, {6, 16})
      .CubicTo({6, 16 - 10 * k}, {16 - 10 * k, 6}, {16, 6})
      .Close();
  const CoverageMask mask = Rasterize(circle, 32, {32, 32});
  EXPECT_NEAR(TotalCoverage(mask) / 255.0, M_PI * 100, 0.5);
  EXPECT_EQ(mask.At(16, 16), 255);
  EXPECT_EQ(mask.At(5, 16), 0);
  const int edge = mask.At(6, 16);
  EXPECT_GT(edge, 0);
  EXPECT_LT(edge, 255);
}

TEST(Rasterizer, SlantedPolygonCoversItsArea) {
  Path quad;
  quad.MoveTo({1.3, 0.7}).LineTo({9.1, 2.2}).LineTo({7.4, 9.6}).LineTo({0.4, 6.1}).Close();
  // Shoelace area of the four corners.
  const double area = 0.5 * std::abs((1.3 * 2.2 - 9.1 * 0.7) + (9.1 * 9.6 - 7.4 * 2.2) +
                                     (7.4 * 6.1 - 0.4 * 9.6) + (0.4 * 0.7 - 1.3 * 6.1));
  EXPECT_NEAR(TotalCoverage(Rasterize(quad, 10, {10, 10})) / 255.0, area, 0.2);
}

TEST(Rasterizer, TheBoxScalesToTheMaskOnEachAxis) {
  // One unit of a 48-unit box is two pixels across and three down at 96 x 144.
  const CoverageMask mask = Rasterize(Rectangle(10, 10, 11, 11), 48, {96, 144});
  for (const auto& [x, y, expected] :
       {std::tuple{20, 30, 255}, {21, 32, 255}, {19, 31, 0}, {22, 31, 0}, {20, 33, 0}}) {
    EXPECT_EQ(mask.At(x, y), expected) << x << "," << y;
  }
  EXPECT_EQ(TotalCoverage(mask), 6 * 255);
}

TEST(Rasterizer, NothingOutsideTheMaskAndNoPixelsForAnEmptySize) {
  EXPECT_EQ(TotalCoverage(Rasterize(Rectangle(5, 5, 9, 9), 4, {4, 4})), 0);
  EXPECT_EQ(TotalCoverage(Rasterize(Rectangle(-9, -9, -5, -5), 4, {4, 4})), 0);
  EXPECT_TRUE(Rasterize(Rectangle(0, 0, 1, 1), 4, {0, 0}).coverage.empty());
}

// Added into a larger mask, a shape gives the pixels it gives on its own, where it lies, and
// inside a window of its mask exactly those, nothing outside; added twice, they add up to all
// and no further.
TEST(RasterizeAdding, LaysTheSameCoverageAtItsPlaceInsideTheWindowAndSaturates) {
  const Path slant = Triangle({0.1, 0.0}, {0.9, 0.3}, {0.2, 1.0});
  const CoverageMask alone = Rasterize(slant, 1.0, {70, 50});
  RowCellStore cells;
  for (const PixelBox window :
       {PixelBox{0, 0, 70, 50}, PixelBox{0, 10, 70, 20}, PixelBox{30, 0, 45, 50},
        PixelBox{20, 5, 41, 37}, PixelBox{-5, -5, 100, 3}, PixelBox{69, 49, 80, 80}}) {
    CoverageMask board{{120, 90}, std::vector<std::uint8_t>(120 * 90)};
    RasterizeAdding(slant, 1.0, {70, 50}, window, board, 30, 20, cells);
    RasterizeAdding(slant, 1.0, {70, 50}, window, board, 30, 20, cells);
    for (int y = 0; y < board.size.height; ++y) {
      for (int x = 0; x < board.size.width; ++x) {
        const bool inside =
            window.Contains(x - 30, y - 20) && PixelBox{30, 20, 100, 70}.Contains(x, y);
        ASSERT_EQ(board.At(x, y), inside ? std::min(255, 2 * alone.At(x - 30, y - 20)) : 0)
            << window.left << "," << window.top << ": " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace velmora
