#include "view/surface.h"

#include <bit>

#include "board/failure.h"
#include "view/accessible_parts.h"

namespace velmora {

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

void Surface::DrawRow(std::size_t row, const std::array<char16_t, 8>& cells, unsigned known) {
  const std::size_t first = row * 8;
  unsigned changed = ~known & 0xFFu;
  for (std::size_t c = 0; c < cells.size(); ++c) {
    changed |= static_cast<unsigned>(cells[c] != drawn_cells_[first + c]) << c;
  }
  for (; changed != 0; changed &= changed - 1) {
    const auto c = static_cast<std::size_t>(std::countr_zero(changed));
    const std::size_t square = first + c + 1;
    if (const auto picture = PictureForCell(cells[c])) Show(square, *picture);
    drawn_cells_[first + c] = cells[c];
  }
  drawn_known_ |= std::uint64_t{0xFF} << first;
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

bool Surface::IsShown(const ControlSpec& spec) const {
  if (spec.parent) return spec.visible && IsVisible(*spec.parent);
  const bool* flag = PromptFlag(*this, spec.ref.name);
  return flag != nullptr ? *flag : spec.visible;
}

void Surface::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (observer_) observer_->EnabledChanged();
}

void Surface::MoveDisplayChanged() {
  if (observer_) observer_->MoveDisplayChanged();
}

void Surface::SetPicked(std::int16_t square) {
  if (square == picked_) return;
  const std::int16_t was = picked_;
  picked_ = square;
  if (!observer_) return;
  observer_->SelectionChanged();
  if (was != 0) observer_->NameChanged(was);
  if (square != 0) observer_->NameChanged(square);
}

void Surface::FocusMoved() {
  if (observer_) observer_->FocusMoved();
}

void Surface::Announce(const Announcement& announcement) {
  last_announcement_ = announcement;
  if (!observer_) return;
  observer_->Announce(announcement);
  observer_->NameChanged(kMoveDisplayPart);
}

}  // namespace velmora
