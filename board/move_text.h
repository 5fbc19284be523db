#pragma once

#include <string_view>

#include "board/board.h"

namespace velmora {

inline constexpr std::u16string_view kResetToken = u"**";

// A move text is five characters: from-square name, a separator that is never read, to-square
// name ("E2-E4", "E2xE4" alike).
struct MoveText {
  Square from;
  Square to;

  friend bool operator==(MoveText, MoveText) = default;
};

enum class HostCommandKind {
  kReset,     // the reset token "**"
  kMove,      // a five-character text naming two squares on the board
  kNothing,   // any other length: no command
  kOffBoard,  // five characters, but a square name outside A1..H8: refused, nothing changes
};

struct HostCommand {
  HostCommandKind kind;
  MoveText move{};  // meaningful for kMove only
};

HostCommand ParseHostCommand(std::u16string_view text);

// One displacement of one cell character: the from-square empties, then whatever stood there
// (an empty cell included) overwrites the to-square on the row as it now is.
void ApplyMove(Board& board, MoveText move);

}  // namespace velmora
