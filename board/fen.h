#pragma once

#include <string>
#include <string_view>

#include "board/board.h"
#include "board/refusal.h"

namespace velmora {

// The placement field of a position record: rank 8 first, ranks separated by "/", a digit for
// each run of empty squares ("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR").
std::u16string PlacementField(const Board& board);

// A whole record of the board as it stands: white to move, castling rights wherever a king and a
// rook stand on their home squares, no en-passant square, the counters 0 and 1
// ("r3k2r/8/8/8/8/8/8/4K2R w Kkq - 0 1").
std::u16string PositionRecord(const Board& board);

// A placement field alone, or a whole record whose further fields (side to move, castling
// rights, en-passant square, the two counters) are checked for form and not used; returns the
// 64-character position text, row 1 first.
Parsed<std::u16string> PositionTextOfRecord(std::u16string_view record);

}  // namespace velmora
