#include "view/draw_board.h"

namespace velmora {

void DrawBoard(const Board& board, Surface& surface) {
  for (std::int16_t n = 1; n <= 64; ++n) {
    if (const auto picture = PictureForCell(board.Cell(SquareOf(n)))) {
      surface.SetPicture(n, *picture);
    }
  }
}

}  // namespace velmora
