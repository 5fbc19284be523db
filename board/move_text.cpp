#include "board/move_text.h"

namespace velmora {

HostCommand ParseHostCommand(std::u16string_view text) {
  if (text == kResetToken) return {HostCommandKind::kReset};
  if (text.size() != 5) return {HostCommandKind::kNothing};
  const auto from = ParseSquareName(text[0], text[1]);
  const auto to = ParseSquareName(text[3], text[4]);
  if (!from || !to) return {HostCommandKind::kOffBoard};
  return {HostCommandKind::kMove, MoveText{*from, *to}};
}

void ApplyMove(Board& board, MoveText move) {
  const char16_t piece = board.Cell(move.from);
  board.SetCell(move.from, kEmptyCell);
  board.SetCell(move.to, piece);
}

}  // namespace velmora
