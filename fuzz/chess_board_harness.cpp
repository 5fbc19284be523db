#include "fuzz/chess_board_harness.h"

#include <algorithm>

#include "board/board.h"
#include "board/fen.h"
#include "fuzz/input_texts.h"
#include "view/accessible_parts.h"
#include "view/layout.h"
#include "view/spare_pieces.h"

namespace velmora::fuzz {
namespace {

using namespace std::string_view_literals;
constexpr auto npos = std::u16string_view::npos;

constexpr std::int16_t kLeftHeld = 1;
constexpr std::int16_t kEscape = 0x1B;
// Arrows, Space, Enter and Escape: the keys that move the focus, click and cancel.
constexpr std::int16_t kGestureKeys[] = {0x25, 0x26, 0x27, 0x28, 0x20, 0x0D, kEscape};
constexpr std::u16string_view kPromotionLetters = u"qrbn";
// Edit mode's keys: the piece letters (white, or black with Shift), Delete and Backspace.
constexpr std::int16_t kEditKeys[] = {'K', 'Q', 'R', 'B', 'N', 'P', 0x2E, 0x08};
constexpr std::int16_t kCtrl = 2;
// The area the board fills in edit mode, tall enough for the spare lines above and below.
constexpr PixelBox kEditArea{0, 0, 400, 480};

std::u16string NameOf(std::size_t index) {
  return {static_cast<char16_t>(u'A' + index % 8), static_cast<char16_t>(u'1' + index / 8)};
}

// A square name's index (row-major from A1), if the text is one.
std::optional<std::size_t> IndexOf(std::u16string_view name) {
  if (name.size() != 2 || name[0] < u'A' || name[0] > u'H' || name[1] < u'1' || name[1] > u'8') {
    return std::nullopt;
  }
  return static_cast<std::size_t>((name[1] - u'1') * 8 + (name[0] - u'A'));
}

bool IsKing(char16_t piece) {
  return piece == u'K' || piece == u'k';
}

// One token of a legal list in one of the four shapes a host may write.
std::u16string Token(std::size_t from, std::size_t to, std::size_t shape) {
  std::u16string from_name = NameOf(from), to_name = NameOf(to);
  switch (shape) {
    case 0:
      return from_name + u"-" + to_name;
    case 1:
      return from_name + u"x" + to_name;
    default: {
      std::u16string uci = from_name + to_name;
      for (char16_t& c : uci) c = static_cast<char16_t>(c >= u'A' && c <= u'H' ? c + 32 : c);
      if (shape > 2) uci += kPromotionLetters[shape % 4];
      return uci;
    }
  }
}

// The board after the asked move as a plain move or a promotion: the from-square empties and
// the to-square takes the moving piece (as it was lifted, even if the host has since written
// over its square) or the chosen one.
std::u16string AfterMove(std::u16string position, std::size_t from, std::size_t to, char16_t moving,
                         std::u16string_view promotion) {
  position[from] = kEmptyCell;
  position[to] = promotion.empty() ? moving : promotion[0];
  return position;
}

// A castling: the king went where it was asked to, and nothing changed outside its row.
bool IsCastling(const std::u16string& before, const std::u16string& now, std::size_t from,
                std::size_t to, char16_t moving) {
  if (!IsKing(moving) || now[to] != moving || now[from] != kEmptyCell) return false;
  for (std::size_t i = 0; i < 64; ++i) {
    if (i / 8 != from / 8 && now[i] != before[i]) return false;
  }
  return true;
}

// Putting a piece back on its own square asks nothing. After the host wrote over that square
// it puts the lifted piece back there; a pawn put back on its last row is promoted.
bool IsPutBack(const Snapshot& before, const Snapshot& now) {
  if (before.state != EntryState::kPicked) return false;
  const auto from = static_cast<std::size_t>((before.from_row - 1) * 8 + before.from_col - 1);
  const char16_t moving = before.moving_piece;
  const char16_t put = now.position[from];
  std::u16string expected = before.position;
  expected[from] = put;
  const bool promoted = (moving == u'P' && before.from_row == 8 && u"QRBN"sv.find(put) != npos) ||
                        (moving == u'p' && before.from_row == 1 && u"qrbn"sv.find(put) != npos);
  return now.position == expected && (put == moving || promoted);
}

// The cell a spare place puts, told apart here from how the control draws it: places 0 to 5
// are the far line (the side drawn at the top), 6 to 11 the near one, king to pawn; 12 empties.
char16_t SpareCell(std::int16_t place, bool black_at_bottom) {
  if (place == kEraserPlace) return kEmptyCell;
  const char16_t white = u"KQRBNP"[place % 6];
  const bool far = place < 6;
  return far == black_at_bottom ? white : static_cast<char16_t>(white - u'A' + u'a');
}

// The castling rights a copied record gives: a king and a rook on their home squares.
std::u16string CastlingOf(const std::u16string& position) {
  std::u16string rights;
  if (position[4] == u'K' && position[7] == u'R') rights += u'K';
  if (position[4] == u'K' && position[0] == u'R') rights += u'Q';
  if (position[60] == u'k' && position[63] == u'r') rights += u'k';
  if (position[60] == u'k' && position[56] == u'r') rights += u'q';
  return rights.empty() ? u"-" : rights;
}

}  // namespace

ChessBoardHarness::ChessBoardHarness() {
  control_ = BoardControl::Create(forms_, *this, ControlClass::kChessBoard);
  forms_.Attach(control_);
  control_->SurfaceFocus(true);
}

void ChessBoardHarness::Run(ByteReader& in) {
  while (!in.AtEnd()) Step(in);
}

void ChessBoardHarness::Step(ByteReader& in) {
  switch (in.Choice(8)) {
    case 0:
      WriteLegalMoves(in);
      break;
    case 1:
      HostWrite(in);
      break;
    case 2:
      if (control_->EditMode()) {
        EditDrag(in, false, false);
      } else {
        Drag(in);
      }
      break;
    case 3:
      EditGesture(in);
      break;
    case 4:
      Click(in);
      break;
    case 5:
      Key(in);
      break;
    case 6:
      veto_ = in.Flag();
      break;
    default:
      switch (in.Choice(4)) {
        case 0:
          control_->DragEnabled(in.Flag());
          break;
        case 1:
          control_->ShowLegalMoves(in.Flag());
          break;
        case 2:
          control_->Orientation(in.Flag() ? 1 : 0);
          break;
        default:
          RightGesture(in);
          break;
      }
      break;
  }
  const Snapshot now = Take(*control_);
  CheckBoardRows(now);
  CheckEntryAndPanels(now);
}

// --- the host -------------------------------------------------------------------------------

void ChessBoardHarness::WriteLegalMoves(ByteReader& in) {
  const std::u16string held = control_->LegalMoves();
  std::u16string text;
  if (in.Flag()) {
    const std::size_t count = in.Choice(7);
    for (std::size_t i = 0; i < count; ++i) {
      if (i > 0) text += u' ';
      const std::size_t from = in.Choice(64), to = in.Choice(64);
      text += Token(from, to, in.Choice(6));
    }
  } else {
    text = DecodeText(in, {held, control_->GetMove(), control_->PutMove()});
  }
  const Snapshot before = Take(*control_);
  const bool refused = control_->LegalMoves(text).has_value();
  RequireSame("writing the legal moves changed the board or the pick", before, Take(*control_));
  if (refused && control_->LegalMoves() != held) {
    Violation("a refused legal list changed the one in force", before);
  }
  ReadBackLegalList();
}

void ChessBoardHarness::ReadBackLegalList() {
  const std::u16string text = control_->LegalMoves();
  listed_.reset();
  any_listed_ = !text.empty();
  // Read back as five-character move texts separated by single spaces.
  for (std::size_t at = 0; at < text.size(); at += 6) {
    const std::u16string_view token = std::u16string_view(text).substr(at, 5);
    const auto from = IndexOf(token.substr(0, 2));
    const auto to = token.size() == 5 ? IndexOf(token.substr(3, 2)) : std::nullopt;
    if (!from || !to || (token[2] != u'-' && token[2] != u'x') ||
        (at + 5 < text.size() && text[at + 5] != u' ')) {
      Violation("the legal moves read back in another form", Take(*control_));
    }
    listed_.set(*from * 64 + *to);
  }
}

bool ChessBoardHarness::Listed(std::size_t from, std::size_t to) const {
  return !any_listed_ || listed_.test(from * 64 + to);
}

void ChessBoardHarness::HostWrite(ByteReader& in) {
  switch (in.Choice(4)) {
    case 0:
    case 1: {
      const std::size_t from = in.Choice(64), to = in.Choice(64);
      control_->PutMove(NameOf(from) + u"-" + NameOf(to));
      break;
    }
    case 2:
      control_->PutMove(u"**");
      break;
    default:
      control_->PutPosition(Board::Initial().PositionText());
      break;
  }
}

void ChessBoardHarness::RaiseEvent(EventId id, std::span<const EventArg> args) {
  if (id == EventId::kChange && asked_) ++changes_after_ask_;
  if (id == EventId::kChange) ++changes_;
  if (id == EventId::kPositionEdited) ++edits_;
  if (id != EventId::kBeforeMove) return;
  const Snapshot now = Take(*control_);
  if (asked_) Violation("one gesture asked the host about two moves", now);
  const auto* from = std::get<const std::u16string*>(args[0]);
  const auto* to = std::get<const std::u16string*>(args[1]);
  const auto* promotion = std::get<const std::u16string*>(args[2]);
  bool* cancel = std::get<bool*>(args[3]);
  const auto from_index = IndexOf(*from), to_index = IndexOf(*to);
  if (!from_index || !to_index) Violation("BeforeMove named no two squares", now);
  if (!Listed(*from_index, *to_index)) Violation("the host was asked about an unlisted move", now);
  if (now.position != gesture_start_.position) {
    Violation("the board changed before the host was asked", now);
  }
  asked_ = AskedMove{*from, *to, *promotion, control_->GetMove(), veto_};
  *cancel = veto_;
}

// --- the person -----------------------------------------------------------------------------

PointerPoint ChessBoardHarness::MiddleOf(std::int16_t square, std::int16_t held) const {
  const PixelBox box = *PartBox(control_->surface(), Grid(), square);
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2, 0, held};
}

