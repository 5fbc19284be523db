#include "platform/headless/rgb_image.h"

#include <algorithm>
#include <cstring>

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
  if (Inside(x, y) && coverage > 0) BlendAt(&bytes_[Offset(x, y)], colour, std::min(coverage, 255));
}

void RgbImage::Fill(int left, int top, int width, int height, Rgb colour) {
  const int x0 = std::max(left, 0);
  const int y0 = std::max(top, 0);
  const int x1 = std::min(left + width, width_);
  const int y1 = std::min(top + height, height_);
  if (x0 >= x1 || y0 >= y1) return;
  // One row by pixels, the others copied from it.
  std::uint8_t* first = &bytes_[Offset(x0, y0)];
  for (std::uint8_t* pixel = first; pixel < first + (x1 - x0) * 3; pixel += 3) {
    pixel[0] = colour.r;
    pixel[1] = colour.g;
    pixel[2] = colour.b;
  }
  const std::size_t row_bytes = static_cast<std::size_t>(x1 - x0) * 3;
  for (int y = y0 + 1; y < y1; ++y) std::memcpy(&bytes_[Offset(x0, y)], first, row_bytes);
}

}  // namespace velmora
