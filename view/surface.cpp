#include "view/surface.h"

#include <algorithm>

#include "board/failure.h"
#include "view/accessible_parts.h"

namespace velmora {
namespace {

// Every mark of a list, one bit each, so finding which marks of one list another lacks costs a
// pass over each, however many marks a host writes.
class MarkBits {
 public:
  explicit MarkBits(std::span<const SquareMark> marks) : bits_(64 * 65 * 4) {
    for (const SquareMark& mark : marks) bits_[Index(mark)] = true;
  }
  bool Has(const SquareMark& mark) const { return bits_[Index(mark)]; }

 private:
  static std::size_t Index(const SquareMark& mark) {
    const auto number = [](Square s) { return static_cast<std::size_t>(SquareNumber(s) - 1); };
    const std::size_t to = mark.to ? number(*mark.to) + 1 : 0;
    return (number(mark.from) * 65 + to) * 4 + ColourIndex(mark.colour);
  }
  std::vector<bool> bits_;
};

}  // namespace

void SurfaceObserver::MarkChanged(std::int16_t from, std::int16_t to) {
  const Square a = SquareOf(from), b = SquareOf(to);
  for (std::int16_t row = std::min(a.row, b.row); row <= std::max(a.row, b.row); ++row) {
    for (std::int16_t col = std::min(a.col, b.col); col <= std::max(a.col, b.col); ++col) {
      PictureChanged(SquareNumber({row, col}));
    }
  }
}

Surface::Surface() {
  slots_[0] = Picture::kNone;
  for (std::int16_t n = 1; n <= 64; ++n) {
    slots_[static_cast<std::size_t>(n)] = DesignSquarePicture(n);
  }
}

std::size_t Surface::CheckedSlot(std::int16_t slot) {
  if (slot < 0 || slot > 64) {
    throw Failure(Failure::kIndexOutOfRange, "Control array element does not exist");
  }
  return static_cast<std::size_t>(slot);
}

Picture Surface::PictureOf(std::int16_t slot) const {
  return slots_[CheckedSlot(slot)];
}

void Surface::DrawCell(std::size_t index, char16_t cell) {
  if (const auto picture = PictureForCell(cell)) Show(index + 1, *picture);
  drawn_cells_[index] = cell;
}

bool Surface::IsVisible(ControlName prompt_control) const {
  const bool* flag = PromptFlag(*this, prompt_control);
  if (flag == nullptr)
    throw Failure(Failure::kInvalidArgument, "Visibility is fixed for this control");
  return *flag;
}

void Surface::SetVisible(ControlName prompt_control, bool visible) {
  bool* flag = PromptFlag(*this, prompt_control);
  if (flag == nullptr)
    throw Failure(Failure::kInvalidArgument, "Visibility is fixed for this control");
  if (*flag == visible) return;
  *flag = visible;
  if (observer_) observer_->VisibilityChanged(prompt_control);
}

void Surface::SetChooser(std::int16_t promotion_square) {
  if (promotion_square == chooser_) return;
  chooser_ = promotion_square;
  if (observer_) observer_->ChooserChanged();
}

bool Surface::IsShown(const ControlSpec& spec) const {
  if (spec.parent) return spec.visible && IsVisible(*spec.parent);
  switch (spec.ref.name) {
    case ControlName::kRankLabel:
    case ControlName::kFileLabel:
      return look_.coordinates == Coordinates::kOutside && !board_alone_;
    case ControlName::kBoardBorder:
    case ControlName::kTitleLabel:
    case ControlName::kMoveDisplay:
      if (board_alone_) return false;
      break;
    default:
      break;
  }
  const bool* flag = PromptFlag(*this, spec.ref.name);
  return flag != nullptr ? *flag : spec.visible;
}

void Surface::SetLook(const BoardLook& look) {
  if (look == look_) return;
  look_ = look;
  if (observer_) observer_->BoardTurned();
}

void Surface::SetEditMode(bool on) {
  if (edit_mode_ == on) return;
  edit_mode_ = on;
  armed_ = -1;
  if (observer_) observer_->BoardTurned();
}

void Surface::SetArmed(std::int16_t place) {
  if (armed_ == place) return;
  const std::int16_t was = armed_;
  armed_ = place;
  if (!observer_) return;
  observer_->BoardTurned();
  // The spare places' parts follow the choices' numbers: pressed or not is part of their names.
  if (was >= 0) observer_->NameChanged(static_cast<std::int16_t>(kFirstSparePart + was));
  if (place >= 0) observer_->NameChanged(static_cast<std::int16_t>(kFirstSparePart + place));
}

void Surface::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (observer_) observer_->EnabledChanged();
}

