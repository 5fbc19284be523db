#include "control/pointer_input.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace velmora {
namespace {

using MouseEvent = void (BoardControl::*)(std::int16_t&, std::int16_t&, float&, float&);

// X and Y stay linear in twips from the surface's corner, whatever the grid snapped.
void Raise(BoardControl& control, MouseEvent event, const PixelGrid& grid, std::int16_t button,
           const PointerPoint& at) {
  std::int16_t Button = button;
  std::int16_t Shift = at.shift;
  float X = static_cast<float>(grid.TwipsX(at.x));
  float Y = static_cast<float>(grid.TwipsY(at.y));
  (control.*event)(Button, Shift, X, Y);
}

std::int32_t TwipsOf(double twips) {
  return static_cast<std::int32_t>(std::lround(twips));
}

}  // namespace

MarkColour PointerInput::ColourFor(std::int16_t shift) {
  if ((shift & 1) != 0) return MarkColour::kRed;
  if ((shift & 2) != 0) return MarkColour::kYellow;
  if ((shift & 4) != 0) return MarkColour::kBlue;
  return MarkColour::kGreen;
}

void PointerInput::CaptureLost() {
  mark_press_ = {};
  if (press_ && press_->dragging) {
    if (const auto control = dragged_on_.lock()) control->CancelDrag();
  }
  press_.reset();
}

void PointerInput::FollowDrag(BoardControl& control, const PixelGrid& grid,
                              const PointerPoint& at) {
  HeldPress& press = *press_;
  const std::int32_t x = TwipsOf(grid.LayoutTwipsX(at.x));
  const std::int32_t y = TwipsOf(grid.LayoutTwipsY(at.y));
  if (press.dragging) {
    control.DragTo(x, y);
    return;
  }
  const bool square = press.hit.kind == Hit::Kind::kSquare;
  if (press.drag_tried || !(square || press.hit.kind == Hit::Kind::kSpare) || press.double_click) {
    return;
  }
  if (std::abs(at.x - press.x) <= drag_distance_ && std::abs(at.y - press.y) <= drag_distance_) {
    return;
  }
  press.drag_tried = true;
  const bool lifted = square ? control.BeginDrag(press.hit.index, x, y)
                             : control.BeginSpareDrag(press.hit.index, x, y);
  if (!lifted) return;
  // The pick's Change may have ended this press from a wait inside the host's handler.
  if (!press_) return control.CancelDrag();
  press_->dragging = true;
  dragged_on_ = control.weak_from_this();
}

void PointerInput::Press(BoardControl& control, const PixelGrid& grid, PointerButton button,
                         bool double_click, const PointerPoint& at) {
  const Hit hit = HitTest(control.surface(), grid, at.x, at.y);
  // Any other press ends a drag; the left button's release then clicks nothing.
  if (press_ && press_->dragging) control.CancelDrag();
  // A right press closes the chooser and does nothing else.
  if (button == PointerButton::kRight && control.surface().Chooser() != 0) {
    control.CloseChooser();
    return;
  }
  if (button == PointerButton::kLeft) press_ = HeldPress{hit, double_click, at.x, at.y};
  if (button == PointerButton::kRight) {
    mark_press_ = hit.kind == Hit::Kind::kSquare ? MarkPress{hit.index, at.shift} : MarkPress{};
  }
  if (button == PointerButton::kLeft && hit.kind == Hit::Kind::kSquare && at.shift == 0) {
    control.ClearUserMarks();
  }
  if (hit.kind != Hit::Kind::kSurface) return;
  if (double_click) {
    control.SurfaceDblClick();
  } else {
    Raise(control, &BoardControl::SurfaceMouseDown, grid, static_cast<std::int16_t>(button), at);
  }
}

void PointerInput::Release(BoardControl& control, const PixelGrid& grid, PointerButton button,
                           const PointerPoint& at) {
  // Taken before anything reaches the control: a handler may start a wait that delivers the
  // next press.
  const std::optional<HeldPress> press = button == PointerButton::kLeft ? press_ : std::nullopt;
  if (button == PointerButton::kLeft) press_.reset();
  MarkPress mark{};
  if (button == PointerButton::kRight) std::swap(mark, mark_press_);
  const Hit hit = HitTest(control.surface(), grid, at.x, at.y);
  if (mark.square != 0 && hit.kind == Hit::Kind::kSquare) {
    const Square from = SquareOf(mark.square);
    const std::optional<Square> to =
        hit.index == mark.square ? std::nullopt : std::optional<Square>(SquareOf(hit.index));
    control.DrawUserMark({ColourFor(mark.shift), from, to});
    return;
  }
  if (button != PointerButton::kLeft) {
    if (hit.kind == Hit::Kind::kSurface) {
      Raise(control, &BoardControl::SurfaceMouseUp, grid, static_cast<std::int16_t>(button), at);
    }
    return;
  }
  if (!press) return;
  if (press->dragging) {
    if (hit.kind == Hit::Kind::kSquare) {
      control.Drop(hit.index);
    } else {
      control.DropOffBoard();
    }
    return;
  }
  if (press->hit.kind == Hit::Kind::kSurface) {
    Raise(control, &BoardControl::SurfaceMouseUp, grid, static_cast<std::int16_t>(button), at);
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
    case Hit::Kind::kSpare:
      control.ClickSpare(hit.index);
      break;
    case Hit::Kind::kSwallowed:
      break;
  }
}

void PointerInput::Move(BoardControl& control, const PixelGrid& grid, const PointerPoint& at) {
  if (press_ && (at.buttons_held & static_cast<std::int16_t>(PointerButton::kLeft)) != 0) {
    FollowDrag(control, grid, at);
  }
  const Hit over = press_ ? press_->hit : HitTest(control.surface(), grid, at.x, at.y);
  if (over.kind != Hit::Kind::kSurface) return;
  Raise(control, &BoardControl::SurfaceMouseMove, grid, at.buttons_held, at);
}

}  // namespace velmora
