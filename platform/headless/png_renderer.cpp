#include "platform/headless/png_renderer.h"

#include <png.h>

#include <algorithm>
#include <fstream>

#include "board/failure.h"
#include "platform/headless/rgb_canvas.h"

namespace velmora {

PngRenderer::PngRenderer(double scale)
    : scale_(std::clamp(scale, kSmallestScale, kLargestScale)), grid_(DeviceScale::Times(scale_)) {}

PngRenderer::PngRenderer(const DeviceScale& scale)
    : scale_(scale.x * kTwipsPerPixel), grid_(scale) {}

RgbImage PngRenderer::Render(const DisplayList& list) {
  const PixelBox design = grid_.DesignBox();
  RgbImage image(design.width(), design.height());
  Repaint(image, list, design);
  return image;
}

void PngRenderer::Repaint(RgbImage& image, const DisplayList& list,
                          std::span<const PixelBox> dirty) {
  RgbCanvas canvas(image, fonts_);
  painter_.Paint(canvas, grid_, list, dirty);
}

std::vector<std::uint8_t> EncodePng(const RgbImage& image) {
  png_image header{};
  header.version = PNG_IMAGE_VERSION;
  header.width = static_cast<png_uint_32>(image.width());
  header.height = static_cast<png_uint_32>(image.height());
  header.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  const int stride = image.width() * 3;
  if (!png_image_write_to_memory(&header, nullptr, &size, 0, image.bytes().data(), stride,
                                 nullptr)) {
    throw Failure(Failure::kPlatform, std::string("PNG encoding failed: ") + header.message);
  }
  std::vector<std::uint8_t> bytes(size);
  if (!png_image_write_to_memory(&header, bytes.data(), &size, 0, image.bytes().data(), stride,
                                 nullptr)) {
    throw Failure(Failure::kPlatform, std::string("PNG encoding failed: ") + header.message);
  }
  bytes.resize(size);
  return bytes;
}

void WritePng(const RgbImage& image, const std::string& path) {
  const std::vector<std::uint8_t> bytes = EncodePng(image);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw Failure(Failure::kPlatform, "Cannot write " + path);
}

}  // namespace velmora