PointerPoint ChessBoardHarness::SpareMiddle(std::int16_t place) const {
  const PixelBox box = Grid().BoxOf({ControlName::kSpare, place}, kSpareCell);
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2, 0, kLeftHeld};
}

PixelGrid ChessBoardHarness::Grid() const {
  if (!control_->EditMode()) return grid_;
  return PixelGrid(ScaleOnArea(control_->surface(), kEditArea, 1));
}

template <typename Gesture>
void ChessBoardHarness::Person(Gesture gesture) {
  gesture_start_ = Take(*control_);
  const std::size_t messages = forms_.messages().size();
  asked_.reset();
  changes_after_ask_ = 0;
  lifted_ = false;
  gesture();
  // A queued choice clicks the chooser the gesture showed, if it did.
  forms_.RunPending();
  CheckGesture(Take(*control_), messages);
}

void ChessBoardHarness::Drag(ByteReader& in) {
  const auto from = static_cast<std::int16_t>(in.Choice(64) + 1);
  const auto target = static_cast<std::int16_t>(in.Choice(64) + 1);
  if (in.Flag()) forms_.QueueChoiceClick(static_cast<std::int16_t>(in.Choice(8)));
  const std::size_t wanders = in.Choice(4);
  const std::size_t host_at = in.Choice(8);  // the host writes before this move, if any
  const std::size_t ending = in.Choice(6);
  Person([&] {
    const PointerPoint start = MiddleOf(from, kLeftHeld);
    pointer_.Press(*control_, Grid(), PointerButton::kLeft, false, start);
    PointerPoint at = start;
    for (std::size_t i = 0; i <= wanders; ++i) {
      if (i == host_at) {
        HostWrite(in);
        // A write that changed no cell ran nothing; any other ends the drag.
        const Snapshot written = Take(*control_);
        if (control_->surface().Drag() && (written.put_move != gesture_start_.put_move ||
                                           written.position != gesture_start_.position)) {
          Violation("a host write left a drag going", written);
        }
        gesture_start_ = written;
      }
      at = i == wanders ? MiddleOf(target, kLeftHeld)
                        : PointerPoint{in.Word() % 800 - 100, in.Word() % 800 - 100, 0, kLeftHeld};
      pointer_.Move(*control_, Grid(), at);
      if (const auto& drag = control_->surface().Drag()) {
        lifted_ = true;
        if (!control_->DragEnabled())
          Violation("a piece was dragged with dragging off", Take(*control_));
        const auto lifted = static_cast<std::size_t>(drag->square - 1);
        // A piece picked before the list was written may still be carried.
        const Snapshot& begun = gesture_start_;
        bool has_move =
            !any_listed_ ||
            (begun.state == EntryState::kPicked &&
             static_cast<std::size_t>((begun.from_row - 1) * 8 + begun.from_col - 1) == lifted);
        for (std::size_t to = 0; to < 64 && !has_move; ++to)
          has_move = listed_.test(lifted * 64 + to);
        if (!has_move) Violation("a piece with no listed move was lifted", Take(*control_));
      }
    }
    switch (ending) {
      case 0:  // off the board
        at = {-5, -5, 0, kLeftHeld};
        pointer_.Move(*control_, Grid(), at);
        break;
      case 1:  // a right press cancels
        pointer_.Press(*control_, Grid(), PointerButton::kRight, false, {at.x, at.y, 0, 3});
        pointer_.Release(*control_, Grid(), PointerButton::kRight, {at.x, at.y, 0, kLeftHeld});
        break;
      case 2: {  // Escape
        std::int16_t key = kEscape, shift = 0;
        control_->SurfaceKeyDown(key, shift);
        break;
      }
      case 3:  // another window takes the pointer
        pointer_.CaptureLost();
        break;
      default:
        break;
    }
    pointer_.Release(*control_, Grid(), PointerButton::kLeft, {at.x, at.y, 0, 0});
    if (control_->surface().Drag()) Violation("a drag outlived its release", Take(*control_));
  });
}

