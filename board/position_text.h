#pragma once

#include <string_view>

#include "board/board.h"

namespace velmora {

// What a text written into the position cell amounts to.
enum class PositionVerdict {
  kNothing,           // the empty text: no command
  kDataLengthError,   // not exactly 64 characters
  kInvalidCharacter,  // a character outside the cell letters
  kValid,
};

// Tests length first, then the characters in order; one verdict however many are wrong.
PositionVerdict CheckPositionText(std::u16string_view text);

// The message the person sees for a rejected text; empty for the other verdicts.
std::u16string_view MessageFor(PositionVerdict verdict);

// Replaces all eight rows; only for a text that CheckPositionText found valid.
void LoadPositionText(Board& board, std::u16string_view text);

}  // namespace velmora
