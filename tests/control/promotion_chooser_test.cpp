// A ChessBoard's promotion chooser: shown over the board by the click or drop that reaches the
// last row, completed by a choice, closed with the move dropped by anything else.
#include <gtest/gtest.h>

#include "control/accessible_model.h"
#include "control/pointer_input.h"
#include "tests/support/control_fixture.h"
#include "view/accessible_parts.h"

namespace velmora::testing {
namespace {

enum class Ending {
  kChoose,
  kClickElsewhere,
  kEscape,
  kRightPress,
  kPutMove,
  kPutPosition,
  kFen,
  kOrientation
};

struct ChooserCase {
  const char* what;
  std::u16string fen, from, to;
  bool turned, drag;
  std::vector<std::u16string> squares;  // the chooser's, queen first
  std::u16string side;                  // whose pieces it offers
  Ending ending;
  std::size_t choice = 0;  // chosen: the square's place in `squares`, its letter, the board after
  std::u16string letter = u"";
  std::u16string after = u"";
};

constexpr std::u16string_view kWhite = u"4k3/1P6/8/8/8/8/8/4K3";
constexpr std::u16string_view kBlack = u"4k3/8/8/8/8/8/6p1/4K3";
const std::vector<std::u16string> kB8Down = {u"B8", u"B7", u"B6", u"B5"};
const std::vector<std::u16string> kG1Up = {u"G1", u"G2", u"G3", u"G4"};

class ChooserTest : public ChessBoardFixture, public ::testing::WithParamInterface<ChooserCase> {
 protected:
  std::int16_t N(std::u16string_view name) const {
    return SquareNumber(*ParseSquareName(name[0], name[1]));
  }
  PointerPoint CentreOf(std::int16_t part, std::int16_t held) const {
    const PixelBox box = *PartBox(control->surface(), grid, part);
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2, 0, held};
  }
  void Click(std::int16_t part, PointerButton button = PointerButton::kLeft) {
    const auto held = static_cast<std::int16_t>(button);
    pointer.Press(*control, grid, button, false, CentreOf(part, held));
    pointer.Release(*control, grid, button, CentreOf(part, 0));
  }
  // The events of a person's move; the keys' own are not.
  std::vector<RecordingHost::Event> MoveEvents() const {
    std::vector<RecordingHost::Event> events;
    for (const auto& entry : host.log()) {
      const auto* event = std::get_if<RecordingHost::Event>(&entry);
      if (event && (event->id == EventId::kChange || event->id == EventId::kBeforeMove ||
                    event->id == EventId::kAfterMove)) {
        events.push_back(*event);
      }
    }
    return events;
  }