// A right click or drag draws or takes away the person's marks and nothing else: no piece
// moves, nothing is picked or put down, and the host is asked nothing.
void ChessBoardHarness::RightGesture(ByteReader& in) {
  constexpr std::int16_t kRightHeld = 2;
  constexpr std::int16_t kShifts[] = {0, 1, 2, 4};
  const auto from = static_cast<std::int16_t>(in.Choice(64) + 1);
  const std::size_t target = in.Choice(66);  // a square, its own square again, or off the board
  const std::int16_t shift = kShifts[in.Choice(std::size(kShifts))];
  const Snapshot before = Take(*control_);
  asked_.reset();
  PointerPoint at = MiddleOf(from, kRightHeld);
  at.shift = shift;
  pointer_.Press(*control_, Grid(), PointerButton::kRight, false, at);
  if (target < 64) at = MiddleOf(static_cast<std::int16_t>(target + 1), kRightHeld);
  if (target == 65) at = {-5, -5, shift, kRightHeld};
  at.shift = shift;
  pointer_.Move(*control_, Grid(), at);
  at.buttons_held = 0;
  pointer_.Release(*control_, Grid(), PointerButton::kRight, at);
  const Snapshot now = Take(*control_);
  if (before.chooser == 0) {
    RequireSame("a right-button gesture changed the board or the pick", before, now);
  } else if (now.chooser != 0 || now.state != EntryState::kIdle ||
             now.position != before.position) {
    Violation("a right press left the chooser or its move", before, now);
  }
  if (asked_) Violation("a right-button gesture asked the host about a move", before);
}

