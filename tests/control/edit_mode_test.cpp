// Setting up a position: each gesture through the pointer and the keys as a front end delivers
// them, with the board before and after and the events it raises.
#include <gtest/gtest.h>

#include <sstream>

#include "control/pointer_input.h"
#include "tests/support/control_fixture.h"
#include "view/accessible_parts.h"
#include "view/spare_pieces.h"

namespace velmora::testing {
namespace {

class EditModeTest : public ChessBoardFixture {
 protected:
  EditModeTest() {
    control->EditMode(true);
    grid = PixelGrid(ScaleOnArea(control->surface(), {0, 0, 400, 400}, 1));
  }
  // A square ("E4"), a spare place ("s7") or "off" the board.
  PointerPoint At(const std::string& where, std::int16_t held) const {
    if (where == "off") return {-1, -1, 0, held};
    const auto place = [&] { return static_cast<std::int16_t>(std::stoi(where.substr(1))); };
    const PixelBox box = where[0] == 's'
                             ? grid.BoxOf({ControlName::kSpare, place()}, kSpareCell)
                             : *PartBox(control->surface(), grid,
                                        SquareNumber(*ParseSquareName(where[0], where[1])));
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2, 0, held};
  }
  void Key(std::int16_t code, std::int16_t shift = 0) { control->SurfaceKeyDown(code, shift); }
  // Words in order: a click ("s4", "F6"), a drag ("s7>D1", "E2>off"), a key ("Q", "+N" with
  // Shift, "^C" with Ctrl, "Del", "Esc"), a paste ("=<text>", spaces as "_"), another program
  // holding the clipboard open for the rest of the input ("busy").
  void Play(const std::string& input) {
    forms.SetClipboardBusy(false);
    std::istringstream words(input);
    for (std::string word; words >> word;) {
      const auto arrow = word.find('>');
      if (word == "busy") {
        forms.SetClipboardBusy(true);
      } else if (word[0] == '=') {
        std::replace(word.begin(), word.end(), '_', ' ');
        forms.SetClipboard(std::u16string(word.begin() + 1, word.end()));
        Key(u'V', shift_bits::kCtrl);
      } else if (word == "Del" || word == "Esc") {
        Key(word == "Del" ? 0x2E : keys::kEscape);
      } else if (word.size() == 1 || word[0] == '+' || word[0] == '^') {
        Key(word.back(), word[0] == '+'   ? shift_bits::kShift
                         : word[0] == '^' ? shift_bits::kCtrl
                                          : 0);
      } else if (arrow == std::string::npos) {
        pointer.Press(*control, grid, PointerButton::kLeft, false, At(word, 1));
        pointer.Release(*control, grid, PointerButton::kLeft, At(word, 0));
      } else {
        const PointerPoint from = At(word.substr(0, arrow), 1), to = At(word.substr(arrow + 1), 1);
        pointer.Press(*control, grid, PointerButton::kLeft, false, from);
        pointer.Move(*control, grid, {from.x + 10, from.y, 0, 1});
        pointer.Move(*control, grid, to);
        pointer.Release(*control, grid, PointerButton::kLeft, {to.x, to.y, 0, 0});
      }
    }
  }

