#pragma once

#include <cstdint>

#include "view/layout.h"
#include "view/rasterizer.h"

namespace velmora {

// The last move's two squares: a green-yellow laid over the square's own colour, so light and
// dark squares stay apart.
inline constexpr Rgb kLastMoveTint{155, 199, 0};
inline constexpr std::uint8_t kLastMoveOpacity = 105;

// The tint mixed once with the plain colour of the square it lies on: drawn opaque, it gives
// exactly the pixels a translucent fill would, in every front end, at a fill's cost.
constexpr Rgb LastMoveColour(Rgb square) {
  const auto mix = [](int over, int below) {
    return static_cast<std::uint8_t>(
        (over * kLastMoveOpacity + below * (255 - kLastMoveOpacity) + 127) / 255);
  };
  return {mix(kLastMoveTint.r, square.r), mix(kLastMoveTint.g, square.g),
          mix(kLastMoveTint.b, square.b)};
}

// A king in check: a red glow under the piece.
inline constexpr Rgb kCheckGlow{230, 0, 0};

// The check glow over a square of `size` pixels: full in the middle, fading outward to nothing
// where it meets the square's edges, so no neighbouring square takes any of it. A pure function.
CoverageMask CheckGlowMask(MaskSize size);

}  // namespace velmora
