// Setting up a position: each gesture through the pointer and the keys as a front end delivers
// them, with the board before and after and the events it raises.
#include <gtest/gtest.h>

#include "control/pointer_input.h"
#include "tests/support/control_fixture.h"
#include "view/accessible_parts.h"
#include "view/announcement.h"
#include "view/spare_pieces.h"

namespace velmora::testing {
namespace {


struct EditCase {
  const char* what;
  const char16_t* before;  // a placement field
  // The gesture, one token a step: "drag:FROM:TO" (a square, "s<place>" or "off"), "click:X" (a
  // square or "s<place>"), "key:<letter>", "key:Shift+N", "key:Delete", "key:Escape",
  // "key:Ctrl+C", "paste:<text>".
  std::vector<std::string> steps;
  const char16_t* after;
  int edits;             // PositionEdited raised
  const char16_t* said;  // the last announcement's words
};

class EditModeTest : public ChessBoardFixture, public ::testing::WithParamInterface<EditCase> {
 protected:
  EditModeTest() {
    control->EditMode(true);
    grid = PixelGrid(ScaleOnArea(control->surface(), {0, 0, 400, 400}, 1));
  }
  PointerPoint At(const std::string& where, std::int16_t held) const {
    if (where == "off") return {-1, -1, 0, held};
    const PixelBox box = where[0] == 's'
                             ? grid.BoxOf({ControlName::kSpare,
                                           static_cast<std::int16_t>(std::stoi(where.substr(1)))},
                                          kSpareCell)
                             : *PartBox(control->surface(), grid,
                                        SquareNumber(*ParseSquareName(where[0], where[1])));
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2, 0, held};
  }
  void Key(std::int16_t code, std::int16_t shift) { control->SurfaceKeyDown(code, shift); }
  void Step(const std::string& step) {
    const auto colon = step.find(':');
    const std::string verb = step.substr(0, colon), rest = step.substr(colon + 1);
    if (verb == "drag") {
      const PointerPoint from = At(rest.substr(0, rest.find(':')), 1);
      const PointerPoint to = At(rest.substr(rest.find(':') + 1), 1);
      pointer.Press(*control, grid, PointerButton::kLeft, false, from);
      pointer.Move(*control, grid, {from.x + 10, from.y, 0, 1});
      pointer.Move(*control, grid, to);
      pointer.Release(*control, grid, PointerButton::kLeft, {to.x, to.y, 0, 0});
    } else if (verb == "click") {
      pointer.Press(*control, grid, PointerButton::kLeft, false, At(rest, 1));
      pointer.Release(*control, grid, PointerButton::kLeft, At(rest, 0));
    } else if (verb == "paste") {
      forms.CopyText(std::u16string(rest.begin(), rest.end()));
      Key(u'V', shift_bits::kCtrl);
    } else if (rest == "Delete") {
      Key(0x2E, 0);
    } else if (rest == "Escape") {
      Key(keys::kEscape, 0);
    } else if (rest.starts_with("Ctrl+")) {
      Key(rest.back(), shift_bits::kCtrl);
    } else {
      Key(rest.back(), rest.starts_with("Shift+") ? shift_bits::kShift : 0);
    }
  }

