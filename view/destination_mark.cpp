#include "view/destination_mark.h"

namespace velmora {
namespace {

constexpr double kUnits = 100;
constexpr double kDotRadius = 17;
constexpr double kRingOuter = 49;
constexpr double kRingInner = 41;
// How much of the colour shows at full coverage, out of 255.
constexpr unsigned kStrength = 128;

// A circle of four cubic quarters, clockwise.
void AddCircle(Path& path, double r) {
  constexpr double c = kUnits / 2;
  constexpr double k = 0.5522847498;  // a quarter circle's control-point distance per radius
  path.MoveTo({c + r, c});
  path.CubicTo({c + r, c + k * r}, {c + k * r, c + r}, {c, c + r});
  path.CubicTo({c - k * r, c + r}, {c - r, c + k * r}, {c - r, c});
  path.CubicTo({c - r, c - k * r}, {c - k * r, c - r}, {c, c - r});
  path.CubicTo({c + k * r, c - r}, {c + r, c - k * r}, {c + r, c});
  path.Close();
}

}  // namespace

CoverageMask DestinationMask(DestinationShape shape, MaskSize size) {
  Path path(FillRule::kEvenOdd);
  if (shape == DestinationShape::kDot) {
    AddCircle(path, kDotRadius);
  } else {
    AddCircle(path, kRingOuter);
    AddCircle(path, kRingInner);
  }
  CoverageMask mask = Rasterize(path, kUnits, size);
  for (std::uint8_t& coverage : mask.coverage) {
    coverage = static_cast<std::uint8_t>(coverage * kStrength / 255);
  }
  return mask;
}

}  // namespace velmora
