#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "board/move_text.h"
#include "board/refusal.h"

namespace velmora {

// A square name in either case: "e4" and "E4" alike.
std::optional<Square> ParseSquareAnyCase(char16_t letter, char16_t digit);

// One token of a move list: a move text of five characters with "-" or "x" in the middle
// ("E2-E4", "e4xd5"), or a move as engines write it ("e2e4", "e7e8q"; the promotion letter is
// read and dropped, as the promotion prompt asks for the piece).
std::optional<MoveText> ParseMoveToken(std::u16string_view token);
// A move text only (no engine form): what LastMove takes.
std::optional<MoveText> ParseMoveTextToken(std::u16string_view token);

// Tokens separated by spaces; a move listed twice (a pawn's move to its last row with several
// promotion letters, say) is kept once. An empty text is the empty list. One bad token refuses
// the whole text.
Parsed<std::vector<MoveText>> ParseMoveList(std::u16string_view text);

// "E2-E4"; the separator is always "-".
std::u16string MoveTextOf(MoveText move);
// The list in move-text form, one space between moves: "E2-E4 E7-E8".
std::u16string MoveListText(std::span<const MoveText> moves);

}  // namespace velmora
