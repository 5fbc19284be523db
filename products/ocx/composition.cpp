#include "products/ocx/composition.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora::ocx {
namespace {

bool Overlap(const PixelBox& a, const PixelBox& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Where a command paints: its part's box, and for a picture, which is drawn at its own size
// from the box's corner, that size too.
PixelBox PaintedBox(const PaintCommand& command, const PixelGrid& grid) {
  PixelBox box = grid.BoxOf(command.source, command.rect);
  if (command.kind == PaintKind::kIcon) {
    const MaskSize picture = grid.picture_size();
    box.right = std::max(box.right, box.left + picture.width);
    box.bottom = std::max(box.bottom, box.top + picture.height);
  }
  return box;
}

}  // namespace

std::optional<PixelBox> ShownPart(const PixelBox& bounds, const std::optional<PixelBox>& clip) {
  PixelBox shown = bounds;
  if (clip) {
    shown = {std::max(bounds.left, clip->left), std::max(bounds.top, clip->top),
             std::min(bounds.right, clip->right), std::min(bounds.bottom, clip->bottom)};
  }
  const auto fits = [](int from, int to) {
    return from < to && static_cast<long long>(to) - from <= std::numeric_limits<int>::max();
  };
  if (!fits(shown.left, shown.right) || !fits(shown.top, shown.bottom)) return std::nullopt;
  return shown;
}

Composition ComposeShownPart(const PixelBox& bounds, const PixelBox& shown, int device_width,
                             int device_height, int most_pixels) {
  const int width = std::clamp(device_width, 1, most_pixels);
  const int height = std::clamp(device_height, 1, most_pixels);
  // Bitmap pixels per logical unit: one on a device drawn in its own pixels, unstretched.
  const double x = static_cast<double>(width) / shown.width();
  const double y = static_cast<double>(height) / shown.height();
  // Far enough out that the surface's size and every part's edge still fit an int.
  constexpr double kFarthest = 1 << 29;
  const auto on_bitmap = [&](int logical, int origin, double per_unit) {
    const double at = (static_cast<double>(logical) - origin) * per_unit;
    return static_cast<int>(std::lround(std::clamp(at, -kFarthest, kFarthest)));
  };
  return {width, height,
          DeviceScale::ToFit(
              on_bitmap(bounds.left, shown.left, x), on_bitmap(bounds.top, shown.top, y),
              on_bitmap(bounds.right, shown.left, x), on_bitmap(bounds.bottom, shown.top, y))};
}

DisplayList CommandsWithin(DisplayList list, const PixelGrid& grid, const PixelBox& area) {
  std::erase_if(
      list, [&](const PaintCommand& command) { return !Overlap(PaintedBox(command, grid), area); });
  return list;
}

}  // namespace velmora::ocx
