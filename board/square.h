#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// Rows and columns run 1 to 8; row 1 is the upper-case side's home row, column 1 is file A.
struct Square {
  std::int16_t row;
  std::int16_t col;

  friend bool operator==(Square, Square) = default;
};

constexpr bool IsOnBoard(std::int16_t row, std::int16_t col) {
  return row >= 1 && row <= 8 && col >= 1 && col <= 8;
}

// Square number n = (row - 1) * 8 + col, 1 to 64; it is also the index of the square's picture.
constexpr std::int16_t SquareNumber(Square s) {
  return static_cast<std::int16_t>((s.row - 1) * 8 + s.col);
}

// Defined for 1 to 64 only; callers hold square numbers that came from a click or a loop.
constexpr Square SquareOf(std::int16_t n) {
  return Square{static_cast<std::int16_t>((n - 1) / 8 + 1),
                static_cast<std::int16_t>((n - 1) % 8 + 1)};
}

// "E2": the column letter then the row digit.
inline std::u16string SquareName(Square s) {
  return std::u16string{static_cast<char16_t>(u'@' + s.col), static_cast<char16_t>(u'0' + s.row)};
}

// The inverse of SquareName; upper-case letters A to H and digits 1 to 8 only.
constexpr std::optional<Square> ParseSquareName(char16_t letter, char16_t digit) {
  if (letter < u'A' || letter > u'H' || digit < u'1' || digit > u'8') return std::nullopt;
  return Square{static_cast<std::int16_t>(digit - u'0'), static_cast<std::int16_t>(letter - u'@')};
}

}  // namespace velmora
