#include "view/draw_board.h"

namespace velmora {

void DrawBoard(const Board& board, Surface& surface) {
  surface.DrawCells(board.Rows());
}

}  // namespace velmora
