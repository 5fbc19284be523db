#include "platform/headless/rgb_image.h"

#include <algorithm>

namespace velmora {

RgbImage::RgbImage(int width, int height, Rgb fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bytes_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3) {
  Fill(0, 0, width_, height_, fill);
}

Rgb RgbImage::At(int x, int y) const {
  if (!Inside(x, y)) return {0, 0, 0};
  const std::size_t at = Offset(x, y);
  return {bytes_[at], bytes_[at + 1], bytes_[at + 2]};
}

void RgbImage::Set(int x, int y, Rgb colour) {
  if (!Inside(x, y)) return;
  const std::size_t at = Offset(x, y);
  bytes_[at] = colour.r;
  bytes_[at + 1] = colour.g;
  bytes_[at + 2] = colour.b;
}

void RgbImage::Blend(int x, int y, Rgb colour, int coverage) {
  if (!Inside(x, y) || coverage <= 0) return;
  const Rgb under = At(x, y);
  const int c = std::min(coverage, 255);
  auto mix = [c](std::uint8_t over, std::uint8_t below) {
    return static_cast<std::uint8_t>((over * c + below * (255 - c) + 127) / 255);
  };
  Set(x, y, {mix(colour.r, under.r), mix(colour.g, under.g), mix(colour.b, under.b)});
}

void RgbImage::Fill(int left, int top, int width, int height, Rgb colour) {
  const int x0 = std::max(left, 0);
  const int y0 = std::max(top, 0);
  const int x1 = std::min(left + width, width_);
  const int y1 = std::min(top + height, height_);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) Set(x, y, colour);
  }
}

}  // namespace velmora
