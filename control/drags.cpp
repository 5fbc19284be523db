#include "control/board_control.h"
#include "entry/flag_scope.h"

// Dragging a piece: lifting it is a pick, putting it down the destination's click.
namespace velmora {

bool BoardControl::BeginDrag(std::int16_t n, std::int32_t x, std::int32_t y) {
  const auto self = shared_from_this();
  if (!surface_.Enabled() || n < 1 || n > 64) return false;
  // Setting up, any piece is lifted as it stands, with no pick.
  if (settings_.edit_mode) return LiftSetUpPiece(n, board_.Cell(SquareOf(n)), x, y);
  if (!settings_.drag_enabled) return false;
  const EntryState state = entry_.State();
  if (state == EntryState::kPrompting) return false;
  if (state == EntryState::kIdle) {
    if (board_.Cell(SquareOf(n)) == kEmptyCell) return false;
    ClickSquare(n);
  }
  // The pick's Change may have let the host change anything.
  if (!surface_.Enabled() || entry_.State() != EntryState::kPicked || surface_.Picked() != n) {
    return false;
  }
  surface_.StartDrag({n, x, y});
  return true;
}

void BoardControl::DragTo(std::int32_t x, std::int32_t y) {
  surface_.MoveDrag(x, y);
}

void BoardControl::Drop(std::int16_t n) {
  const auto self = shared_from_this();
  const auto& drag = surface_.Drag();
  if (!drag) return;
  const std::int16_t from = drag->square;
  surface_.EndDrag();
  if (n == from) return;
  if (settings_.edit_mode) {
    // A host's handler may have disabled the control while the piece was held.
    if (surface_.Enabled()) DropSetUp(from, n);
    return;
  }
  // A piece put down by hand is where it belongs already: it does not slide.
  const FlagScope dropping(dropping_);
  ClickSquare(n);
}

void BoardControl::DropSetUp(std::int16_t from, std::int16_t to) {
  // A spare piece is a copy of the dragged picture; a board piece leaves its square.
  if (from == 0) return SetUpSquare(to, CellLetterOf(surface_.PictureOf(0)));
  const char16_t piece = board_.Cell(SquareOf(from));
  const char16_t taken = board_.Cell(SquareOf(to));
  LandSlides();
  board_.SetCell(SquareOf(to), piece);
  board_.SetCell(SquareOf(from), kEmptyCell);
  Edited(*AnnounceMove(piece, taken, SquareOf(from), SquareOf(to)));
}

void BoardControl::CancelDrag() {
  surface_.EndDrag();
}

}  // namespace velmora
