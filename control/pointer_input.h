#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "control/board_control.h"
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
// A left press on a square that moves past the drag distance (device pixels, from the front
// end's system) lifts the piece there, if the control lets it be dragged: from then on moves
// drag it, and the release drops it on the square under the pointer (anywhere else cancels).
// A right press, a lost capture or the host changing the board cancels a drag; a cancelled
// drag's release clicks nothing.
//
// The right button draws the person's marks (where the control takes them): pressed and
// released on one square it draws a circle there, released on another square an arrow from
// the first; released off the board, nothing. The colour is green, red with Shift, yellow with
// Ctrl, blue with Alt (the modifiers held at the press). A left press on a square without
// modifiers clears the person's marks.
//
// States: idle, following a left press (what it hit, where, whether it was a double click), or
// dragging the piece that press lifted; apart from those, following a right press on a square.
class PointerInput {
 public:
  static constexpr int kDefaultDragDistance = 4;

  void SetDragDistance(int pixels) { drag_distance_ = pixels; }

  void Press(BoardControl& control, const PixelGrid& grid, PointerButton button, bool double_click,
             const PointerPoint& at);
  void Release(BoardControl& control, const PixelGrid& grid, PointerButton button,
               const PointerPoint& at);
  void Move(BoardControl& control, const PixelGrid& grid, const PointerPoint& at);
  // Another window took the pointer: the press being followed makes no click, and a drag ends
  // with the piece still picked.
  void CaptureLost();

  // Whether the pointer stays captured after a message: while some button is still held.
  static bool KeepsCapture(const PointerPoint& at) { return at.buttons_held != 0; }

  bool following_press() const { return press_.has_value(); }

  // The colour a mark drawn with these modifiers (1 shift, 2 ctrl, 4 alt) takes.
  static MarkColour ColourFor(std::int16_t shift);

 private:
  struct HeldPress {
    Hit hit;
    bool double_click;
    int x, y;                 // where it went down
    bool drag_tried = false;  // the pointer went past the drag distance once
    bool dragging = false;    // and the control lifted the piece
  };

  // A move of the left button held on a square: past the drag distance it tries to lift the
  // piece, once; while dragging it carries it.
  void FollowDrag(BoardControl& control, const PixelGrid& grid, const PointerPoint& at);

  // A right press on a square: where a mark starts (0: none), and its modifiers.
  struct MarkPress {
    std::int16_t square = 0;
    std::int16_t shift = 0;
  };

  std::optional<HeldPress> press_;
  MarkPress mark_press_;
  int drag_distance_ = kDefaultDragDistance;
  // The control a drag lifted a piece on, so a lost capture can put it down.
  std::weak_ptr<BoardControl> dragged_on_;
};

}  // namespace velmora