void ChessBoardHarness::Click(ByteReader& in) {
  const auto n = static_cast<std::int16_t>(in.Choice(64) + 1);
  if (in.Flag()) forms_.QueueChoiceClick(static_cast<std::int16_t>(in.Choice(8)));
  if (!control_->EditMode()) return Person([&] { control_->ClickSquare(n); });
  BeginEdit();
  const auto armed = ArmedCell();
  control_->ClickSquare(n);
  forms_.RunPending();
  CheckEdit(armed ? WithCell(n, *armed) : gesture_start_.position);
}

void ChessBoardHarness::Key(ByteReader& in) {
  std::int16_t key = kGestureKeys[in.Choice(std::size(kGestureKeys))], shift = 0;
  if (in.Flag()) forms_.QueueChoiceClick(static_cast<std::int16_t>(in.Choice(8)));
  if (!control_->EditMode()) return Person([&] { control_->SurfaceKeyDown(key, shift); });
  // Space and Enter click the focus square; Escape disarms the armed place.
  BeginEdit();
  const std::int16_t n = TakeFocus(*control_).square;
  const auto armed = key == 0x20 || key == 0x0D ? ArmedCell() : std::nullopt;
  PressKey(key, shift);
  CheckEdit(armed ? WithCell(n, *armed) : gesture_start_.position);
  if (key == kEscape && control_->surface().Armed() != -1) {
    Violation("Escape left a spare place armed", Take(*control_));
  }
}

