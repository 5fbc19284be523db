#pragma once

#include <cstdlib>
#include <optional>

#include "board/board.h"

namespace velmora {

// The square of the pawn an en passant takes: `pawn` goes from its fifth row (white's; black's
// fourth) one row forward and one column aside onto an empty square, and an opposing pawn stands
// beside `from` on that column. Nothing else is checked (not the opposing pawn's last move), as
// castling checks nothing but the row. Nothing when the move is no en passant.
inline std::optional<Square> PassedPawn(const Board& board, char16_t pawn, Square from, Square to) {
  const bool white = pawn == u'P';
  const Square passed{from.row, to.col};
  const bool taken = (white || pawn == u'p') && from.row == (white ? 5 : 4) &&
                     to.row == from.row + (white ? 1 : -1) && std::abs(to.col - from.col) == 1 &&
                     board.Cell(to) == kEmptyCell && board.Cell(passed) == (white ? u'p' : u'P');
  return taken ? std::optional<Square>(passed) : std::nullopt;
}

}  // namespace velmora
