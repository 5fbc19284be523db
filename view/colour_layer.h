#pragma once

#include <cstdint>
#include <vector>

#include "view/layout.h"
#include "view/pixel_grid.h"
#include "view/rasterizer.h"

namespace velmora {

// x / 255 rounded to the nearest, for x up to 65,535, without a division.
constexpr int Div255(int x) {
  const int t = x + 128;
  return (t + (t >> 8)) >> 8;
}

// Colours laid over a box of the device, premultiplied: however many coloured masks went into
// it, a canvas blends it over its pixels in one pass.
struct ColourLayer {
  PixelBox box{0, 0, 0, 0};
  // Red, green and blue times alpha, and beside each byte 255 less alpha, the share of what
  // lies below that is kept: three bytes a pixel each, the order of a picture's bytes, so a
  // canvas blends a row of bytes as one run.
  std::vector<std::uint8_t> colour;
  std::vector<std::uint8_t> keep;

  // A clear layer over `box`.
  explicit ColourLayer(const PixelBox& over = {0, 0, 0, 0});

  // Lays `rgb` over the layer by the coverage of `mask`, whose corner lies at (x, y); what lies
  // outside the layer is left out.
  void Over(const CoverageMask& mask, Rgb rgb, int x, int y);

  // Where the pixel at (x, y) starts in `colour` and `keep`.
  std::size_t Offset(int x, int y) const {
    return (static_cast<std::size_t>(y - box.top) * static_cast<std::size_t>(box.width()) +
            static_cast<std::size_t>(x - box.left)) *
           3;
  }
  std::uint8_t Alpha(std::size_t offset) const {
    return static_cast<std::uint8_t>(255 - keep[offset]);
  }
};

}  // namespace velmora
