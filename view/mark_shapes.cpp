#include "view/mark_shapes.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

// Strengths out of 255: the ring a little stronger than the arrow, which lies over pieces.
constexpr unsigned kCircleStrength = 204;
constexpr unsigned kArrowStrength = 166;

// The ring, in hundredths of the picture.
constexpr double kCircleUnits = 100;
constexpr double kRingOuter = 47;
constexpr double kRingInner = 40;

// The arrow, in parts of a square's side.
constexpr double kShaftHalfWidth = 0.09;
constexpr double kHeadHalfWidth = 0.24;
constexpr double kHeadLength = 0.42;

void Fade(CoverageMask& mask, unsigned strength) {
  for (std::uint8_t& coverage : mask.coverage) {
    coverage = static_cast<std::uint8_t>(coverage * strength / 255);
  }
}

PathPoint Middle(const PixelBox& box) {
  return {(box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0};
}

// Whether the box, grown by a pixel each way, lies wholly beyond either end of the band from
// `start` `length` along (ux, uy), or wholly more than `half_width` to either side of it: then an
// arrow inside the band covers none of the box.
bool PassesBy(PathPoint start, double ux, double uy, double length, double half_width,
              const PixelBox& box) {
  double along_least = length + 1, along_most = -1, across_least = half_width + 1,
         across_most = -half_width - 1;
  for (const int x : {box.left - 1, box.right + 1}) {
    for (const int y : {box.top - 1, box.bottom + 1}) {
      const double dx = x - start.x, dy = y - start.y;
      const double along = dx * ux + dy * uy, across = dy * ux - dx * uy;
      along_least = std::min(along_least, along);
      along_most = std::max(along_most, along);
      across_least = std::min(across_least, across);
      across_most = std::max(across_most, across);
    }
  }
  return along_most < 0 || along_least > length || across_most < -half_width ||
         across_least > half_width;
}

}  // namespace

Rgb MarkRgb(MarkColour colour) {
  constexpr Rgb kColours[] = {{21, 120, 27}, {136, 32, 32}, {230, 143, 0}, {0, 48, 136}};
  return kColours[ColourIndex(colour)];
}

CoverageMask RingPart(const PixelBox& picture, const PixelBox& window, RowCellStore& cells) {
  const PixelBox part = Intersection(window, picture);
  if (IsEmpty(part)) return {};
  CoverageMask mask{{part.width(), part.height()},
                    std::vector<std::uint8_t>(static_cast<std::size_t>(part.width()) *
                                              static_cast<std::size_t>(part.height()))};
  Path path(FillRule::kEvenOdd);
  AddCircle(path, {kCircleUnits / 2, kCircleUnits / 2}, kRingOuter);
  AddCircle(path, {kCircleUnits / 2, kCircleUnits / 2}, kRingInner);
  RasterizeAdding(path, kCircleUnits, {picture.width(), picture.height()},
                  Moved(part, -picture.left, -picture.top), mask, picture.left - part.left,
                  picture.top - part.top, cells);
  Fade(mask, kCircleStrength);
  return mask;
}

void AddArrow(const PixelBox& from, const PixelBox& to, const PixelBox& reach,
              CoverageMask& coverage, const PixelBox& over, RowCellStore& cells) {
  const PixelBox part = Intersection(reach, over);
  if (IsEmpty(part)) return;
  const MaskSize size{reach.width(), reach.height()};
  const PathPoint start = Middle(from);
  const PathPoint tip = Middle(to);
  const double dx = tip.x - start.x, dy = tip.y - start.y;
  const double length = std::hypot(dx, dy);
  if (length <= 0) return;
  const double side = std::min(from.width(), from.height());
  const double ux = dx / length, uy = dy / length;  // along the arrow
  const double nx = -uy, ny = ux;                   // across it
  const double head = std::min(kHeadLength * side, length);
  const PathPoint base{tip.x - ux * head, tip.y - uy * head};
  const double shaft = kShaftHalfWidth * side;
  const double wing = kHeadHalfWidth * side;
  if (PassesBy(start, ux, uy, length, wing, part)) return;
  // Points in pixels from the reach's corner, then in the rasterizer's unit box: the unit box
  // is mapped onto the reach's width and height, so each axis is divided by its own side.
  const auto at = [&](PathPoint p, double across) -> PathPoint {
    return {(p.x + nx * across - reach.left) / size.width,
            (p.y + ny * across - reach.top) / size.height};
  };
  Path path(FillRule::kNonZero);
  path.MoveTo(at(start, shaft))
      .LineTo(at(base, shaft))
      .LineTo(at(base, wing))
      .LineTo(at(tip, 0))
      .LineTo(at(base, -wing))
      .LineTo(at(base, -shaft))
      .LineTo(at(start, -shaft))
      .Close();
  RasterizeAdding(path, 1.0, size, Moved(part, -reach.left, -reach.top), coverage,
                  reach.left - over.left, reach.top - over.top, cells);
}

void FadeArrows(CoverageMask& coverage) {
  Fade(coverage, kArrowStrength);
}

}  // namespace velmora
