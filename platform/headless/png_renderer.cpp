#include "platform/headless/png_renderer.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "board/failure.h"
#include "view/artwork.h"

namespace velmora {
namespace {

// The system colours of a classic three-dimensional look.
constexpr Rgb kShadow{128, 128, 128};
constexpr Rgb kDarkShadow{64, 64, 64};
constexpr Rgb kHighlight{255, 255, 255};
constexpr Rgb kLight{212, 208, 200};
constexpr Rgb kGreyText{128, 128, 128};
// Unknown texts still get a face: the default sans.
constexpr Font kFallbackFont{u"MS Sans Serif", 8.25, false};

void Outline(RgbImage& image, PixelRect r, int width, Rgb colour) {
  width = std::min({width, r.width, r.height});
  if (width <= 0) return;
  image.Fill(r.left, r.top, r.width, width, colour);
  image.Fill(r.left, r.top + r.height - width, r.width, width, colour);
  image.Fill(r.left, r.top, width, r.height, colour);
  image.Fill(r.left + r.width - width, r.top, width, r.height, colour);
}

// One pixel lines along the top and left edges in one colour, bottom and right in another.
void Bevel(RgbImage& image, PixelRect r, int inset, int thickness, Rgb top_left, Rgb bottom_right) {
  const PixelRect in{r.left + inset, r.top + inset, r.width - 2 * inset, r.height - 2 * inset};
  image.Fill(in.left, in.top, in.width, thickness, top_left);
  image.Fill(in.left, in.top, thickness, in.height, top_left);
  image.Fill(in.left, in.top + in.height - thickness, in.width, thickness, bottom_right);
  image.Fill(in.left + in.width - thickness, in.top, thickness, in.height, bottom_right);
}

}  // namespace

PngRenderer::PngRenderer(int scale) : scale_(std::max(scale, 1)) {}

PixelRect PngRenderer::ToPixels(const Rect& rect) const {
  return {Pixels(rect.left), Pixels(rect.top), Pixels(rect.width), Pixels(rect.height)};
}

int PngRenderer::FontPixels(const Font& font) const {
  return static_cast<int>(std::lround(font.points * 96.0 / 72.0 * scale_));
}

RgbImage PngRenderer::Render(const DisplayList& list) {
  RgbImage image(Pixels(kDesignWidth), Pixels(kDesignHeight));
  for (const PaintCommand& command : list) {
    switch (command.kind) {
      case PaintKind::kRectangle:
        PaintRectangle(image, command);
        break;
      case PaintKind::kIcon:
        PaintIcon(image, command);
        break;
      case PaintKind::kText:
        PaintText(image, command);
        break;
      case PaintKind::kTextBox:
        PaintTextBox(image, command);
        break;
      case PaintKind::kGroupFrame:
        PaintGroupFrame(image, command);
        break;
    }
  }
  return image;
}

void PngRenderer::PaintRectangle(RgbImage& image, const PaintCommand& command) {
  const PixelRect r = ToPixels(command.rect);
  if (command.fill) image.Fill(r.left, r.top, r.width, r.height, *command.fill);
  Outline(image, r, command.line_width * scale_, command.line);
}

void PngRenderer::PaintIcon(RgbImage& image, const PaintCommand& command) {
  const Icon* icon = IconFor(command.picture);
  if (icon == nullptr) return;
  const PixelRect r = ToPixels(command.rect);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      const Ink ink = icon->At(x, y);
      if (ink == Ink::kTransparent) continue;
      const Rgb colour = ink == Ink::kBlack ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
      image.Fill(r.left + x * scale_, r.top + y * scale_, scale_, scale_, colour);
    }
  }
}

void PngRenderer::PaintText(RgbImage& image, const PaintCommand& command) {
  const PixelRect r = ToPixels(command.rect);
  if (command.fill) image.Fill(r.left, r.top, r.width, r.height, *command.fill);
  const Font font = command.font.value_or(kFallbackFont);
  const int pixels = FontPixels(font);
  const TextMetrics metrics = fonts_.Measure(font, pixels, command.text);
  const int x = command.centred ? r.left + (r.width - metrics.width) / 2 : r.left;
  fonts_.Draw(image, font, pixels, command.text, x, r.top + metrics.ascent, command.line, r);
}

void PngRenderer::PaintTextBox(RgbImage& image, const PaintCommand& command) {
  const PixelRect r = ToPixels(command.rect);
  image.Fill(r.left, r.top, r.width, r.height, command.fill.value_or(kHighlight));
  Bevel(image, r, 0, scale_, kShadow, kHighlight);
  Bevel(image, r, scale_, scale_, kDarkShadow, kLight);
  const int border = 2 * scale_;
  const PixelRect inside{r.left + border, r.top + border, r.width - 2 * border,
                         r.height - 2 * border};
  const Font font = command.font.value_or(kFallbackFont);
  const int pixels = FontPixels(font);
  const TextMetrics metrics = fonts_.Measure(font, pixels, command.text);
  const int x =
      command.centred ? inside.left + (inside.width - metrics.width) / 2 : inside.left + scale_;
  const int baseline = inside.top + (inside.height - metrics.height) / 2 + metrics.ascent;
  fonts_.Draw(image, font, pixels, command.text, x, baseline,
              command.enabled ? command.line : kGreyText, inside);
}

void PngRenderer::PaintGroupFrame(RgbImage& image, const PaintCommand& command) {
  const PixelRect r = ToPixels(command.rect);
  const Rgb fill = command.fill.value_or(kLight);
  image.Fill(r.left, r.top, r.width, r.height, fill);
  const Font font = command.font.value_or(kFallbackFont);
  const int pixels = FontPixels(font);
  const TextMetrics metrics = fonts_.Measure(font, pixels, command.text);
  // The etched line: a shadow line with a highlight line just inside and below it.
  const int line_top = r.top + metrics.height / 2;
  const PixelRect frame{r.left, line_top, r.width - scale_, r.height - (line_top - r.top) - scale_};
  Outline(image, {frame.left + scale_, frame.top + scale_, frame.width, frame.height}, scale_,
          kHighlight);
  Outline(image, frame, scale_, kShadow);
  if (command.text.empty()) return;
  // The caption keeps its usual indent unless that would push it past the right edge.
  const int gap = 2 * scale_;
  const int caption_left = r.left + std::clamp(r.width - metrics.width - gap, gap, 8 * scale_);
  image.Fill(caption_left - gap, r.top, metrics.width + 2 * gap, metrics.height, fill);
  fonts_.Draw(image, font, pixels, command.text, caption_left, r.top + metrics.ascent, command.line,
              r);
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
