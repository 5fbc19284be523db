#include "products/ocx/composition.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora::ocx {

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

Composition ComposeShownPart(const Surface& surface, const PixelBox& bounds, const PixelBox& shown,
                             int device_width, int device_height, int most_pixels) {
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
          ScaleIntoRectangle(
              surface,
              {on_bitmap(bounds.left, shown.left, x), on_bitmap(bounds.top, shown.top, y),
               on_bitmap(bounds.right, shown.left, x), on_bitmap(bounds.bottom, shown.top, y)})};
}

}  // namespace velmora::ocx