  PixelGrid grid{DeviceScale::Times(1)};
  PointerInput pointer;
};

TEST_P(EditModeTest, ChangesTheBoardAsTheGestureSaysOncePerGesture) {
  const EditCase& c = GetParam();
  ASSERT_FALSE(control->Fen(c.before));
  ASSERT_FALSE(control->LastMove(u"E2-E4"));
  ASSERT_FALSE(control->LegalMoves(u"E2-E4"));
  ASSERT_FALSE(control->GetMove(u"E7-E5"));
  host.Clear();
  for (const std::string& step : c.steps) Step(step);
  EXPECT_EQ(control->Fen(), c.after);
  EXPECT_EQ(host.CountEvents(EventId::kPositionEdited), c.edits);
  EXPECT_EQ(host.CountEvents(EventId::kBeforeMove) + host.CountEvents(EventId::kChange), 0);
  EXPECT_EQ(control->GetMove(), u"E7-E5");
  if (c.edits > 0) {
    EXPECT_EQ(control->LastMove() + control->CheckSquare() + control->LegalMoves(), u"");
  }
  if (*c.said) {
    EXPECT_EQ(AnnouncementWords(*control->surface().LastAnnouncement()), c.said);
  }
}

constexpr const char16_t* kStart = u"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
constexpr const char16_t* kEmpty = u"8/8/8/8/8/8/8/8";

INSTANTIATE_TEST_SUITE_P(
    Gestures, EditModeTest,
    ::testing::Values(
        EditCase{"spare dragged onto a square",
                 kEmpty,
                 {"drag:s7:D1"},
                 u"8/8/8/8/8/8/8/3Q4",
                 1,
                 u"white queen put on D1"},
        EditCase{"board piece dragged with no rule",
                 kStart,
                 {"drag:E2:E7"},
                 u"rnbqkbnr/ppppPppp/8/8/8/8/PPPP1PPP/RNBQKBNR",
                 1,
                 u"white pawn captures black pawn on E7"},
        EditCase{"board piece dropped off the board",
                 kStart,
                 {"drag:E2:off"},
                 u"rnbqkbnr/pppppppp/8/8/8/8/PPPP1PPP/RNBQKBNR",
                 1,
                 u"E2 emptied"},
        EditCase{"board piece dropped on a spare place",
                 kStart,
                 {"drag:D1:s3"},
                 u"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNB1KBNR",
                 1,
                 u"D1 emptied"},
        EditCase{"spare dropped off the board", kEmpty, {"drag:s7:off"}, kEmpty, 0, u""},
        EditCase{"armed piece put by each click",
                 kEmpty,
                 {"click:s4", "click:F6", "click:C6"},
                 u"8/8/2n2n2/8/8/8/8/8",
                 2,
                 u"black knight put on C6"},
        EditCase{"the armed place clicked again disarms",
                 kEmpty,
                 {"click:s4", "click:s4", "click:F6"},
                 kEmpty,
                 0,
                 u""},
        EditCase{"Escape disarms", kEmpty, {"click:s7", "key:Escape", "click:F6"}, kEmpty, 0, u""},
        EditCase{"the eraser empties",
                 kStart,
                 {"click:s12", "click:E2", "click:E4"},
                 u"rnbqkbnr/pppppppp/8/8/8/8/PPPP1PPP/RNBQKBNR",
                 1,
                 u"E2 emptied"},
        EditCase{"a letter puts a white piece on the focus square",
                 kEmpty,
                 {"click:C3", "key:Q"},
                 u"8/8/8/8/8/2Q5/8/8",
                 1,
                 u"white queen put on C3"},
        EditCase{"Shift with a letter a black one",
                 kEmpty,
                 {"click:C3", "key:Shift+N"},
                 u"8/8/8/8/8/2n5/8/8",
                 1,
                 u"black knight put on C3"},
        EditCase{"Delete empties",
                 kStart,
                 {"click:E2", "key:Delete"},
                 u"rnbqkbnr/pppppppp/8/8/8/8/PPPP1PPP/RNBQKBNR",
                 1,
                 u"E2 emptied"},
        EditCase{"a good paste loads",
                 kEmpty,
                 {"paste:4k3/8/8/8/8/8/8/4K3 w - - 0 1"},
                 u"4k3/8/8/8/8/8/8/4K3",
                 1,
                 u"position pasted"},
        EditCase{"a bad paste changes nothing",
                 kStart,
                 {"paste:hello"},
                 kStart,
                 0,
                 u"position not pasted: the clipboard holds no position record"}),
    CaseName<EditCase>);

// Whatever the host or a person puts, a copy pastes back as it was.
TEST_F(ChessBoardFixture, CopyThenPasteRoundTripsEveryPosition) {
  ASSERT_FALSE(control->EditMode(true));
  for (const char16_t* record :
       {u"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", u"8/8/8/8/8/8/8/8 w - - 0 1",
        u"QQQQQQQQ/Q7/8/8/8/8/8/8 w - - 0 1", u"PPPPPPPP/8/8/8/8/8/8/pppppppp w - - 0 1",
        u"r3k3/8/8/8/8/8/8/4K2R w Kq - 0 1"}) {
    ASSERT_FALSE(control->Fen(record));
    const auto press = [this](char16_t key) {
      std::int16_t code = key, ctrl = shift_bits::kCtrl;
      control->SurfaceKeyDown(code, ctrl);
    };
    press(u'C');
    ASSERT_FALSE(control->Fen(u"8/8/8/8/8/8/8/8"));
    press(u'V');
    press(u'C');
    EXPECT_EQ(forms.PastedText(), record);
  }
}

}  // namespace
}  // namespace velmora::testing