void Surface::SetPicked(std::int16_t square) {
  if (square == picked_) return;
  const std::int16_t was = picked_;
  picked_ = square;
  if (!observer_) return;
  observer_->SelectionChanged();
  for (const std::int16_t n : {was, square}) {
    if (n == 0) continue;
    if (selection_tinted_) observer_->HighlightChanged(n);
    observer_->NameChanged(n);
  }
}

void Surface::SetDestinations(std::uint64_t squares) {
  const std::uint64_t changed = squares ^ destinations_;
  if (changed == 0) return;
  destinations_ = squares;
  ReportSquares(changed, &SurfaceObserver::DestinationMarkChanged);
}

void Surface::SetOrientation(BoardOrientation orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  if (observer_) observer_->BoardTurned();
}

void Surface::ReportSquares(std::uint64_t changed,
                            void (SurfaceObserver::*report)(std::int16_t square)) {
  if (!observer_) return;
  for (std::int16_t n = 1; n <= 64; ++n) {
    if (!IsSet(changed, n)) continue;
    (observer_->*report)(n);
    observer_->NameChanged(n);
  }
}

void Surface::SetLastMoveSquares(std::uint64_t squares) {
  const std::uint64_t changed = squares ^ last_move_;
  last_move_ = squares;
  ReportSquares(changed, &SurfaceObserver::HighlightChanged);
}

void Surface::SetCheckSquare(std::int16_t square) {
  if (square == check_square_) return;
  const auto bit = [](std::int16_t n) { return n != 0 ? std::uint64_t{1} << (n - 1) : 0; };
  const std::uint64_t changed = bit(square) | bit(check_square_);
  check_square_ = square;
  ReportSquares(changed, &SurfaceObserver::HighlightChanged);
}

void Surface::StartDrag(const DraggedPiece& drag) {
  EndDrag();
  drag_ = drag;
  if (!observer_) return;
  // A spare piece leaves no square behind.
  if (drag.square != 0) observer_->PictureChanged(drag.square);
  observer_->DragChanged();
}

void Surface::MoveDrag(std::int32_t x, std::int32_t y) {
  if (!drag_ || (drag_->x == x && drag_->y == y)) return;
  drag_->x = x;
  drag_->y = y;
  if (observer_) observer_->DragChanged();
}

void Surface::DropDrag() {
  const std::int16_t square = drag_->square;
  drag_.reset();
  if (!observer_) return;
  if (square != 0) observer_->PictureChanged(square);
  observer_->DragChanged();
}

void Surface::SetMarks(std::vector<SquareMark> marks) {
  const std::span<const SquareMark> was = Marks();
  if (std::equal(was.begin(), was.end(), marks.begin(), marks.end())) return;
  const std::shared_ptr<const std::vector<SquareMark>> held = std::move(marks_);
  if (!marks.empty()) marks_ = std::make_shared<const std::vector<SquareMark>>(std::move(marks));
  if (!observer_) return;
  const MarkBits before(was), after(Marks());
  for (const SquareMark& mark : was) {
    if (!after.Has(mark)) ReportMark(mark);
  }
  for (const SquareMark& mark : Marks()) {
    if (!before.Has(mark)) ReportMark(mark);
  }
}

void Surface::ReportMark(const SquareMark& mark) {
  const std::int16_t from = SquareNumber(mark.from);
  const std::int16_t to = mark.to ? SquareNumber(*mark.to) : from;
  observer_->MarkChanged(from, to);
  observer_->NameChanged(IsCircle(mark) ? from : kMoveDisplayPart);
}

void Surface::PlaceSlide(std::size_t slot, const SlidingPiece& piece) {
  std::optional<SlidingPiece>& shown = slides_.at(slot);
  if (shown == piece) return;
  const bool starts = !shown;
  shown = piece;
  UpdateLanding();
  if (!observer_) return;
  if (starts) observer_->PictureChanged(piece.to);
  observer_->SlideChanged(slot);
}

void Surface::EndSlide(std::size_t slot) {
  std::optional<SlidingPiece>& shown = slides_.at(slot);
  if (!shown) return;
  const std::int16_t to = shown->to;
  shown.reset();
  UpdateLanding();
  if (!observer_) return;
  observer_->SlideChanged(slot);
  observer_->PictureChanged(to);
}

void Surface::UpdateLanding() {
  landing_ = 0;
  for (const auto& slide : slides_) {
    if (slide) landing_ |= std::uint64_t{1} << (slide->to - 1);
  }
}

bool Surface::SlidesQueued() {
  return observer_ != nullptr && observer_->SlidesQueued();
}

void Surface::Announce(const Announcement& announcement) {
  last_announcement_ = announcement;
  if (!observer_) return;
  observer_->Announce(announcement);
  observer_->NameChanged(kMoveDisplayPart);
}

}  // namespace velmora
