#include "view/mark_shapes.h"

#include <algorithm>
#include <array>
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

// Whether the convex polygon `corners` (in order) and the box, grown by a pixel each way, have
// no point in common: some side of either parts them.
template <std::size_t n>
bool Apart(const std::array<PathPoint, n>& corners, const PixelBox& box) {
  const double left = box.left - 1.0, right = box.right + 1.0;
  const double top = box.top - 1.0, bottom = box.bottom + 1.0;
  const auto all = [&corners](auto outside) {
    return std::all_of(corners.begin(), corners.end(), outside);
  };
  if (all([&](PathPoint p) { return p.x < left; }) ||
      all([&](PathPoint p) { return p.x > right; }) ||
      all([&](PathPoint p) { return p.y < top; }) ||
      all([&](PathPoint p) { return p.y > bottom; })) {
    return true;
  }
  const std::array<PathPoint, 4> box_corners{PathPoint{left, top}, PathPoint{right, top},
                                             PathPoint{right, bottom}, PathPoint{left, bottom}};
  double turn = 0;  // the polygon's orientation, from its area's sign
  for (std::size_t i = 0; i < n; ++i) {
    const PathPoint a = corners[i], b = corners[(i + 1) % n];
    turn += a.x * b.y - b.x * a.y;
  }
  for (std::size_t i = 0; i < n; ++i) {
    const PathPoint a = corners[i], b = corners[(i + 1) % n];
    const auto outside = [&](PathPoint p) {
      return ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) * turn < 0;
    };
    if (std::all_of(box_corners.begin(), box_corners.end(), outside)) return true;
  }
  return false;
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
                  {part.left - picture.left, part.top - picture.top, part.right - picture.left,
                   part.bottom - picture.top},
                  mask, picture.left - part.left, picture.top - part.top, cells);
  Fade(mask, kCircleStrength);
  return mask;
}

void AddArrow(const PixelBox& from, const PixelBox& to, const PixelBox& reach,
              CoverageMask& coverage, const PixelBox& over, RowCellStore& cells) {
  const PixelBox part = Intersection(reach, over);
  const MaskSize size{reach.width(), reach.height()};
  const PathPoint start = Middle(from);
  const PathPoint tip = Middle(to);
  const double dx = tip.x - start.x, dy = tip.y - start.y;
  const double length = std::hypot(dx, dy);
  if (length <= 0 || IsEmpty(part)) return;
  const double side = std::min(from.width(), from.height());
  const double ux = dx / length, uy = dy / length;  // along the arrow
  const double nx = -uy, ny = ux;                   // across it
  const double head = std::min(kHeadLength * side, length);
  const PathPoint base{tip.x - ux * head, tip.y - uy * head};
  const double shaft = kShaftHalfWidth * side;
  const double wing = kHeadHalfWidth * side;
  const auto device = [&](PathPoint p, double across) -> PathPoint {
    return {p.x + nx * across, p.y + ny * across};
  };
  // Points in pixels from the reach's corner, then in the rasterizer's unit box: the unit box
  // is mapped onto the reach's width and height, so each axis is divided by its own side.
  const auto at = [&](PathPoint p, double across) -> PathPoint {
    const PathPoint d = device(p, across);
    return {(d.x - reach.left) / size.width, (d.y - reach.top) / size.height};
  };
  const std::array<PathPoint, 4> shaft_corners{device(start, shaft), device(base, shaft),
                                               device(base, -shaft), device(start, -shaft)};
  const std::array<PathPoint, 3> head_corners{device(base, wing), device(tip, 0),
                                              device(base, -wing)};
  if (Apart(shaft_corners, part) && Apart(head_corners, part)) return;
  Path path(FillRule::kNonZero);
  path.MoveTo(at(start, shaft))
      .LineTo(at(base, shaft))
      .LineTo(at(base, wing))
      .LineTo(at(tip, 0))
      .LineTo(at(base, -wing))
      .LineTo(at(base, -shaft))
      .LineTo(at(start, -shaft))
      .Close();
  RasterizeAdding(path, 1.0, size,
                  {part.left - reach.left, part.top - reach.top, part.right - reach.left,
                   part.bottom - reach.top},
                  coverage, reach.left - over.left, reach.top - over.top, cells);
}

void FadeArrows(CoverageMask& coverage) {
  Fade(coverage, kArrowStrength);
}

}  // namespace velmora
