#pragma once

#include <cstdint>

#include "view/layout.h"

namespace velmora {

// A board's colour scheme; the classic one is the first class's own.
enum class Theme : std::uint8_t { kBrown, kBlue, kGreen, kGrey, kContrast, kClassic };
inline constexpr std::int32_t kLastTheme = static_cast<std::int32_t>(Theme::kClassic);

// Where a board's coordinates are drawn: nowhere, in the corners of the edge squares, or in a
// margin round the board.
enum class Coordinates : std::uint8_t { kNone, kInside, kOutside };

// The colours of the light and the dark squares.
struct SquareColours {
  Rgb light, dark;
  friend bool operator==(SquareColours, SquareColours) = default;
};

SquareColours ThemeColours(Theme theme);
// What a fitted board leaves of its area is filled with this.
Rgb ThemeBackground(Theme theme);

// How a board looks: its squares' colours, the colour round it, where its coordinates are.
struct BoardLook {
  SquareColours squares = ThemeColours(Theme::kClassic);
  Rgb background = ThemeBackground(Theme::kClassic);
  Coordinates coordinates = Coordinates::kOutside;  // the design's labels round the board
  friend bool operator==(const BoardLook&, const BoardLook&) = default;
};

}  // namespace velmora