void ChessBoardHarness::CheckGesture(const Snapshot& now, std::size_t messages_before) {
  const Snapshot& before = gesture_start_;
  if (lifted_ && forms_.messages().size() != messages_before) {
    Violation("a drag showed a message box", now);
  }
  if (!asked_) {
    if (now.position != before.position && !IsPutBack(before, now)) {
      Violation("a person changed the board without asking the host", before, now);
    }
    return;
  }
  const std::size_t from = *IndexOf(asked_->from), to = *IndexOf(asked_->to);
  if (asked_->cancelled) {
    if (now.position != before.position) Violation("a vetoed move changed the board", now);
    if (changes_after_ask_ != 0) Violation("a vetoed move raised Change", now);
    if (now.get_move != asked_->get_move) Violation("a vetoed move changed GetMove", now);
    if (now.state != EntryState::kPicked ||
        now.from_row != static_cast<std::int16_t>(from / 8 + 1) ||
        now.from_col != static_cast<std::int16_t>(from % 8 + 1)) {
      Violation("a vetoed move did not leave its piece picked", now);
    }
    return;
  }
  const bool promotes = !asked_->promotion.empty();
  if (promotes &&
      (asked_->promotion.size() != 1 ||
       std::u16string_view(u"QRBNqrbn").find(asked_->promotion[0]) == std::u16string_view::npos)) {
    Violation("BeforeMove named no promotion piece", now);
  }
  const char16_t moving =
      before.state == EntryState::kPicked ? before.moving_piece : before.position[from];
  const std::u16string plain = AfterMove(before.position, from, to, moving, asked_->promotion);
  const bool castled = !promotes && now.position != plain &&
                       IsCastling(before.position, now.position, from, to, moving);
  // An en passant also takes the opposing pawn beside the from-square, on the to-square's column.
  std::u16string passed_taken = plain;
  passed_taken[from / 8 * 8 + to % 8] = kEmptyCell;
  const bool en_passant = (moving == u'P' || moving == u'p') && now.position == passed_taken &&
                          plain[from / 8 * 8 + to % 8] == (moving == u'P' ? u'p' : u'P');
  if (!castled && !en_passant && now.position != plain) {
    Violation("an allowed move is not exactly the move the host was asked about", before, now);
  }
}

// --- edit mode ----------------------------------------------------------------------------

void ChessBoardHarness::EditGesture(ByteReader& in) {
  switch (in.Choice(6)) {
    case 0:
      return SwitchEditMode(in.Flag());
    case 1:
      return EditDrag(in, true, false);
    case 2:  // a board drag in either mode, EditMode written in its middle
      return EditDrag(in, false, true);
    case 3:
      return SpareClick(in);
    case 4:
      return EditKey(in);
    default:
      return Clipboard(in);
  }
}

void ChessBoardHarness::SwitchEditMode(bool on) {
  BeginEdit();
  control_->EditMode(on);
  const Snapshot now = Take(*control_);
  if (now.position != gesture_start_.position || control_->surface().Drag() ||
      now.state != EntryState::kIdle || now.chooser != 0 || edits_ != 0 || asked_) {
    Violation("switching EditMode changed the board or left a drag, a pick or the chooser",
              gesture_start_, now);
  }
}

