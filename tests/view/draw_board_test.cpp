#include "view/draw_board.h"

#include <gtest/gtest.h>

#include "tests/support/recording_observer.h"

namespace velmora {
namespace {

class DrawBoardTest : public ::testing::Test {
 protected:
  DrawBoardTest() { surface.SetObserver(&observer); }
  Surface surface;
  RecordingObserver observer;
};

// The empty squares swap the transparent icon for no picture, which looks the same.
TEST_F(DrawBoardTest, FirstRepaintOfTheInitialPositionChangesNothingVisible) {
  DrawBoard(Board::Initial(), surface);
  EXPECT_TRUE(observer.pictures.empty()) << "pieces already showed their design pictures";
  EXPECT_EQ(surface.PictureOf(20), Picture::kNone);
  observer.Clear();
  DrawBoard(Board::Initial(), surface);
  EXPECT_TRUE(observer.pictures.empty()) << "a second repaint changes nothing visible";
}

TEST_F(DrawBoardTest, OnlySquaresThatLookDifferentAreReported) {
  Board board = Board::Initial();
  board.SetCell({2, 5}, u'*');
  board.SetCell({4, 5}, u'P');
  DrawBoard(board, surface);
  EXPECT_EQ(observer.pictures, (std::vector<std::int16_t>{13, 29}));
}

TEST_F(DrawBoardTest, PieceTableOrder) {
  Board board = Board::Empty();
  const std::u16string_view letters = u"PBNQKRpbnqkr";
  for (std::int16_t i = 0; i < 12; ++i)
    board.SetCell(SquareOf(static_cast<std::int16_t>(i + 1)), letters[i]);
  DrawBoard(board, surface);
  for (std::int16_t i = 0; i < 12; ++i) {
    EXPECT_EQ(PieceIndex(surface.PictureOf(static_cast<std::int16_t>(i + 1))), i);
  }
  EXPECT_EQ(surface.PictureOf(13), Picture::kNone);
}

TEST_F(DrawBoardTest, UnknownCharactersKeepTheirPicturesAndTheRestIsPainted) {
  Board board = Board::Empty();
  board.SetCell({1, 1}, u'x');
  board.SetCell({8, 8}, u'r');
  DrawBoard(board, surface);
  EXPECT_EQ(surface.PictureOf(1), Picture::kWhiteRook);
  EXPECT_EQ(surface.PictureOf(64), Picture::kBlackRook);
  EXPECT_EQ(surface.PictureOf(2), Picture::kNone);
}

// The surface remembers what each square was drawn from; whatever else assigns a square makes
// the next repaint look at it again.
struct Interference {
  const char* name;
  std::int16_t square;  // assigned in between
  Picture assigned;
  char16_t cell;     // what the board holds there at the second repaint
  Picture expected;  // what the square shows after it
};

class DrawBoardAfterInterference : public ::testing::TestWithParam<Interference> {};

TEST_P(DrawBoardAfterInterference, RepaintBringsTheSquareBack) {
  const Interference c = GetParam();
  Surface surface;
  Board board = Board::Initial();
  board.SetCell({1, 3}, u'x');  // C1 holds no cell letter
  DrawBoard(board, surface);
  surface.SetPicture(c.square, c.assigned);
  board.SetCell(SquareOf(c.square), c.cell);
  RecordingObserver observer;
  surface.SetObserver(&observer);
  DrawBoard(board, surface);
  EXPECT_EQ(surface.PictureOf(c.square), c.expected);
  const bool changed = c.assigned != c.expected;
  EXPECT_EQ(observer.pictures,
            changed ? std::vector<std::int16_t>{c.square} : std::vector<std::int16_t>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawBoardAfterInterference,
    ::testing::Values(
        // A pick lifts E2's pawn; the repaint puts it back from the unchanged cell.
        Interference{"LiftedPieceComesBack", 13, Picture::kNone, u'P', Picture::kWhitePawn},
        // The same picture assigned again: nothing to report.
        Interference{"SamePictureAgain", 13, Picture::kWhitePawn, u'P', Picture::kWhitePawn},
        // A square whose cell changed with the assignment already matching it.
        Interference{"AlreadyShowsTheNewCell", 29, Picture::kWhitePawn, u'P', Picture::kWhitePawn},
        // A cell with no letter keeps what was assigned, as it keeps any picture.
        Interference{"UnknownCellKeepsTheAssignment", 3, Picture::kBlackKnight, u'x',
                     Picture::kBlackKnight},
        // A NUL cell too: no letter, whatever the surface remembers of the square.
        Interference{"NulCellKeepsTheAssignment", 3, Picture::kBlackKnight, u'\0',
                     Picture::kBlackKnight}),
    [](const ::testing::TestParamInfo<Interference>& param_info) {
      return std::string(param_info.param.name);
    });

TEST_F(DrawBoardTest, AMoveReportsOnlyItsTwoSquares) {
  Board board = Board::Initial();
  DrawBoard(board, surface);
  observer.Clear();
  board.SetCell({4, 5}, u'P');
  board.SetCell({2, 5}, u'*');
  DrawBoard(board, surface);
  EXPECT_EQ(observer.pictures, (std::vector<std::int16_t>{13, 29}));
}

TEST_F(DrawBoardTest, TheSpareHolderIsNeverTouched) {
  surface.SetPicture(0, Picture::kBlackQueen);
  DrawBoard(Board::Empty(), surface);
  EXPECT_EQ(surface.PictureOf(0), Picture::kBlackQueen);
  for (std::int16_t n : observer.pictures) EXPECT_GE(n, 1);
}

}  // namespace
}  // namespace velmora
