#pragma once

#include "view/layout.h"
#include "view/rasterizer.h"

namespace velmora {

// How a legal destination is marked: a dot on an empty square, a ring round a piece it would
// take.
enum class DestinationShape : std::uint8_t { kDot, kRing };

inline constexpr Rgb kDestinationColour{20, 85, 30};

// The mark over a square's picture of `size` pixels, its coverage already faded to the mark's
// strength, so a canvas lays the colour over by it as it is.
CoverageMask DestinationMask(DestinationShape shape, MaskSize size);

}  // namespace velmora
