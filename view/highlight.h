#pragma once

#include <cstdint>

#include "view/layout.h"
#include "view/rasterizer.h"

namespace velmora {

// The last move's two squares: a green-yellow laid over the square's own colour, so light and
// dark squares stay apart.
inline constexpr Rgb kLastMoveTint{155, 199, 0};
inline constexpr std::uint8_t kLastMoveOpacity = 105;
// The picked piece's square: a blue, stronger, which reads as slate over the dark squares and
// sky over the light ones, apart from the last move's green.
inline constexpr Rgb kSelectionTint{20, 100, 255};
inline constexpr std::uint8_t kSelectionOpacity = 160;

// A tint mixed once with the plain colour of the square it lies on: drawn opaque, it gives
// exactly the pixels a translucent fill would, in every front end, at a fill's cost.
constexpr Rgb TintedColour(Rgb tint, std::uint8_t opacity, Rgb square) {
  const auto mix = [opacity](int over, int below) {
    return static_cast<std::uint8_t>((over * opacity + below * (255 - opacity) + 127) / 255);
  };
  return {mix(tint.r, square.r), mix(tint.g, square.g), mix(tint.b, square.b)};
}
constexpr Rgb LastMoveColour(Rgb square) {
  return TintedColour(kLastMoveTint, kLastMoveOpacity, square);
}

// The promotion chooser: the board dimmed under a veil, each choice on a square of its own
// pale colour, apart from every theme's squares.
inline constexpr Rgb kChooserVeil{0, 0, 0};
inline constexpr std::uint8_t kChooserVeilOpacity = 128;
inline constexpr Rgb kChooserSquare{240, 240, 240};

// A king in check: a red glow under the piece.
inline constexpr Rgb kCheckGlow{230, 0, 0};

// The check glow over a square of `size` pixels: full in the middle, fading outward to nothing
// where it meets the square's edges, so no neighbouring square takes any of it. A pure function.
CoverageMask CheckGlowMask(MaskSize size);

}  // namespace velmora
