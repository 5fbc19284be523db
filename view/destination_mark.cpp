#include "view/destination_mark.h"

namespace velmora {
namespace {

constexpr double kUnits = 100;
constexpr double kDotRadius = 17;
constexpr double kRingOuter = 49;
constexpr double kRingInner = 41;
// How much of the colour shows at full coverage, out of 255.
constexpr unsigned kStrength = 128;

}  // namespace

CoverageMask DestinationMask(DestinationShape shape, MaskSize size) {
  Path path(FillRule::kEvenOdd);
  if (shape == DestinationShape::kDot) {
    AddCircle(path, {kUnits / 2, kUnits / 2}, kDotRadius);
  } else {
    AddCircle(path, {kUnits / 2, kUnits / 2}, kRingOuter);
    AddCircle(path, {kUnits / 2, kUnits / 2}, kRingInner);
  }
  CoverageMask mask = Rasterize(path, kUnits, size);
  for (std::uint8_t& coverage : mask.coverage) {
    coverage = static_cast<std::uint8_t>(coverage * kStrength / 255);
  }
  return mask;
}

}  // namespace velmora