  PixelGrid grid{DeviceScale::Times(1)};
  PointerInput pointer;
};

constexpr const char16_t* kStart = u"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
constexpr const char16_t* kNoE2 = u"rnbqkbnr/pppppppp/8/8/8/8/PPPP1PPP/RNBQKBNR";
constexpr const char16_t* kEmpty = u"8/8/8/8/8/8/8/8";

// No move is made, so neither BeforeMove, the chooser nor Change; GetMove stays, and every edit
// forgets the last move, the check and the legal moves.
TEST_F(EditModeTest, ChangesTheBoardAsTheGestureSaysOncePerGesture) {
  const struct {
    const char16_t* before;
    const char* input;
    const char16_t* after;
    int edits;             // PositionEdited raised
    const char16_t* said;  // the last announcement's words: the load's without an edit
  } cases[] = {
      {kEmpty, "s7>D1", u"8/8/8/8/8/8/8/3Q4", 1, u"white queen put on D1"},
      {kStart, "E2>E7", u"rnbqkbnr/ppppPppp/8/8/8/8/PPPP1PPP/RNBQKBNR", 1,
       u"white pawn captures black pawn on E7"},
      {kStart, "E2>off", kNoE2, 1, u"E2 emptied"},
      {u"8/8/8/8/8/8/P7/8", "A2>A8", u"P7/8/8/8/8/8/8/8", 1, u"white pawn A2 to A8"},
      {kStart, "D1>s3", u"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNB1KBNR", 1, u"D1 emptied"},
      {kEmpty, "s7>off", kEmpty, 0, u"new position"},
      {kEmpty, "s4 F6 C6", u"8/8/2n2n2/8/8/8/8/8", 2, u"black knight put on C6"},
      {kEmpty, "s4 s4 F6", kEmpty, 0, u"new position"},
      {kEmpty, "s7 Esc F6", kEmpty, 0, u"new position"},
      {kStart, "s12 E2 E4", kNoE2, 1, u"E2 emptied"},
      {kEmpty, "C3 Q", u"8/8/8/8/8/2Q5/8/8", 1, u"white queen put on C3"},
      {kEmpty, "C3 +N", u"8/8/8/8/8/2n5/8/8", 1, u"black knight put on C3"},
      {kStart, "E2 Del", kNoE2, 1, u"E2 emptied"},
      {kEmpty, "=4k3/8/8/8/8/8/8/4K3_w_-_-_0_1", u"4k3/8/8/8/8/8/8/4K3", 1, u"position pasted"},
      {kStart, "=hello", kStart, 0, u"position not pasted: the clipboard holds no position record"},
      {kStart, "busy ^V", kStart, 0, u"position not pasted: the clipboard is busy"},
      {kStart, "busy ^C", kStart, 0, u"position not copied: the clipboard is busy"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    ASSERT_FALSE(control->Fen(c.before));
    ASSERT_FALSE(control->LastMove(u"E2-E4"));
    ASSERT_FALSE(control->LegalMoves(u"E2-E4"));
    ASSERT_FALSE(control->GetMove(u"E7-E5"));
    host.Clear();
    Play(c.input);
    EXPECT_EQ(control->Fen(), c.after);
    EXPECT_EQ(host.CountEvents(EventId::kPositionEdited), c.edits);
    EXPECT_EQ(host.CountEvents(EventId::kBeforeMove) + host.CountEvents(EventId::kChange), 0);
    EXPECT_EQ(control->GetMove(), u"E7-E5");
    EXPECT_EQ(control->surface().Chooser(), 0);
    EXPECT_EQ(control->LastMove() + control->LegalMoves() == u"", c.edits > 0);
    EXPECT_EQ(AnnouncementWords(*control->surface().LastAnnouncement()), c.said);
    control->ClickSpare(control->surface().Armed());
  }
}

// Whatever the host or a person puts, a copy pastes back as it was.
TEST_F(EditModeTest, CopyThenPasteRoundTripsEveryPosition) {
  for (const char16_t* record :
       {u"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", u"8/8/8/8/8/8/8/8 w - - 0 1",
        u"QQQQQQQQ/Q7/8/8/8/8/8/8 w - - 0 1", u"PPPPPPPP/8/8/8/8/8/8/pppppppp w - - 0 1",
        u"r3k3/8/8/8/8/8/8/4K2R w Kq - 0 1"}) {
    ASSERT_FALSE(control->Fen(record));
    Play("^C");
    ASSERT_FALSE(control->Fen(kEmpty));
    Play("^V ^C");
    EXPECT_EQ(forms.clipboard(), record);
  }
}

}  // namespace
}  // namespace velmora::testing
