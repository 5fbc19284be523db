#include "platform/headless/png_renderer.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "board/failure.h"

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

void Outline(RgbImage& image, PixelRect r, LineWidths widths, Rgb colour) {
  const int across = std::min({widths.across, r.width, r.height});
  const int down = std::min({widths.down, r.width, r.height});
  if (across <= 0 || down <= 0) return;
  image.Fill(r.left, r.top, r.width, down, colour);
  image.Fill(r.left, r.top + r.height - down, r.width, down, colour);
  image.Fill(r.left, r.top, across, r.height, colour);
  image.Fill(r.left + r.width - across, r.top, across, r.height, colour);
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

PngRenderer::PngRenderer(double scale)
    : scale_(std::clamp(scale, kSmallestScale, kLargestScale)), grid_(DeviceScale::Times(scale_)) {}

PixelRect PngRenderer::ToPixels(const PaintCommand& command) const {
  const PixelBox box = grid_.BoxOf(command.source, command.rect);
  return {box.left, box.top, box.width(), box.height()};
}

int PngRenderer::FontPixels(const Font& font) const {
  return static_cast<int>(std::lround(font.points * 96.0 / 72.0 * scale_));
}

int PngRenderer::Hairline() const {
  return std::max(1, static_cast<int>(std::lround(scale_)));
}

const PieceImage& PngRenderer::PieceFor(Picture picture) {
  PieceImage& piece = pieces_[static_cast<std::size_t>(PieceIndex(picture))];
  if (piece.alpha.empty()) piece = RasterizePiece(picture, grid_.picture_size());
  return piece;
}

RgbImage PngRenderer::Render(const DisplayList& list) {
  const PixelBox design = grid_.DesignBox();
  RgbImage image(design.width(), design.height());
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
  const PixelRect r = ToPixels(command);
  if (command.fill) image.Fill(r.left, r.top, r.width, r.height, *command.fill);
  Outline(image, r, grid_.OutlineOf(command.source, command.line_width), command.line);
}

void PngRenderer::PaintIcon(RgbImage& image, const PaintCommand& command) {
  if (!IsPiece(command.picture)) return;
  const PieceImage& piece = PieceFor(command.picture);
  const PixelRect r = ToPixels(command);
  image.Composite(r.left, r.top, piece.size.width, piece.size.height, piece.alpha.data(),
                  piece.white.data());
}

void PngRenderer::PaintText(RgbImage& image, const PaintCommand& command) {
  const PixelRect r = ToPixels(command);
  if (command.fill) image.Fill(r.left, r.top, r.width, r.height, *command.fill);
  const Font font = command.font.value_or(kFallbackFont);
  const int pixels = FontPixels(font);
  const TextMetrics metrics = fonts_.Measure(font, pixels, command.text);
  const int x = command.centred ? r.left + (r.width - metrics.width) / 2 : r.left;
  fonts_.Draw(image, font, pixels, command.text, x, r.top + metrics.ascent, command.line, r);
}

void PngRenderer::PaintTextBox(RgbImage& image, const PaintCommand& command) {
  const PixelRect r = ToPixels(command);
  image.Fill(r.left, r.top, r.width, r.height, command.fill.value_or(kHighlight));
  const int line = Hairline();
  Bevel(image, r, 0, line, kShadow, kHighlight);
  Bevel(image, r, line, line, kDarkShadow, kLight);
  const int border = 2 * line;
  const PixelRect inside{r.left + border, r.top + border, r.width - 2 * border,
                         r.height - 2 * border};
  const Font font = command.font.value_or(kFallbackFont);
  const int pixels = FontPixels(font);
  const TextMetrics metrics = fonts_.Measure(font, pixels, command.text);
  const int x =
      command.centred ? inside.left + (inside.width - metrics.width) / 2 : inside.left + line;
  const int baseline = inside.top + (inside.height - metrics.height) / 2 + metrics.ascent;
  fonts_.Draw(image, font, pixels, command.text, x, baseline,
              command.enabled ? command.line : kGreyText, inside);
}

void PngRenderer::PaintGroupFrame(RgbImage& image, const PaintCommand& command) {
  const PixelRect r = ToPixels(command);
  const Rgb fill = command.fill.value_or(kLight);
  image.Fill(r.left, r.top, r.width, r.height, fill);
  const Font font = command.font.value_or(kFallbackFont);
  const int pixels = FontPixels(font);
  const TextMetrics metrics = fonts_.Measure(font, pixels, command.text);
  // The etched line: a shadow line with a highlight line just inside and below it.
  const int line = Hairline();
  const int line_top = r.top + metrics.height / 2;
  const PixelRect frame{r.left, line_top, r.width - line, r.height - (line_top - r.top) - line};
  Outline(image, {frame.left + line, frame.top + line, frame.width, frame.height}, {line, line},
          kHighlight);
  Outline(image, frame, {line, line}, kShadow);
  if (command.text.empty()) return;
  // The caption keeps its usual indent unless that would push it past the right edge.
  const int gap = 2 * line;
  const int caption_left = r.left + std::clamp(r.width - metrics.width - gap, gap, 8 * line);
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
