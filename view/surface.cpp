#include "view/surface.h"

#include "board/failure.h"

namespace velmora {
namespace {

void CheckSlot(std::int16_t slot) {
  if (slot < 0 || slot > 64)
    throw Failure(Failure::kIndexOutOfRange, "Control array element does not exist");
}

}  // namespace

Surface::Surface() {
  slots_[0] = Picture::kNone;
  for (std::int16_t n = 1; n <= 64; ++n) {
    slots_[n] = FindControl({ControlName::kImage1, n})->design_picture;
  }
}

Picture Surface::PictureOf(std::int16_t slot) const {
  CheckSlot(slot);
  return slots_[slot];
}

void Surface::SetPicture(std::int16_t slot, Picture picture) {
  CheckSlot(slot);
  if (slots_[slot] == picture) return;
  slots_[slot] = picture;
  if (slot != 0 && observer_) observer_->PictureChanged(slot);
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

}  // namespace velmora
