#pragma once

#include <optional>

#include "view/pixel_grid.h"

namespace velmora::ocx {

// The part of a container's rectangle (in the device's logical units) that the device can show:
// the rectangle within the device's clip box, or the whole rectangle for a device that cannot
// tell (a metafile records for any device it is played on). None when nothing of it shows, or
// when the rectangle is empty, turned inside out or wider than an int can say.
std::optional<PixelBox> ShownPart(const PixelBox& bounds, const std::optional<PixelBox>& clip);

// The bitmap a draw composes the shown part in before copying it to the device: as many pixels
// as the device has over that part, at most `most_pixels` a side (past that the device stretches
// the bitmap the rest of the way), with the whole surface laid over the bounds as the device
// would, so the shown part lands on the bitmap.
struct Composition {
  int width, height;
  DeviceScale scale;  // the surface in the bitmap's pixels
};
Composition ComposeShownPart(const Surface& surface, const PixelBox& bounds, const PixelBox& shown,
                             int device_width, int device_height, int most_pixels);

}  // namespace velmora::ocx
