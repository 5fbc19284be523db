#include "control/pointer_input.h"

namespace velmora {
namespace {

using MouseEvent = void (UserControl1::*)(std::int16_t&, std::int16_t&, float&, float&);

// X and Y stay linear in twips from the surface's corner, whatever the grid snapped.
void Raise(UserControl1& control, MouseEvent event, const PixelGrid& grid, std::int16_t button,
           const PointerPoint& at) {
  std::int16_t Button = button;
  std::int16_t Shift = at.shift;
  float X = static_cast<float>(grid.TwipsX(at.x));
  float Y = static_cast<float>(grid.TwipsY(at.y));
  (control.*event)(Button, Shift, X, Y);
}

}  // namespace

void PointerInput::Press(UserControl1& control, const PixelGrid& grid, PointerButton button,
                         bool double_click, const PointerPoint& at) {
  const Hit hit = HitTest(control.surface(), grid, at.x, at.y);
  if (button == PointerButton::kLeft) press_ = HeldPress{hit, double_click};
  if (hit.kind != Hit::Kind::kSurface) return;
  if (double_click) {
    control.SurfaceDblClick();
  } else {
    Raise(control, &UserControl1::SurfaceMouseDown, grid, static_cast<std::int16_t>(button), at);
  }
}

void PointerInput::Release(UserControl1& control, const PixelGrid& grid, PointerButton button,
                           const PointerPoint& at) {
  // Taken before anything reaches the control: a handler may start a wait that delivers the
  // next press.
  const std::optional<HeldPress> press = button == PointerButton::kLeft ? press_ : std::nullopt;
  if (button == PointerButton::kLeft) press_.reset();
  const Hit hit = HitTest(control.surface(), grid, at.x, at.y);
  if (button != PointerButton::kLeft) {
    if (hit.kind == Hit::Kind::kSurface) {
      Raise(control, &UserControl1::SurfaceMouseUp, grid, static_cast<std::int16_t>(button), at);
    }
    return;
  }
  if (!press) return;
  if (press->hit.kind == Hit::Kind::kSurface) {
    Raise(control, &UserControl1::SurfaceMouseUp, grid, static_cast<std::int16_t>(button), at);
  }
  if (press->double_click || hit != press->hit) return;
  switch (hit.kind) {
    case Hit::Kind::kSurface:
      control.SurfaceClick();
      break;
    case Hit::Kind::kSquare:
      control.ClickSquare(hit.index);
      break;
    case Hit::Kind::kChoice:
      control.ClickChoice(hit.index);
      break;
    case Hit::Kind::kSwallowed:
      break;
  }
}

void PointerInput::Move(UserControl1& control, const PixelGrid& grid, const PointerPoint& at) {
  const Hit over = press_ ? press_->hit : HitTest(control.surface(), grid, at.x, at.y);
  if (over.kind != Hit::Kind::kSurface) return;
  Raise(control, &UserControl1::SurfaceMouseMove, grid, at.buttons_held, at);
}

}  // namespace velmora
