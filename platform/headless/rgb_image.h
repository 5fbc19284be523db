#pragma once

#include <cstdint>
#include <vector>

#include "view/layout.h"

namespace velmora {

// A picture in memory: three bytes a pixel, row by row, top row first.
class RgbImage {
 public:
  RgbImage(int width, int height, Rgb fill = {255, 255, 255});

  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  Rgb At(int x, int y) const;
  // Points outside the image are dropped, so painters need not clip.
  void Set(int x, int y, Rgb colour);
  // Mixes `colour` over the pixel with coverage 0 (nothing) to 255 (all).
  void Blend(int x, int y, Rgb colour, int coverage);
  void Fill(int left, int top, int width, int height, Rgb colour);
  // Lays black and white ink over the pixel: its coverage `alpha` and its premultiplied
  // `white` (both 0 to 255).
  void Composite(int x, int y, int alpha, int white) {
    if (Inside(x, y)) CompositeAt(&bytes_[Offset(x, y)], alpha, white);
  }
  // The same on a pixel's bytes, for painters that walk rows themselves.
  static void CompositeAt(std::uint8_t* pixel, int alpha, int white) {
    for (int c = 0; c < 3; ++c) {
      pixel[c] = static_cast<std::uint8_t>((pixel[c] * (255 - alpha) + 127) / 255 + white);
    }
  }
  // Mixes `colour` over a pixel's bytes with coverage 1 to 255.
  static void BlendAt(std::uint8_t* pixel, Rgb colour, int coverage) {
    const auto mix = [coverage](int over, int below) {
      return static_cast<std::uint8_t>((over * coverage + below * (255 - coverage) + 127) / 255);
    };
    pixel[0] = mix(colour.r, pixel[0]);
    pixel[1] = mix(colour.g, pixel[1]);
    pixel[2] = mix(colour.b, pixel[2]);
  }
  // The bytes of the pixel at (x, y), which must lie inside the picture.
  std::uint8_t* PixelAt(int x, int y) { return &bytes_[Offset(x, y)]; }

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  std::size_t Offset(int x, int y) const {
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)) *
           3;
  }

  int width_;
  int height_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace velmora
