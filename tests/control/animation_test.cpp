// Sliding pieces: which moves and loads slide, where a piece is at fixed times, what a frame
// repaints, and a new move landing only the slides it touches.
#include "control/animation.h"

#include <gtest/gtest.h>

#include "board/position_text.h"
#include "control/pointer_input.h"
#include "tests/support/control_fixture.h"
#include "tests/support/planned_boxes.h"
#include "view/display_list.h"
#include "view/repaint_plan.h"

namespace velmora::testing {
namespace {

const PixelGrid kGrid(DeviceScale::Times(1));

std::int16_t Number(std::u16string_view name) {
  return SquareNumber(*ParseSquareName(name[0], name[1]));
}

Board BoardOf(const std::u16string& position) {
  Board board;
  LoadPositionText(board, position);
  return board;
}

struct MatchCase {
  std::string what;
  std::u16string before, after;
  std::vector<PieceTrip> trips;
};

class Matching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Matching, ArrivalsFindTheNearestSquareTheirLetterLeft) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(MatchTrips(BoardOf(c.before), BoardOf(c.after)), c.trips);
}

INSTANTIATE_TEST_SUITE_P(
    Loads, Matching,
    ::testing::Values(MatchCase{"one move",
                                kInitialPosition,
                                Rows({u"RNBQKBNR", u"PPPP*PPP", u"********", u"****P***",
                                      u"********", u"********", u"pppppppp", u"rnbqkbnr"}),
                                {{u'P', 13, 29}}},
                      MatchCase{"castling moves king and rook",
                                Rows({u"R***K**R", u"********", u"********", u"********",
                                      u"********", u"********", u"********", u"****k***"}),
                                Rows({u"R****RK*", u"********", u"********", u"********",
                                      u"********", u"********", u"********", u"****k***"}),
                                {{u'R', 8, 6}, {u'K', 5, 7}}},
                      MatchCase{"the nearer rook of two",
                                Rows({u"R******R", u"********", u"********", u"********",
                                      u"********", u"********", u"********", u"****k***"}),
                                Rows({u"********", u"********", u"********", u"********",
                                      u"********", u"********", u"*******R", u"****k***"}),
                                {{u'R', 8, 56}}},
                      MatchCase{"a promoted piece appears at once",
                                Rows({u"****K***", u"********", u"********", u"********",
                                      u"********", u"********", u"P*******", u"****k***"}),
                                Rows({u"****K***", u"********", u"********", u"********",
                                      u"********", u"********", u"********", u"Q***k***"}),
                                {}},
                      MatchCase{"five arrivals animate nothing",
                                kInitialPosition,
                                Rows({u"RNBQKBNR", u"********", u"PPPPP***", u"********",
                                      u"********", u"********", u"pppppppp", u"rnbqkbnr"}),
                                {}}),
    CaseName<MatchCase>);

class Sliding : public ChessBoardFixture {
 protected:
  Sliding() { control->SetSurfaceObserver(&frames); }
  ~Sliding() override { control->SetSurfaceObserver(nullptr); }

  std::vector<SlidingPiece> Slides() const {
    std::vector<SlidingPiece> out;
    for (const auto& slide : control->surface().Sliding()) {
      if (slide) out.push_back(*slide);
    }
    return out;
  }
  // A piece sliding to `to`, its picture's corner at `at`'s picture's corner.
  static SlidingPiece At(Picture picture, std::u16string_view to, std::u16string_view at) {
    const Rect r = SurfaceRect(*FindControl({ControlName::kSquarePicture, Number(at)}));
    return {picture, Number(to), r.left, r.top};
  }
  static PixelBox PictureBox(std::u16string_view at) {
    const PixelBox r = kGrid.BoxOf(*FindControl({ControlName::kSquarePicture, Number(at)}));
    return {r.left, r.top, r.left + kGrid.picture_size().width,
            r.top + kGrid.picture_size().height};
  }

  PlannedBoxes frames{*control, kGrid};
};

