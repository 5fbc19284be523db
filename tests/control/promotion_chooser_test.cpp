// A ChessBoard's promotion chooser: the click or drop that reaches the last row shows it, a
// choice completes the move, anything else closes it and drops the move.
#include <gtest/gtest.h>

#include "control/accessible_model.h"
#include "control/pointer_input.h"
#include "tests/support/control_fixture.h"
#include "view/accessible_parts.h"

namespace velmora::testing {
namespace {

// A choice (queen to knight), or a way of closing the chooser.
enum End {
  kQueen,
  kRook,
  kBishop,
  kKnight,
  kElsewhere,
  kEscape,
  kRightPress,
  kPutMove,
  kFen,
  kPutPosition,
  kOrientation
};

struct ChooserCase {
  const char* what;
  bool black, turned, drag;
  End end;
};

class ChooserTest : public ChessBoardFixture, public ::testing::WithParamInterface<ChooserCase> {
 protected:
  static std::int16_t N(std::u16string_view square) {
    return SquareNumber(*ParseSquareName(square[0], square[1]));
  }
  PointerPoint At(std::u16string_view square, std::int16_t held = 0) const {
    const PixelBox box = *PartBox(control->surface(), grid, N(square));
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2, 0, held};
  }
  void Click(std::u16string_view square, PointerButton button = PointerButton::kLeft) {
    pointer.Press(*control, grid, button, false, At(square, static_cast<std::int16_t>(button)));
    pointer.Release(*control, grid, button, At(square));
  }

  PixelGrid grid{DeviceScale::Times(1)};
  PointerInput pointer;
};

TEST_P(ChooserTest, ShowsFourChoicesOnTheFileThenMovesOrDrops) {
  const ChooserCase& c = GetParam();
  const std::u16string from = c.black ? u"G2" : u"B7", to = c.black ? u"G1" : u"B8";
  ASSERT_FALSE(control->Orientation(c.turned ? 1 : 0));
  ASSERT_FALSE(control->Fen(c.black ? u"4k3/8/8/8/8/8/6p1/4K3" : u"4k3/1P6/8/8/8/8/8/4K3"));
  const std::u16string fen = control->Fen();
  host.Clear();
  if (c.drag) {
    pointer.Press(*control, grid, PointerButton::kLeft, false, At(from, 1));
    pointer.Move(*control, grid, At(to, 1));
    pointer.Release(*control, grid, PointerButton::kLeft, At(to));
  } else {
    Click(from);
    Click(to);
  }
  ASSERT_EQ(control->entry_state(), EntryState::kPrompting) << "the gesture returned";
  const std::u16string pieces[] = {u" queen", u" rook", u" bishop", u" knight"};
  for (int i = 0; i < 4; ++i) {
    const auto part = static_cast<std::int16_t>(kFirstChoicePart + i);
    const char16_t rank = static_cast<char16_t>(c.black ? u'1' + i : u'8' - i);
    EXPECT_EQ(*PartBox(control->surface(), grid, part),
              *PartBox(control->surface(), grid, N(std::u16string{to[0], rank})));
    EXPECT_EQ(DescribePart(*control, part)->name, (c.black ? u"black" : u"white") + pieces[i]);
  }
  std::int16_t escape = keys::kEscape, none = 0;
  if (c.end <= kKnight)
    Click(std::u16string{to[0], static_cast<char16_t>(to[1] + (c.black ? c.end : -c.end))});
  if (c.end == kElsewhere) Click(u"E1");
  if (c.end == kEscape) control->SurfaceKeyDown(escape, none);
  if (c.end == kRightPress) Click(to, PointerButton::kRight);
  if (c.end == kPutMove) control->PutMove(u"");
  if (c.end == kFen) control->Fen(fen);
  if (c.end == kPutPosition) control->PutPosition(u"");
  if (c.end == kOrientation) control->Orientation(control->Orientation());
  EXPECT_EQ(LastPart(control->surface()), 65);
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_EQ(control->surface().Picked(), 0);
  if (c.end > kKnight) {
    EXPECT_EQ(control->Fen(), fen);
    EXPECT_EQ(host.CountEvents(EventId::kChange), 1) << "the pick's alone";
    EXPECT_EQ(host.CountEvents(EventId::kBeforeMove) + host.CountEvents(EventId::kAfterMove), 0);
    return;
  }
  const std::u16string letter(1, (c.black ? u"qrbn" : u"QRBN")[c.end]);
  EXPECT_EQ(CellAt(to), letter[0]);
  EXPECT_EQ(CellAt(from), kEmptyCell);
  const std::vector<std::u16string> move = {from, to, letter};
  EXPECT_EQ(host.log(),
            (Entries{ChangeEvent(), RecordingHost::Event{EventId::kBeforeMove, {0}, move},
                     ChangeEvent(), RecordingHost::Event{EventId::kAfterMove, {}, move}}));
}

INSTANTIATE_TEST_SUITE_P(
    Promotions, ChooserTest,
    ::testing::Values(ChooserCase{"white_clicks_the_rook", false, false, false, kRook},
                      ChooserCase{"white_turned_drags_the_knight", false, true, true, kKnight},
                      ChooserCase{"black_drags_the_queen", true, false, true, kQueen},
                      ChooserCase{"black_turned_clicks_the_bishop", true, true, false, kBishop},
                      ChooserCase{"a_click_elsewhere", false, false, false, kElsewhere},
                      ChooserCase{"Escape", true, true, false, kEscape},
                      ChooserCase{"a_right_press", false, true, true, kRightPress},
                      ChooserCase{"PutMove", false, false, false, kPutMove},
                      ChooserCase{"Fen", false, true, false, kFen},
                      ChooserCase{"PutPosition", true, false, true, kPutPosition},
                      ChooserCase{"Orientation", true, false, false, kOrientation}),
    CaseName<ChooserCase>);

// A pawn the host put on its last row, picked and put back, makes no move: no chooser opens, so
// no later click completes a move nobody asked the host about.
TEST_F(ChooserTest, APawnPutBackOnItsLastRowOpensNoChooser) {
  ASSERT_FALSE(control->Fen(u"P3k3/8/8/8/8/8/8/4K3"));
  Click(u"A8");
  Click(u"A8");
  Click(u"A7");
  EXPECT_EQ(control->surface().Chooser(), 0);
  EXPECT_EQ(control->Fen(), u"P3k3/8/8/8/8/8/8/4K3");
  EXPECT_EQ(host.CountEvents(EventId::kAfterMove), 0);
}

}  // namespace
}  // namespace velmora::testing
