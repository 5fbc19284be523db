#include "view/draw_board.h"

namespace velmora {

void DrawBoard(const Board& board, Surface& surface) {
  std::int16_t n = 1;
  for (std::int16_t row = 1; row <= 8; ++row) {
    for (const char16_t cell : board.RowText(row)) {
      if (const auto picture = PictureForCell(cell)) surface.SetPicture(n, *picture);
      ++n;
    }
  }
}

}  // namespace velmora
