#pragma once

#include "board/board.h"
#include "view/surface.h"

namespace velmora {

// Brings all 64 square pictures into line with the board. Every square is assigned; the
// surface reports only those whose picture really changed. A cell holding a character that is
// no cell letter keeps its square's picture. The spare holder is never touched.
void DrawBoard(const Board& board, Surface& surface);

}  // namespace velmora
