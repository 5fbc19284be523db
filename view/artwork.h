#pragma once

#include <array>
#include <cstdint>

#include "view/layout.h"
#include "view/picture.h"

namespace velmora {

// A design picture: a two-colour plane with a one-bit transparency mask.
enum class Ink : std::uint8_t { kTransparent, kBlack, kWhite };

inline constexpr int kIconSize = 48;  // pixels; 720 twips at 96 dots per inch

struct Icon {
  std::array<Ink, kIconSize * kIconSize> pixels;  // row by row, top row first

  Ink At(int x, int y) const { return pixels[static_cast<std::size_t>(y * kIconSize + x)]; }
};

// The icon of a piece picture or of the transparent design icon; nullptr for kNone.
const Icon* IconFor(Picture picture);

// The library's toolbox picture: 16 x 15 pixels, indexes into the standard 16-colour palette.
struct ToolboxPicture {
  static constexpr int kWidth = 16;
  static constexpr int kHeight = 15;
  std::array<std::uint8_t, kWidth * kHeight> pixels;  // row by row, top row first
  std::array<Rgb, 16> palette;
};

const ToolboxPicture& Toolbox();

}  // namespace velmora
