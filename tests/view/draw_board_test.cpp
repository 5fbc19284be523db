#include "view/draw_board.h"

#include <gtest/gtest.h>

#include "platform/headless/recording_observer.h"

namespace velmora {
namespace {

class DrawBoardTest : public ::testing::Test {
 protected:
  DrawBoardTest() { surface.SetObserver(&observer); }
  Surface surface;
  RecordingObserver observer;
};

TEST_F(DrawBoardTest, EmptySquaresGetNoPictureAndTheObserverHearsOnlyThose) {
  DrawBoard(Board::Initial(), surface);
  std::vector<std::int16_t> middle;
  for (std::int16_t n = 17; n <= 48; ++n) middle.push_back(n);
  EXPECT_EQ(observer.pictures, middle) << "pieces already showed their design pictures";
  EXPECT_EQ(surface.PictureOf(20), Picture::kNone);
  observer.Clear();
  DrawBoard(Board::Initial(), surface);
  EXPECT_TRUE(observer.pictures.empty()) << "a second repaint changes nothing visible";
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

TEST_F(DrawBoardTest, TheSpareHolderIsNeverTouched) {
  surface.SetPicture(0, Picture::kBlackQueen);
  DrawBoard(Board::Empty(), surface);
  EXPECT_EQ(surface.PictureOf(0), Picture::kBlackQueen);
  for (std::int16_t n : observer.pictures) EXPECT_GE(n, 1);
}

}  // namespace
}  // namespace velmora
