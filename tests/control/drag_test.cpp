// Dragging pieces on a ChessBoard through the pointer input, and what a drag repaints.
#include <gtest/gtest.h>

#include "control/pointer_input.h"
#include "tests/support/control_fixture.h"
#include "tests/support/planned_boxes.h"
#include "view/repaint_plan.h"

namespace velmora::testing {
namespace {

const PixelGrid kGrid(DeviceScale::Times(1));
constexpr auto kL = PointerButton::kLeft;
constexpr std::int16_t kHeld = 1;

PointerPoint Centre(std::u16string_view name, int dx = 0, std::int16_t held = 0) {
  const std::int16_t n = SquareNumber(*ParseSquareName(name[0], name[1]));
  const PixelBox box = kGrid.BoxOf(*FindControl({ControlName::kSquarePicture, n}));
  return {(box.left + box.right) / 2 + dx, (box.top + box.bottom) / 2, 0, held};
}
const PointerPoint kOffBoard{3, 4, 0, 0};

class DragTest : public ChessBoardFixture {
 protected:
  void Press(const PointerPoint& at) { input.Press(*control, kGrid, kL, false, at); }
  void MoveTo(const PointerPoint& at) { input.Move(*control, kGrid, at); }
  void Release(const PointerPoint& at) { input.Release(*control, kGrid, kL, at); }
  // Press on `from`, go past the drag distance, and on to `to`, button held.
  void DragOnto(std::u16string_view from, std::u16string_view to) {
    Press(Centre(from, 0, kHeld));
    MoveTo(Centre(from, 5, kHeld));
    MoveTo(Centre(to, 0, kHeld));
  }

