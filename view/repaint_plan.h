#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "view/layout.h"
#include "view/pixel_grid.h"
#include "view/surface.h"

namespace velmora {

// One visible change the surface reported to its observer.
struct SurfaceReport {
  enum class Kind : std::uint8_t {
    kPicture,
    kMoveDisplay,
    kVisibility,
    kEnabled,
    kFocus,
    kDrag,
    kBoard,  // the board was turned: all of it
    kMark,   // a circle or an arrow, from `square` to `to`
    kSlide,  // the sliding piece in slot `square`
  };

  Kind kind;
  std::int16_t square = 0;                         // kPicture: the square
  ControlName control = ControlName::kBackground;  // kVisibility: the prompt control
  std::int16_t to = 0;                             // kMark: the arrow's other square

  static SurfaceReport Picture(std::int16_t square) { return {Kind::kPicture, square}; }
  static SurfaceReport MoveDisplay() { return {Kind::kMoveDisplay}; }
  static SurfaceReport Visibility(ControlName control) { return {Kind::kVisibility, 0, control}; }
  static SurfaceReport Enabled() { return {Kind::kEnabled}; }
  static SurfaceReport Focus() { return {Kind::kFocus}; }
  static SurfaceReport Drag() { return {Kind::kDrag}; }
  static SurfaceReport Board() { return {Kind::kBoard}; }
  static SurfaceReport Mark(std::int16_t from, std::int16_t to) {
    return {Kind::kMark, from, ControlName::kBackground, to};
  }
  static SurfaceReport Slide(std::size_t slot) {
    return {Kind::kSlide, static_cast<std::int16_t>(slot)};
  }
};

// The device boxes one report makes a screen repaint: at most two.
class RepaintBoxes {
 public:
  void Add(const PixelBox& box) {
    if (box.right > box.left && box.bottom > box.top) boxes_[count_++] = box;
  }
  const PixelBox* begin() const { return boxes_.data(); }
  const PixelBox* end() const { return boxes_.data() + count_; }
  std::size_t size() const { return count_; }

 private:
  std::array<PixelBox, 2> boxes_{};
  std::size_t count_ = 0;
};

// Turns every report of the surface into the device boxes on the pixel grid that show it, so
// each front end repaints exactly those and nothing else. It remembers where the focus mark
// and the dragged and sliding pieces were drawn, so each repaints where it was and where it is.
class RepaintPlan {
 public:
  RepaintBoxes For(const PixelGrid& grid, const Surface& surface, const SurfaceReport& report);

 private:
  std::int16_t painted_mark_ = 0;         // the part whose mark the screen shows or will show
  std::optional<PixelBox> painted_drag_;  // where the dragged piece is or will be shown
  std::array<std::optional<PixelBox>, kMostSlides> painted_slides_{};  // and each sliding piece
};

}  // namespace velmora
