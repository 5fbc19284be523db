#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "board/square.h"

namespace velmora {

// Every character a cell may hold: the twelve piece letters and "*" for an empty square.
inline constexpr std::u16string_view kCellLetters = u"QKBNRPqkbnrp*";
inline constexpr char16_t kEmptyCell = u'*';

constexpr bool IsCellLetter(char16_t c) {
  return kCellLetters.find(c) != std::u16string_view::npos;
}

// The position: eight rows of eight cells. Upper-case letters are the white side, lower-case the
// black side. Rows keep eight characters by construction, so nothing can shift a square.
class Board {
 public:
  using Row = std::array<char16_t, 8>;

  // The initial position, upper-case side on rows 1 and 2.
  static Board Initial();
  // An empty board: every cell "*".
  static Board Empty();

  // Row and cell access check the index and throw Failure(kIndexOutOfRange) outside 1 to 8.
  std::u16string_view RowText(std::int16_t row) const;
  char16_t Cell(Square s) const { return rows_[Checked(s.row)][Checked(s.col)]; }
  // The cell rewrite: only the one cell changes, its row keeps its other seven characters.
  void SetCell(Square s, char16_t letter) { rows_[Checked(s.row)][Checked(s.col)] = letter; }
  void SetRow(std::int16_t row, const Row& cells);

  // All rows, row 1 first, unchecked: for code that walks the whole board.
  const std::array<Row, 8>& Rows() const { return rows_; }

  // The 64-character concatenation, row 1 first: character n - 1 is square number n.
  std::u16string PositionText() const;

  friend bool operator==(const Board&, const Board&) = default;

 private:
  // Inline, as cell access is most of a host move; the throw stays out of line.
  static std::size_t Checked(std::int16_t index) {
    if (index < 1 || index > 8) OutOfRange();
    return static_cast<std::size_t>(index - 1);
  }
  [[noreturn]] static void OutOfRange();

  std::array<Row, 8> rows_{};
};

// Loads the initial position; paints nothing.
void ResetBoard(Board& board);

}  // namespace velmora