void ChessBoardHarness::BeginEdit() {
  gesture_start_ = Take(*control_);
  messages_before_ = forms_.messages().size();
  asked_.reset();
  changes_after_ask_ = 0;
  changes_ = 0;
  edits_ = 0;
  lifted_ = false;
}

std::u16string ChessBoardHarness::WithCell(std::int16_t n, char16_t cell) const {
  std::u16string position = gesture_start_.position;
  position[static_cast<std::size_t>(n - 1)] = cell;
  return position;
}

std::optional<char16_t> ChessBoardHarness::ArmedCell() const {
  const std::int16_t armed = control_->surface().Armed();
  if (armed < 0) return std::nullopt;
  return SpareCell(armed, control_->Orientation() == 1);
}

void ChessBoardHarness::PressKey(std::int16_t key, std::int16_t shift) {
  control_->SurfaceKeyDown(key, shift);
  forms_.RunPending();
}

void ChessBoardHarness::CheckEdit(const std::u16string& expected, bool pasted,
                                  bool changes_allowed) {
  const Snapshot now = Take(*control_);
  if (now.position != expected) {
    Snapshot wanted = gesture_start_;
    wanted.position = expected;
    Violation("an edit changed the board otherwise than its gesture says", wanted, now);
  }
  const bool changed = now.position != gesture_start_.position;
  if (edits_ != ((changed || pasted) ? 1 : 0)) {
    Violation("PositionEdited was not raised exactly once for a change", gesture_start_, now);
  }
  if (asked_) Violation("an edit asked the host about a move", now);
  if (changes_ != 0 && !changes_allowed) Violation("an edit raised Change", now);
  if (forms_.messages().size() != messages_before_) Violation("an edit showed a message box", now);
  if (edits_ == 0) return;
  if (now.get_move != gesture_start_.get_move) Violation("an edit changed GetMove", now);
  if (!control_->LastMove().empty() || !control_->CheckSquare().empty() ||
      !control_->LegalMoves().empty()) {
    Violation("an edit kept the last move, the check or the legal list", now);
  }
  ReadBackLegalList();
}

void ChessBoardHarness::EditDrag(ByteReader& in, bool spare, bool always_switch) {
  const auto from = static_cast<std::int16_t>(spare ? in.Choice(kSparePlaces) : in.Choice(64) + 1);
  const std::size_t target = in.Choice(65);  // a square, or off the board
  const std::size_t wanders = in.Choice(4);
  const std::size_t switch_at = always_switch ? in.Choice(wanders + 1) : in.Choice(8);
  const bool switch_to = in.Flag();
  const std::size_t ending = in.Choice(6);
  const bool editing_at_start = control_->EditMode();
  // Outside edit mode there are no spare places to press.
  if (spare && !editing_at_start) return;
  BeginEdit();
  const char16_t spare_cell = spare ? SpareCell(from, control_->Orientation() == 1) : kEmptyCell;
  const PointerPoint start = spare ? SpareMiddle(from) : MiddleOf(from, kLeftHeld);
  pointer_.Press(*control_, Grid(), PointerButton::kLeft, false, start);
  PointerPoint at = start;
  for (std::size_t i = 0; i <= wanders; ++i) {
    if (i == switch_at) {
      control_->EditMode(switch_to);
      // It changes no cell and ends any pick: the gesture goes on from here.
      gesture_start_ = Take(*control_);
    }
    at = i < wanders   ? PointerPoint{in.Word() % 800 - 100, in.Word() % 800 - 100, 0, kLeftHeld}
         : target < 64 ? MiddleOf(static_cast<std::int16_t>(target + 1), kLeftHeld)
                       : PointerPoint{-5, -5, 0, kLeftHeld};
    pointer_.Move(*control_, Grid(), at);
    if (control_->surface().Drag()) lifted_ = true;
  }
  switch (ending) {
    case 0:  // a right press cancels
      pointer_.Press(*control_, Grid(), PointerButton::kRight, false, {at.x, at.y, 0, 3});
      pointer_.Release(*control_, Grid(), PointerButton::kRight, {at.x, at.y, 0, kLeftHeld});
      break;
    case 1:
      PressKey(kEscape, 0);
      break;
    case 2:
      pointer_.CaptureLost();
      break;
    default:
      break;
  }
  const std::optional<DraggedPiece> live = control_->surface().Drag();
  const bool editing = control_->EditMode();
  const std::optional<char16_t> armed = ArmedCell();
  pointer_.Release(*control_, Grid(), PointerButton::kLeft, {at.x, at.y, 0, 0});
  forms_.RunPending();
  // Switched off before the piece was lifted, it was a drag as any other.
  if (!editing) {
    if (edits_ != 0) Violation("PositionEdited outside edit mode", Take(*control_));
    return CheckGesture(Take(*control_), messages_before_);
  }
  // What the release does: drops a live drag, or clicks the square it was pressed on.
  std::u16string expected = gesture_start_.position;
  const auto onto = static_cast<std::int16_t>(target + 1);
  if (live && live->square == 0 && target < 64) {
    expected = WithCell(onto, spare_cell);
  } else if (live && live->square != 0) {
    const auto lifted_from = static_cast<std::size_t>(live->square - 1);
    if (target < 64 && onto != live->square) expected[target] = expected[lifted_from];
    if (onto != live->square) expected[lifted_from] = kEmptyCell;
  } else if (!live && !lifted_ && !spare && onto == from && ending != 2 && armed) {
    expected = WithCell(from, *armed);
  }
  CheckEdit(expected, false, !editing_at_start);
}

