#include "board/board.h"

#include <gtest/gtest.h>

#include "board/failure.h"

namespace velmora {
namespace {

TEST(SquareTest, EveryNumberRoundTripsThroughRowColumnAndName) {
  for (std::int16_t n = 1; n <= 64; ++n) {
    const Square s = SquareOf(n);
    ASSERT_TRUE(IsOnBoard(s.row, s.col)) << n;
    EXPECT_EQ(SquareNumber(s), n);
    const std::u16string name = SquareName(s);
    EXPECT_EQ(ParseSquareName(name[0], name[1]), s) << n;
  }
}

TEST(SquareTest, MultiplesOfEightAreColumnH) {
  for (std::int16_t row = 1; row <= 8; ++row) {
    EXPECT_EQ(SquareOf(static_cast<std::int16_t>(row * 8)), (Square{row, 8}));
  }
  EXPECT_EQ(SquareName(SquareOf(1)), u"A1");
  EXPECT_EQ(SquareName(SquareOf(13)), u"E2");
  EXPECT_EQ(SquareName(SquareOf(57)), u"A8");
  EXPECT_EQ(SquareName(SquareOf(64)), u"H8");
}

TEST(SquareTest, NamesOutsideTheBoardDoNotParse) {
  for (auto name : {u"a1", u"I1", u"@1", u"A0", u"A9", u"E:", u"h8"}) {
    const std::u16string_view v(name);
    EXPECT_FALSE(ParseSquareName(v[0], v[1]).has_value()) << std::string(v.begin(), v.end());
  }
}

TEST(BoardTest, InitialPositionRowByRow) {
  EXPECT_EQ(Board::Initial().PositionText(),
            u"RNBQKBNRPPPPPPPP********************************pppppppprnbqkbnr");
  Board board = Board::Empty();
  ResetBoard(board);
  EXPECT_EQ(board, Board::Initial());
  EXPECT_EQ(board.Cell({1, 5}), u'K');
  EXPECT_EQ(board.Cell({8, 4}), u'q');
}

TEST(BoardTest, CellRewriteChangesOneCellOnly) {
  Board board = Board::Initial();
  board.SetCell({1, 1}, u'*');
  EXPECT_EQ(board.RowText(1), u"*NBQKBNR");
  board.SetCell({1, 8}, u'q');
  EXPECT_EQ(board.RowText(1), u"*NBQKBNq");
  EXPECT_EQ(board.RowText(2), u"PPPPPPPP");
}

TEST(BoardTest, RowIndexOutsideTheBoardIsAnIndexFailure) {
  Board board = Board::Initial();
  for (std::int16_t bad : {0, 9, -1}) {
    try {
      board.RowText(bad);
      FAIL() << bad;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.code(), Failure::kIndexOutOfRange);
    }
    EXPECT_THROW(board.SetCell({bad, 1}, u'K'), Failure);
    EXPECT_THROW(board.SetCell({1, bad}, u'K'), Failure);
  }
  EXPECT_EQ(board, Board::Initial());
}

}  // namespace
}  // namespace velmora
