#include "board/fen.h"
#include "board/position_text.h"
#include "control/board_control.h"
#include "view/draw_board.h"
#include "view/spare_pieces.h"

// Setting up a position: pieces put, moved and taken off with no rule, one PositionEdited each.
namespace velmora {
namespace {

// Virtual-key codes edit mode takes besides the navigation keys.
constexpr std::int16_t kBackspace = 0x08;
constexpr std::int16_t kDelete = 0x2E;
constexpr std::int16_t kCopy = u'C';
constexpr std::int16_t kPaste = u'V';

// The white piece a letter key puts; none for any other key.
std::optional<char16_t> PieceOfKey(std::int16_t key_code) {
  switch (key_code) {
    case u'K':
    case u'Q':
    case u'R':
    case u'B':
    case u'N':
    case u'P':
      return static_cast<char16_t>(key_code);
    default:
      return std::nullopt;
  }
}

char16_t Lower(char16_t letter) {
  return static_cast<char16_t>(letter - u'A' + u'a');
}

}  // namespace

bool BoardControl::IsEditKey(std::int16_t key_code, std::int16_t shift) const {
  const bool ctrl = (shift & shift_bits::kCtrl) != 0;
  if (ctrl) return key_code == kCopy || key_code == kPaste;
  // Escape is the container's unless there is an armed place to put down.
  if (key_code == keys::kEscape) return surface_.Armed() >= 0;
  return PieceOfKey(key_code) || key_code == kDelete || key_code == kBackspace ||
         key_code == keys::kSpace || key_code == keys::kEnter;
}

bool BoardControl::EditKey(std::int16_t key_code, std::int16_t shift) {
  if (!IsEditKey(key_code, shift)) return false;
  const std::int16_t n = focus_.Square();
  if ((shift & shift_bits::kCtrl) != 0) {
    if (key_code == kCopy) {
      CopyPosition();
    } else {
      PastePosition();
    }
  } else if (const auto piece = PieceOfKey(key_code)) {
    SetUpSquare(n, (shift & shift_bits::kShift) != 0 ? Lower(*piece) : *piece);
  } else if (key_code == kDelete || key_code == kBackspace) {
    SetUpSquare(n, kEmptyCell);
  } else if (key_code == keys::kEscape) {
    surface_.SetArmed(-1);
  } else {
    EditClick(n);
  }
  return true;
}

void BoardControl::ClickSpare(std::int16_t place) {
  const auto self = shared_from_this();
  if (!surface_.Enabled() || !settings_.edit_mode || !IsSparePlace(place)) return;
  surface_.SetArmed(surface_.Armed() == place ? -1 : place);
}

bool BoardControl::BeginSpareDrag(std::int16_t place, std::int32_t x, std::int32_t y) {
  if (!surface_.Enabled() || !settings_.edit_mode || !IsSparePlace(place) ||
      place == kEraserPlace) {
    return false;
  }
  return LiftSetUpPiece(0, SpareLetter(place, surface_.Orientation()), x, y);
}

bool BoardControl::LiftSetUpPiece(std::int16_t from, char16_t cell, std::int32_t x,
                                  std::int32_t y) {
  const auto picture = PictureForCell(cell);
  if (!picture || !IsPiece(*picture)) return false;
  surface_.SetPicture(0, *picture);
  surface_.StartDrag({from, x, y});
  return true;
}

void BoardControl::EditClick(std::int16_t n) {
  const std::int16_t armed = surface_.Armed();
  if (armed >= 0) SetUpSquare(n, SpareLetter(armed, surface_.Orientation()));
}

void BoardControl::DropOffBoard() {
  const auto self = shared_from_this();
  const auto& drag = surface_.Drag();
  if (!drag) return;
  const std::int16_t from = drag->square;
  surface_.EndDrag();
  if (surface_.Enabled() && settings_.edit_mode && from != 0) SetUpSquare(from, kEmptyCell);
}

void BoardControl::SetUpSquare(std::int16_t n, char16_t letter) {
  const Square square = SquareOf(n);
  if (board_.Cell(square) == letter) return;
  LandSlides();
  board_.SetCell(square, letter);
  Edited(AnnounceSetUp(PictureForCell(letter).value_or(Picture::kNone), square));
}

void BoardControl::CopyPosition() {
  const ClipboardResult copied = forms_->CopyText(PositionRecord(board_));
  if (copied == ClipboardResult::kDone) return;
  Announcement failed;
  failed.kind = copied == ClipboardResult::kBusy ? Announcement::Kind::kCopyBusy
                                                 : Announcement::Kind::kCopyFailed;
  surface_.Announce(failed);
}

void BoardControl::PastePosition() {
  const ClipboardText pasted_text = forms_->PastedText();
  // No text at all is refused as an empty one.
  const Parsed<std::u16string> position = PositionTextOfRecord(pasted_text.text.value_or(u""));
  if (pasted_text.result != ClipboardResult::kDone ||
      !std::holds_alternative<std::u16string>(position)) {
    Announcement refused;
    refused.kind = pasted_text.result == ClipboardResult::kBusy ? Announcement::Kind::kPasteBusy
                                                                : Announcement::Kind::kPasteRefused;
    surface_.Announce(refused);
    return;
  }
  LandSlides();
  LoadPositionText(board_, std::get<std::u16string>(position));
  Announcement pasted;
  pasted.kind = Announcement::Kind::kPasted;
  Edited(pasted);
}

void BoardControl::Edited(const Announcement& announcement) {
  DrawBoard(board_, surface_);
  PositionLoaded();
  entry_.SetLegalMoves({});
  surface_.Announce(announcement);
  Forward(EventId::kPositionEdited, {});
}

}  // namespace velmora
