#pragma once

#include <cstdint>
#include <string>

#include "board/board.h"
#include "view/display_list.h"
#include "view/layout.h"

namespace velmora {

// The spare pieces a board in edit mode stands beside, by place: 0 to 5 the far line (the side
// drawn at the top: black's with white at the bottom) king, queen, rook, bishop, knight, pawn;
// 6 to 11 the near line in the same order; 12 the eraser, at the end of the near line.
inline constexpr std::int16_t kSparePlaces = 13;
inline constexpr std::int16_t kEraserPlace = 12;

constexpr bool IsSparePlace(std::int16_t place) {
  return place >= 0 && place < kSparePlaces;
}

// The cell letter a place puts on a square as the board is drawn: the empty cell for the eraser.
char16_t SpareLetter(std::int16_t place, BoardOrientation orientation);
// "spare white queen", "eraser".
std::u16string SpareName(std::int16_t place, BoardOrientation orientation);

// A place's cell in twips, as its commands are placed: the cell's own corner is its origin.
inline constexpr Rect kSpareCell{0, 0, 720, 720};

}  // namespace velmora
