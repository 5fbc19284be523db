#include "board/board.h"

#include <string>

#include "board/failure.h"

namespace velmora {
namespace {

constexpr std::array<std::u16string_view, 8> kInitialRows = {
    u"RNBQKBNR", u"PPPPPPPP", u"********", u"********",
    u"********", u"********", u"pppppppp", u"rnbqkbnr",
};

Board::Row RowFrom(std::u16string_view text) {
  Board::Row row{};
  for (std::size_t i = 0; i < row.size(); ++i) row[i] = text[i];
  return row;
}

}  // namespace

Board Board::Initial() {
  Board board;
  for (std::int16_t r = 1; r <= 8; ++r) board.SetRow(r, RowFrom(kInitialRows[r - 1]));
  return board;
}

Board Board::Empty() {
  Board board;
  for (auto& row : board.rows_) row.fill(kEmptyCell);
  return board;
}

void Board::OutOfRange() {
  throw Failure(Failure::kIndexOutOfRange, "Subscript out of range");
}

std::u16string_view Board::RowText(std::int16_t row) const {
  const Row& cells = rows_[Checked(row)];
  return {cells.data(), cells.size()};
}

void Board::SetRow(std::int16_t row, const Row& cells) {
  rows_[Checked(row)] = cells;
}

std::u16string Board::PositionText() const {
  std::u16string text;
  text.reserve(64);
  for (const Row& row : rows_) text.append(row.data(), row.size());
  return text;
}

void ResetBoard(Board& board) {
  board = Board::Initial();
}

}  // namespace velmora
