#include "view/colour_layer.h"

namespace velmora {

ColourLayer::ColourLayer(const PixelBox& over) : box(over) {
  const std::size_t pixels = IsEmpty(over) ? 0
                                           : static_cast<std::size_t>(over.width()) *
                                                 static_cast<std::size_t>(over.height());
  colour.resize(pixels * 3);
  keep.assign(pixels * 3, 255);
}

void ColourLayer::Over(const CoverageMask& mask, Rgb rgb, int x, int y) {
  const PixelBox on = Intersection(box, {x, y, x + mask.size.width, y + mask.size.height});
  for (int py = on.top; py < on.bottom; ++py) {
    for (int px = on.left; px < on.right; ++px) {
      const int a = mask.At(px - x, py - y);
      if (a == 0) continue;
      const std::size_t at = Offset(px, py);
      const int channels[] = {rgb.r, rgb.g, rgb.b};
      for (int c = 0; c < 3; ++c) {
        colour[at + c] =
            static_cast<std::uint8_t>(Div255(colour[at + c] * (255 - a)) + Div255(channels[c] * a));
        keep[at + c] = static_cast<std::uint8_t>(Div255(keep[at + c] * (255 - a)));
      }
    }
  }
}

}  // namespace velmora
