#pragma once

#include <cstdint>
#include <optional>

#include "control/user_control.h"
#include "view/hit_test.h"
#include "view/pixel_grid.h"

namespace velmora {

// Mouse buttons as the host's Button argument counts them.
enum class PointerButton : std::int16_t { kLeft = 1, kRight = 2, kMiddle = 4 };

// One pointer message from a front end: where (device pixels on the front end's grid), the
// Shift argument (1 shift, 2 ctrl, 4 alt) and the buttons held after it (as Button counts).
struct PointerPoint {
  int x, y;
  std::int16_t shift;
  std::int16_t buttons_held;
};

// Turns a front end's presses, releases and moves into the control's clicks and surface
// events, the same for every front end. A click is a left press and release over the same
// part, delivered on the release; a press that is a double click's second makes no click (the
// surface's own double click raises DblClick instead of MouseDown). While the left button is
// held, moves belong to what it pressed. Over a constituent control nothing reaches the host.
// The front end captures the pointer on every press and lets it go before delivering a
// release after which `KeepsCapture` is false.
//
// States: idle, or following a left press (what it hit, and whether it was a double click).
class PointerInput {
 public:
  void Press(UserControl1& control, const PixelGrid& grid, PointerButton button, bool double_click,
             const PointerPoint& at);
  void Release(UserControl1& control, const PixelGrid& grid, PointerButton button,
               const PointerPoint& at);
  void Move(UserControl1& control, const PixelGrid& grid, const PointerPoint& at);
  // Another window took the pointer: the press being followed makes no click.
  void CaptureLost() { press_.reset(); }

  // Whether the pointer stays captured after a message: while some button is still held.
  static bool KeepsCapture(const PointerPoint& at) { return at.buttons_held != 0; }

  bool following_press() const { return press_.has_value(); }

 private:
  struct HeldPress {
    Hit hit;
    bool double_click;
  };

  std::optional<HeldPress> press_;
};

}  // namespace velmora
