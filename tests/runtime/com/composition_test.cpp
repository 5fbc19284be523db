// How a draw into a container's device picks what to paint: the part of the rectangle the
// device shows, the bitmap that part is composed in, and the commands that reach it.
#include "products/ocx/composition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "view/surface.h"

namespace velmora::ocx {
namespace {

TEST(Composition, TheShownPartIsTheRectangleWithinTheClipBox) {
  const struct {
    PixelBox bounds;
    std::optional<PixelBox> clip;
    std::optional<PixelBox> shown;
  } cases[] = {
      {{0, 0, 449, 489}, PixelBox{0, 0, 64, 64}, PixelBox{0, 0, 64, 64}},
      {{-100, -50, 349, 439}, PixelBox{20, 30, 60, 90}, PixelBox{20, 30, 60, 90}},
      {{10, 10, 50, 50}, PixelBox{0, 0, 64, 64}, PixelBox{10, 10, 50, 50}},
      {{100, 100, 200, 200}, PixelBox{0, 0, 64, 64}, std::nullopt},      // wholly outside
      {{0, 0, 449, 489}, PixelBox{0, 0, 0, 0}, std::nullopt},            // the clip shows nothing
      {{-5, 7, 3000, 3270}, std::nullopt, PixelBox{-5, 7, 3000, 3270}},  // a metafile
      {{50, 0, 10, 10}, std::nullopt, std::nullopt},                     // inside out
      {{0, 10, 449, 10}, PixelBox{0, 0, 64, 64}, std::nullopt},          // no height
      {{INT_MIN, 0, INT_MAX, 10}, std::nullopt, std::nullopt},           // wider than an int
      {{INT_MIN, 0, INT_MAX, 10}, PixelBox{0, 0, 64, 64}, PixelBox{0, 0, 64, 10}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShownPart(c.bounds, c.clip), c.shown)
        << c.bounds.left << "," << c.bounds.top << "," << c.bounds.right << "," << c.bounds.bottom;
  }
}

TEST(Composition, TheBitmapHasTheDevicesPixelsAndTheSurfaceWhereTheDevicePutsIt) {
  const struct {
    PixelBox bounds, shown;
    SIZE device;
    int most;
    int width, height;
    DeviceScale scale;
  } cases[] = {
      // A display drawn in its own pixels: the shown part one to one, the surface shifted.
      {{-40, -30, 409, 459},
       {0, 0, 64, 64},
       {64, 64},
       4096,
       64,
       64,
       DeviceScale::ToFit(-40, -30, 409, 459)},
      {{-40, -30, 409, 459},
       {20, 30, 60, 90},
       {40, 60},
       4096,
       40,
       60,
       DeviceScale::ToFit(-60, -60, 389, 429)},
      // More than the most a bitmap may have: stretched by the device the rest of the way.
      {{0, 0, 3000, 3270},
       {0, 0, 3000, 3270},
       {3000, 3270},
       2048,
       2048,
       2048,
       DeviceScale::ToFit(0, 0, 2048, 2048)},
      // Two device pixels a logical unit: the bitmap has the device's pixels.
      {{0, 0, 100, 100},
       {50, 50, 100, 100},
       {100, 100},
       4096,
       100,
       100,
       DeviceScale::ToFit(-100, -100, 100, 100)},
  };
  const Surface design;
  for (const auto& c : cases) {
    const Composition composition =
        ComposeShownPart(design, c.bounds, c.shown, c.device.cx, c.device.cy, c.most);
    EXPECT_EQ(composition.width, c.width);
    EXPECT_EQ(composition.height, c.height);
    EXPECT_EQ(composition.scale, c.scale) << c.shown.left << "," << c.shown.top;
  }
}

}  // namespace
}  // namespace velmora::ocx