  PointerInput input;
};

TEST_F(DragTest, ADropIsTheDestinationClick) {
  DragOnto(u"E2", u"E4");
  ASSERT_TRUE(control->surface().Drag());
  EXPECT_EQ(control->GetMove(), u"E2") << "lifting is a pick";
  Release(Centre(u"E4"));
  EXPECT_EQ(CellAt(u"E4"), u'P');
  EXPECT_EQ(control->GetMove(), u"E2-E4");
  EXPECT_FALSE(control->surface().Drag());
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_EQ(host.CountEvents(EventId::kChange), 2);
  EXPECT_EQ(host.CountEvents(EventId::kBeforeMove), 1);
}

TEST_F(DragTest, WithinTheDragDistanceItIsAClick) {
  Press(Centre(u"E2", 0, kHeld));
  MoveTo(Centre(u"E2", 4, kHeld));
  EXPECT_FALSE(control->surface().Drag());
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  Release(Centre(u"E2", 4));
  EXPECT_EQ(control->entry_state(), EntryState::kPicked);
  EXPECT_EQ(control->GetMove(), u"E2");
}

// Each way a drag ends without a move leaves the piece picked and raises nothing more.
struct EndCase {
  const char* what;
  std::function<void(BoardControl&, PointerInput&)> end;
  PointerPoint release;
};

class DragEndTest : public DragTest, public ::testing::WithParamInterface<EndCase> {
 public:
  void Run() {
    DragOnto(u"G1", u"F3");
    ASSERT_TRUE(control->surface().Drag());
    host.Clear();
    GetParam().end(*control, input);
    Release(GetParam().release);
  }
};

TEST_P(DragEndTest, LeavesThePiecePicked) {
  Run();
  EXPECT_FALSE(control->surface().Drag());
  EXPECT_EQ(control->entry_state(), EntryState::kPicked);
  EXPECT_EQ(control->surface().Picked(), SquareNumber({1, 7}));
  EXPECT_EQ(CellAt(u"F3"), kEmptyCell);
  EXPECT_EQ(host.CountEvents(EventId::kChange), 0);
  EXPECT_TRUE(forms.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Ends, DragEndTest,
    ::testing::Values(
        EndCase{"off the board",
                [](BoardControl& c, PointerInput& in) {
                  in.Move(c, kGrid, {3, 4, 0, kHeld});
                },
                kOffBoard},
        EndCase{
            "own square",
            [](BoardControl& c, PointerInput& in) { in.Move(c, kGrid, Centre(u"G1", 0, kHeld)); },
            Centre(u"G1")},
        EndCase{"right button",
                [](BoardControl& c, PointerInput& in) {
                  in.Press(c, kGrid, PointerButton::kRight, false, Centre(u"F3", 0, kHeld | 2));
                },
                Centre(u"F3")},
        EndCase{"escape",
                [](BoardControl& c, PointerInput&) {
                  std::int16_t escape = keys::kEscape, no_shift = 0;
                  c.SurfaceKeyDown(escape, no_shift);
                },
                Centre(u"F3")},
        EndCase{"capture lost", [](BoardControl&, PointerInput& in) { in.CaptureLost(); },
                Centre(u"F3")},
        EndCase{"host loads",
                [](BoardControl& c, PointerInput&) { c.PutPosition(kInitialPosition); },
                Centre(u"F3")}),
    CaseName<EndCase>);

TEST_F(DragTest, AHostMoveDuringTheDragCancelsIt) {
  DragOnto(u"E2", u"E4");
  control->PutMove(u"D7-D5");
  EXPECT_FALSE(control->surface().Drag());
  Release(Centre(u"E4"));
  EXPECT_EQ(CellAt(u"E4"), kEmptyCell);
  EXPECT_EQ(control->entry_state(), EntryState::kPicked);
}

TEST_F(DragTest, OnlyThePickedPieceOrAnyWhenNothingIsPicked) {
  Click(u"E2");
  DragOnto(u"D2", u"D4");
  EXPECT_FALSE(control->surface().Drag());
  Release(Centre(u"D4"));
  DragOnto(u"E2", u"E3");
  ASSERT_TRUE(control->surface().Drag());
  Release(Centre(u"E3"));
  EXPECT_EQ(CellAt(u"E3"), u'P');
  EXPECT_EQ(CellAt(u"D2"), u'P');
}

TEST_F(DragTest, ADropOnAnUnlistedSquareIsRefused) {
  ASSERT_FALSE(control->LegalMoves(u"E2-E4"));
  DragOnto(u"E2", u"E5");
  Release(Centre(u"E5"));
  EXPECT_EQ(control->entry_state(), EntryState::kPicked);
  EXPECT_EQ(Position(), kInitialPosition);
  EXPECT_EQ(AnnouncementWords(*control->surface().LastAnnouncement()),
            u"E5 is not a legal move for the white pawn on E2");
}

TEST_F(DragTest, TheDraggedPieceIsLastAndItsSquareShowsItFaded) {
  DragOnto(u"E2", u"E4");
  const DisplayList list = BuildDisplayList(control->surface(), control->GetMove());
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.back().source, kDraggedPieceSource);
  EXPECT_EQ(list.back().picture, Picture::kWhitePawn);
  EXPECT_EQ(list.back().opacity, 255);
  const auto faded = std::find_if(list.begin(), list.end(), [](const PaintCommand& c) {
    return c.source == ControlRef{ControlName::kSquarePicture, 13};
  });
  ASSERT_NE(faded, list.end());
  EXPECT_EQ(faded->picture, Picture::kWhitePawn);
  EXPECT_LT(faded->opacity, 255);
}

TEST_F(DragTest, ADragFrameRepaintsTheOldAndNewPieceBoxesOnly) {
  PlannedBoxes counter(*control, kGrid);
  control->SetSurfaceObserver(&counter);
  DragOnto(u"E2", u"E4");
  counter.boxes.clear();
  const PointerPoint before = Centre(u"E4", 0, kHeld);
  MoveTo({before.x + 7, before.y + 3, 0, kHeld});
  const MaskSize piece = kGrid.picture_size();
  ASSERT_EQ(counter.boxes.size(), 2u);
  for (const PixelBox& box : counter.boxes) {
    EXPECT_EQ(box.width(), piece.width);
    EXPECT_EQ(box.height(), piece.height);
  }
  EXPECT_EQ(counter.boxes[1].left - counter.boxes[0].left, 7);
  EXPECT_EQ(counter.boxes[1].top - counter.boxes[0].top, 3);
  control->SetSurfaceObserver(&observer);
}

// On a board fitted to an area, off centre, the dragged piece is drawn under the pointer too.
TEST_F(DragTest, OnAFittedBoardTheDraggedPieceIsDrawnUnderThePointer) {
  const PixelGrid fitted(DeviceScale::BoardFit({10, 20, 413, 391}));
  const auto centre = [&](std::int16_t n, int dx) {
    const PixelBox box = fitted.BoxOf(*FindControl({ControlName::kSquarePicture, n}));
    return PointerPoint{(box.left + box.right) / 2 + dx, (box.top + box.bottom) / 2, 0, kHeld};
  };
  input.Press(*control, fitted, kL, false, centre(13, 0));
  input.Move(*control, fitted, centre(13, 5));
  const PointerPoint at = centre(29, 7);
  input.Move(*control, fitted, at);
  const PaintCommand dragged = BuildDisplayList(control->surface(), control->GetMove()).back();
  ASSERT_EQ(dragged.source, kDraggedPieceSource);
  EXPECT_TRUE(fitted.BoxOf(dragged.source, dragged.rect).Contains(at.x, at.y));
}

TEST_F(ControlFixture, AUserControl1DragsNothing) {
  PointerInput input;
  input.Press(*control, kGrid, kL, false, Centre(u"E2", 0, kHeld));
  input.Move(*control, kGrid, Centre(u"E4", 0, kHeld));
  input.Release(*control, kGrid, kL, Centre(u"E4"));
  EXPECT_FALSE(control->surface().Drag());
  EXPECT_EQ(Position(), kInitialPosition);
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_TRUE(host.log().empty());
}

}  // namespace
}  // namespace velmora::testing
