#include "control/presenter.h"

#include "control/accessible_model.h"

namespace velmora {

void Presenter::Attach() {
  control_.SetSurfaceObserver(this);
  attached_ = true;
  if (const auto next = control_.NextTickAt()) screen_.WakeAt(next);
}

void Presenter::Detach() {
  if (!attached_) return;
  attached_ = false;
  control_.SetSurfaceObserver(nullptr);
  control_.LandSlides();
}

bool Presenter::SetArea(const PixelBox& area, double factor) {
  area_ = area;
  factor_ = factor;
  const DeviceScale scale = ScaleOnArea(control_.surface(), area, factor);
  if (scale == grid_.scale()) return false;
  grid_ = PixelGrid(scale);
  return true;
}

void Presenter::BoardTurned() {
  // A new look may want room for coordinates round the board.
  if (area_) SetArea(*area_, factor_);
  Repaint(SurfaceReport::Board());
}

DisplayList Presenter::DisplayOf(const BoardControl& control) {
  return BuildDisplayList(control.surface(), control.GetMove());
}

void Presenter::Tick(std::int64_t now_ms) {
  control_.Advance(now_ms);
  screen_.WakeAt(control_.NextTickAt());
}

void Presenter::Repaint(const SurfaceReport& report) {
  for (const PixelBox& box : plan_.For(grid_, control_.surface(), report)) screen_.Repaint(box);
}

void Presenter::MoveDisplayChanged() {
  Repaint(SurfaceReport::MoveDisplay());
  screen_.MoveDisplayChanged();
}

void Presenter::VisibilityChanged(ControlName control) {
  Repaint(SurfaceReport::Visibility(control));
  if (control != ControlName::kPromptBackdrop) {
    screen_.ChoicesShown(control_.surface().IsVisible(control));
  }
}

void Presenter::ChooserChanged() {
  Repaint(SurfaceReport::Board());
  screen_.ChoicesShown(control_.surface().Chooser() != 0);
}

void Presenter::EnabledChanged() {
  screen_.EnabledChanged();
  Repaint(SurfaceReport::Enabled());
}

void Presenter::FocusMoved() {
  Repaint(SurfaceReport::Focus());
  const std::int16_t focused = FocusedPart(control_).value_or(0);
  if (focused == focused_) return;
  focused_ = focused;
  if (focused != 0) screen_.PartFocused(focused);
}

void Presenter::SelectionChanged() {
  const std::int16_t was = selected_;
  selected_ = control_.surface().Picked();
  screen_.SelectionMoved(was, selected_);
}

}  // namespace velmora
