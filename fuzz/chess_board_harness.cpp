#include "fuzz/chess_board_harness.h"

#include <algorithm>

#include "board/board.h"
#include "fuzz/input_texts.h"
#include "view/accessible_parts.h"
#include "view/layout.h"

namespace velmora::fuzz {
namespace {

using namespace std::string_view_literals;
constexpr auto npos = std::u16string_view::npos;

constexpr std::int16_t kLeftHeld = 1;
constexpr std::int16_t kEscape = 0x1B;
// Arrows, Space, Enter and Escape: the keys that move the focus, click and cancel.
constexpr std::int16_t kGestureKeys[] = {0x25, 0x26, 0x27, 0x28, 0x20, 0x0D, kEscape};
constexpr std::u16string_view kPromotionLetters = u"qrbn";

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
    case 3:
      Drag(in);
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
  const PixelBox box = *PartBox(control_->surface(), grid_, square);
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2, 0, held};
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
    pointer_.Press(*control_, grid_, PointerButton::kLeft, false, start);
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
      pointer_.Move(*control_, grid_, at);
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
        pointer_.Move(*control_, grid_, at);
        break;
      case 1:  // a right press cancels
        pointer_.Press(*control_, grid_, PointerButton::kRight, false, {at.x, at.y, 0, 3});
        pointer_.Release(*control_, grid_, PointerButton::kRight, {at.x, at.y, 0, kLeftHeld});
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
    pointer_.Release(*control_, grid_, PointerButton::kLeft, {at.x, at.y, 0, 0});
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
  pointer_.Press(*control_, grid_, PointerButton::kRight, false, at);
  if (target < 64) at = MiddleOf(static_cast<std::int16_t>(target + 1), kRightHeld);
  if (target == 65) at = {-5, -5, shift, kRightHeld};
  at.shift = shift;
  pointer_.Move(*control_, grid_, at);
  at.buttons_held = 0;
  pointer_.Release(*control_, grid_, PointerButton::kRight, at);
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
  Person([&] { control_->ClickSquare(n); });
}

void ChessBoardHarness::Key(ByteReader& in) {
  std::int16_t key = kGestureKeys[in.Choice(std::size(kGestureKeys))], shift = 0;
  if (in.Flag()) forms_.QueueChoiceClick(static_cast<std::int16_t>(in.Choice(8)));
  Person([&] { control_->SurfaceKeyDown(key, shift); });
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

}  // namespace velmora::fuzz
