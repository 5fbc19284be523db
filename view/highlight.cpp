#include "view/highlight.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

// Distances from the middle, as parts of half the square: full strength up to the first, none
// from the second on.
constexpr double kSolidUpTo = 0.4;
constexpr double kGoneFrom = 1.0;
constexpr double kStrongest = 255;

}  // namespace

CoverageMask CheckGlowMask(MaskSize size) {
  CoverageMask mask{size,
                    std::vector<std::uint8_t>(static_cast<std::size_t>(std::max(size.width, 0)) *
                                              static_cast<std::size_t>(std::max(size.height, 0)))};
  const double half_x = size.width / 2.0;
  const double half_y = size.height / 2.0;
  std::size_t at = 0;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x, ++at) {
      // Pixel centres, so the mask is symmetric whatever the size.
      const double dx = (x + 0.5 - half_x) / half_x;
      const double dy = (y + 0.5 - half_y) / half_y;
      const double distance = std::sqrt(dx * dx + dy * dy);
      const double fade = std::clamp((kGoneFrom - distance) / (kGoneFrom - kSolidUpTo), 0.0, 1.0);
      mask.coverage[at] = static_cast<std::uint8_t>(std::lround(kStrongest * fade));
    }
  }
  return mask;
}

}  // namespace velmora