  PixelGrid grid{DeviceScale::Times(1)};
  PointerInput pointer;
};

TEST_P(ChooserTest, ShowsFourChoicesOnTheFileThenMovesOrDrops) {
  const ChooserCase& c = GetParam();
  ASSERT_FALSE(control->Orientation(c.turned ? 1 : 0));
  ASSERT_FALSE(control->Fen(c.fen));
  host.Clear();
  const std::u16string fen = control->Fen();
  if (c.drag) {
    pointer.Press(*control, grid, PointerButton::kLeft, false, CentreOf(N(c.from), 1));
    pointer.Move(*control, grid, CentreOf(N(c.to), 1));
    pointer.Release(*control, grid, PointerButton::kLeft, CentreOf(N(c.to), 0));
  } else {
    Click(N(c.from));
    Click(N(c.to));
  }
  ASSERT_EQ(control->surface().Chooser(), N(c.to)) << "the gesture returned with it shown";
  EXPECT_EQ(LastPart(control->surface()), 69);
  const std::u16string pieces[] = {u" queen", u" rook", u" bishop", u" knight"};
  for (std::int16_t i = 0; i < 4; ++i) {
    const auto part = static_cast<std::int16_t>(kFirstChoicePart + i);
    EXPECT_EQ(DrawnControlOfPart(control->surface(), part),
              (ControlRef{ControlName::kSquarePicture, N(c.squares[i])}));
    EXPECT_EQ(DescribePart(*control, part)->name, c.side + pieces[i]);
  }
  std::int16_t escape = keys::kEscape, shift = 0;
  switch (c.ending) {
    case Ending::kChoose:
      Click(N(c.squares[c.choice]));
      break;
    case Ending::kClickElsewhere:
      Click(N(u"E1"));
      break;
    case Ending::kEscape:
      control->SurfaceKeyDown(escape, shift);
      break;
    case Ending::kRightPress:
      Click(N(c.to), PointerButton::kRight);
      break;
    case Ending::kPutMove:
      control->PutMove(u"");
      break;
    case Ending::kPutPosition:
      control->PutPosition(u"");
      break;
    case Ending::kFen:
      control->Fen(fen);
      break;
    case Ending::kOrientation:
      control->Orientation(control->Orientation());
      break;
  }
  EXPECT_EQ(control->surface().Chooser(), 0);
  EXPECT_EQ(LastPart(control->surface()), 65);
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_EQ(control->surface().Picked(), 0);
  using Event = RecordingHost::Event;
  const Event pick{EventId::kChange, {}};
  if (c.ending != Ending::kChoose) {
    EXPECT_EQ(control->Fen(), fen);
    EXPECT_EQ(MoveEvents(), std::vector<Event>{pick});
    return;
  }
  EXPECT_EQ(control->Fen(), c.after);
  const std::vector<std::u16string> move = {c.from, c.to, c.letter};
  EXPECT_EQ(MoveEvents(), (std::vector<Event>{pick, Event{EventId::kBeforeMove, {0}, move}, pick,
                                              Event{EventId::kAfterMove, {}, move}}));
}

INSTANTIATE_TEST_SUITE_P(
    Promotions, ChooserTest,
    ::testing::Values(
        ChooserCase{"white clicks the rook", std::u16string(kWhite), u"B7", u"B8", false, false,
                    kB8Down, u"white", Ending::kChoose, 1, u"R", u"1R2k3/8/8/8/8/8/8/4K3"},
        ChooserCase{"white turned drags the knight", std::u16string(kWhite), u"B7", u"B8", true,
                    true, kB8Down, u"white", Ending::kChoose, 3, u"N", u"1N2k3/8/8/8/8/8/8/4K3"},
        ChooserCase{"black drags the queen", std::u16string(kBlack), u"G2", u"G1", false, true,
                    kG1Up, u"black", Ending::kChoose, 0, u"q", u"4k3/8/8/8/8/8/8/4K1q1"},
        ChooserCase{"black turned clicks the bishop", std::u16string(kBlack), u"G2", u"G1", true,
                    false, kG1Up, u"black", Ending::kChoose, 2, u"b", u"4k3/8/8/8/8/8/8/4K1b1"},
        ChooserCase{"a click elsewhere", std::u16string(kWhite), u"B7", u"B8", false, false,
                    kB8Down, u"white", Ending::kClickElsewhere},
        ChooserCase{"Escape", std::u16string(kBlack), u"G2", u"G1", true, false, kG1Up, u"black",
                    Ending::kEscape},
        ChooserCase{"a right press", std::u16string(kWhite), u"B7", u"B8", true, true, kB8Down,
                    u"white", Ending::kRightPress},
        ChooserCase{"PutMove", std::u16string(kWhite), u"B7", u"B8", false, false, kB8Down,
                    u"white", Ending::kPutMove},
        ChooserCase{"PutPosition", std::u16string(kBlack), u"G2", u"G1", false, true, kG1Up,
                    u"black", Ending::kPutPosition},
        ChooserCase{"Fen", std::u16string(kWhite), u"B7", u"B8", true, false, kB8Down, u"white",
                    Ending::kFen},
        ChooserCase{"Orientation", std::u16string(kBlack), u"G2", u"G1", false, false, kG1Up,
                    u"black", Ending::kOrientation}),
    CaseName<ChooserCase>);

}  // namespace
}  // namespace velmora::testing
