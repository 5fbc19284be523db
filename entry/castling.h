#pragma once

#include <optional>
#include <string_view>

#include "board/board.h"

namespace velmora {

// Castling is recognised from the king's row alone, by four patterns tried in order:
//   "k", +2: row ends "k**r"   -> first four cells, then "*rk*"
//   "k", -2: row starts "r***k" -> "**kr*", then the last three cells
//   "K", +2: row ends "K**R"   -> first four cells, then "*RK*"
//   "K", -2: row starts "R***K" -> "**KR*", then the last three cells
// Nothing else is checked: not the king's own column, not earlier moves, not attacks.
// Returns the rewritten row, built from the row as it was, or nothing when no pattern holds.
std::optional<Board::Row> CastledRow(std::u16string_view row, char16_t king, int column_step);

}  // namespace velmora