TEST_F(Sliding, AHostMoveSlidesOverItsTimeFromTheFirstAdvance) {
  control->PutMove(u"E2-E4");
  EXPECT_EQ(control->board().Cell({4, 5}), u'P') << "the board changed at once";
  EXPECT_EQ(Slides(), (std::vector{At(Picture::kWhitePawn, u"E4", u"E2")}))
      << "shown where it starts until the clock moves it";
  EXPECT_TRUE(control->surface().IsLanding(Number(u"E4")));
  EXPECT_EQ(control->NextTickAt(), std::optional<std::int64_t>(0));

  control->Advance(1000);
  EXPECT_EQ(Slides(), (std::vector{At(Picture::kWhitePawn, u"E4", u"E2")}));
  EXPECT_TRUE(control->surface().IsLanding(Number(u"E4")));
  EXPECT_EQ(control->NextTickAt(), std::optional<std::int64_t>(1016));
  const DisplayList list = BuildDisplayList(control->surface(), u"");
  EXPECT_EQ(std::count_if(list.begin(), list.end(),
                          [](const PaintCommand& c) {
                            return c.source == ControlRef{ControlName::kSquarePicture, 29};
                          }),
            0)
      << "E4 shows nothing until the pawn lands";

  frames.boxes.clear();
  control->Advance(1075);
  EXPECT_EQ(Slides(), (std::vector{At(Picture::kWhitePawn, u"E4", u"E3")})) << "half way";
  EXPECT_EQ(frames.boxes, (std::vector{PictureBox(u"E2"), PictureBox(u"E3")}))
      << "a frame repaints the piece's old and new boxes only";

  frames.boxes.clear();
  control->Advance(1150);
  EXPECT_TRUE(Slides().empty());
  EXPECT_FALSE(control->surface().IsLanding(Number(u"E4")));
  EXPECT_EQ(frames.boxes, (std::vector{PictureBox(u"E3"), PictureBox(u"E4")}));
  EXPECT_EQ(control->NextTickAt(), std::nullopt);
}

TEST_F(Sliding, ANewMoveLandsOnlyTheSlidesItTouches) {
  ASSERT_FALSE(control->AnimationTime(200));
  Load(Rows({u"R***K**R", u"********", u"********", u"********", u"********", u"********",
             u"********", u"****k***"}));
  control->Advance(0);
  control->PutMove(u"E1-G1");  // a host's castling is two moves
  control->Advance(10);
  control->PutMove(u"H1-F1");
  control->Advance(20);
  ASSERT_EQ(Slides().size(), 2u) << "the rook's move does not cut the king's slide";
  control->PutMove(u"G1-G2");
  control->Advance(30);
  const auto slides = Slides();
  ASSERT_EQ(slides.size(), 2u);
  EXPECT_EQ(slides[0], At(Picture::kWhiteKing, u"G2", u"G1")) << "the king went on from G1";
  EXPECT_EQ(slides[1].to, Number(u"F1")) << "the rook slides on";
  EXPECT_NE(slides[1], At(Picture::kWhiteRook, u"F1", u"F1")) << "and has not landed";
}

TEST_F(Sliding, LoadsAndClicksSlideButDropsAndUserControl1DoNot) {
  control->PutPosition(Rows({u"RNBQKBNR", u"PPPP*PPP", u"********", u"****P***", u"********",
                             u"********", u"pppppppp", u"rnbqkbnr"}));
  control->Advance(0);
  EXPECT_EQ(Slides(), (std::vector{At(Picture::kWhitePawn, u"E4", u"E2")}));
  control->Advance(500);

  Click(u"G1");
  Click(u"F3");
  control->Advance(600);
  EXPECT_EQ(Slides(), (std::vector{At(Picture::kWhiteKnight, u"F3", u"G1")}));
  control->Advance(1000);

  PointerInput input;
  const auto centre = [](std::u16string_view name, int dx, std::int16_t held) {
    const PixelBox b = kGrid.BoxOf(*FindControl({ControlName::kSquarePicture, Number(name)}));
    return PointerPoint{(b.left + b.right) / 2 + dx, (b.top + b.bottom) / 2, 0, held};
  };
  input.Press(*control, kGrid, PointerButton::kLeft, false, centre(u"D2", 0, 1));
  input.Move(*control, kGrid, centre(u"D2", 6, 1));
  input.Move(*control, kGrid, centre(u"D4", 0, 1));
  input.Release(*control, kGrid, PointerButton::kLeft, centre(u"D4", 0, 0));
  EXPECT_EQ(control->GetMove(), u"D2-D4");
  EXPECT_EQ(control->NextTickAt(), std::nullopt) << "a dropped piece does not slide";

  ASSERT_FALSE(control->AnimationTime(0));
  control->PutMove(u"D4-D5");
  EXPECT_EQ(control->NextTickAt(), std::nullopt);

  const auto first = BoardControl::Create(forms, host);
  first->PutMove(u"E2-E4");
  EXPECT_EQ(first->NextTickAt(), std::nullopt);
}

TEST(Eased, StartsAndEndsSlowAndIsHalfWayAtHalfTime) {
  EXPECT_EQ(Eased(0), 0);
  EXPECT_EQ(Eased(0.5), 0.5);
  EXPECT_EQ(Eased(1), 1);
  EXPECT_LT(Eased(0.1), 0.1);
  EXPECT_GT(Eased(0.9), 0.9);
}

}  // namespace
}  // namespace velmora::testing