void ChessBoardHarness::SpareClick(ByteReader& in) {
  const auto place = static_cast<std::int16_t>(in.Choice(kSparePlaces));
  if (!control_->EditMode()) return;
  BeginEdit();
  const std::int16_t armed = control_->surface().Armed();
  const PointerPoint at = SpareMiddle(place);
  pointer_.Press(*control_, Grid(), PointerButton::kLeft, false, at);
  pointer_.Release(*control_, Grid(), PointerButton::kLeft, {at.x, at.y, 0, 0});
  CheckEdit(gesture_start_.position);
  if (control_->surface().Armed() != (armed == place ? -1 : place)) {
    Violation("a spare place's click did not arm it, or disarm it when armed", Take(*control_));
  }
}

void ChessBoardHarness::EditKey(ByteReader& in) {
  const std::int16_t key = kEditKeys[in.Choice(std::size(kEditKeys))];
  const std::int16_t shift = in.Flag() ? 1 : 0;
  if (!control_->EditMode()) return Person([&] { PressKey(key, shift); });
  BeginEdit();
  const std::int16_t n = TakeFocus(*control_).square;
  const bool letter = key >= 'A' && key <= 'Z';
  const auto cell = static_cast<char16_t>(!letter ? kEmptyCell : shift ? key - 'A' + 'a' : key);
  PressKey(key, shift);
  CheckEdit(WithCell(n, cell));
}

void ChessBoardHarness::Clipboard(ByteReader& in) {
  const std::size_t paste = in.Choice(3);  // none, the copy itself, or a text a host may hold
  if (!control_->EditMode()) return;
  BeginEdit();
  const int copies = forms_.copies();
  PressKey('C', kCtrl);
  CheckEdit(gesture_start_.position);
  const std::u16string copied = forms_.clipboard().value_or(u"");
  const auto read = PositionTextOfRecord(copied);
  if (forms_.copies() != copies + 1 || read != Parsed<std::u16string>(gesture_start_.position) ||
      !copied.ends_with(u" w " + CastlingOf(gesture_start_.position) + u" - 0 1")) {
    Violation("a copy is not the board's record", gesture_start_);
  }
  if (paste == 0) return;
  const std::u16string text =
      paste == 1 ? copied : DecodeText(in, {copied, control_->GetMove(), control_->Fen()});
  forms_.SetClipboard(text);
  BeginEdit();
  const auto loaded = PositionTextOfRecord(text);
  const auto* position = std::get_if<std::u16string>(&loaded);
  PressKey('V', kCtrl);
  CheckEdit(position ? *position : gesture_start_.position, position != nullptr);
}

}  // namespace velmora::fuzz
