#include "board/position_text.h"

#include <algorithm>

namespace velmora {

PositionVerdict CheckPositionText(std::u16string_view text) {
  if (text.empty()) return PositionVerdict::kNothing;
  if (text.size() != 64) return PositionVerdict::kDataLengthError;
  if (!std::all_of(text.begin(), text.end(), IsCellLetter)) {
    return PositionVerdict::kInvalidCharacter;
  }
  return PositionVerdict::kValid;
}

std::u16string_view MessageFor(PositionVerdict verdict) {
  switch (verdict) {
    case PositionVerdict::kDataLengthError:
      return u"Data Length Error";
    case PositionVerdict::kInvalidCharacter:
      return u"Invalid Character In Piece Array";
    default:
      return {};
  }
}

void LoadPositionText(Board& board, std::u16string_view text) {
  for (std::int16_t r = 1; r <= 8; ++r) {
    Board::Row row{};
    std::copy_n(text.begin() + (r - 1) * 8, 8, row.begin());
    board.SetRow(r, row);
  }
}

}  // namespace velmora
