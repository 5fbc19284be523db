#include "platform/headless/rgb_canvas.h"

namespace velmora {

PixelBox RgbCanvas::OnImage(const PixelBox& clip) const {
  return Intersection(clip, {0, 0, image_.width(), image_.height()});
}

void RgbCanvas::Fill(const PixelBox& box, Rgb colour) {
  image_.Fill(box.left, box.top, box.width(), box.height(), colour);
}

void RgbCanvas::TranslucentFill(const PixelBox& box, Rgb colour, std::uint8_t opacity) {
  const PixelBox on = OnImage(box);
  for (int y = on.top; y < on.bottom; ++y) {
    for (int x = on.left; x < on.right; ++x) image_.Blend(x, y, colour, opacity);
  }
}

TextMetrics RgbCanvas::Measure(std::u16string_view text, const TextFont& font) {
  return fonts_.Layout(text, font).metrics;
}

void RgbCanvas::Text(std::u16string_view text, const TextFont& font, Rgb colour, int x,
                     int baseline, const PixelBox& clip) {
  const PixelBox on = OnImage(clip);
  for (const GlyphImage& glyph : fonts_.Layout(text, font).glyphs) {
    const int left = x + glyph.left;
    const int top = baseline - glyph.top;
    const PixelBox inside = Intersection(on, {left, top, left + glyph.width, top + glyph.rows});
    for (int py = inside.top; py < inside.bottom; ++py) {
      const std::uint8_t* coverage =
          &glyph.coverage[static_cast<std::size_t>((py - top) * glyph.width + inside.left - left)];
      std::uint8_t* pixel = image_.PixelAt(inside.left, py);
      for (int i = 0; i < inside.width(); ++i, pixel += 3) {
        if (coverage[i] != 0) RgbImage::BlendAt(pixel, colour, coverage[i]);
      }
    }
  }
}

void RgbCanvas::Mask(const CoverageMask& mask, Rgb colour, int x, int y, const PixelBox& clip) {
  const PixelBox on =
      Intersection(OnImage(clip), {x, y, x + mask.size.width, y + mask.size.height});
  if (IsEmpty(on)) return;
  for (int py = on.top; py < on.bottom; ++py) {
    const std::uint8_t* coverage = &mask.coverage[static_cast<std::size_t>(py - y) *
                                                      static_cast<std::size_t>(mask.size.width) +
                                                  static_cast<std::size_t>(on.left - x)];
    std::uint8_t* pixel = image_.PixelAt(on.left, py);
    for (int i = 0; i < on.width(); ++i, pixel += 3) {
      if (coverage[i] != 0) RgbImage::BlendAt(pixel, colour, coverage[i]);
    }
  }
}

namespace {

// One row of a layer blended over a row of pixels. The three runs never overlap, which the
// compiler is told, so it vectorizes the row without checking.
void BlendLayerRow(std::uint8_t* __restrict pixel, const std::uint8_t* __restrict keep,
                   const std::uint8_t* __restrict colour, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    // Div255 as one high multiply on sixteen bits, which vectorizes tighter.
    const auto kept = static_cast<std::uint16_t>(pixel[i] * keep[i] + 128);
    pixel[i] =
        static_cast<std::uint8_t>(((static_cast<std::uint32_t>(kept) * 257u) >> 16) + colour[i]);
  }
}

}  // namespace

void RgbCanvas::Layer(const ColourLayer& layer, const PixelBox& clip) {
  const PixelBox on = Intersection(OnImage(clip), layer.box);
  if (IsEmpty(on)) return;
  // A row is one run of bytes with no test for clear pixels, so it vectorizes: a clear pixel
  // keeps all of what lies below and adds nothing.
  for (int py = on.top; py < on.bottom; ++py) {
    const std::size_t at = layer.Offset(on.left, py);
    BlendLayerRow(image_.PixelAt(on.left, py), &layer.keep[at], &layer.colour[at], on.width() * 3);
  }
}

void RgbCanvas::Piece(const PieceImage& image, Picture, const PixelBox& box, std::uint8_t opacity,
                      const PixelBox& clip) {
  const PixelBox on = Intersection(OnImage(clip), box);
  if (IsEmpty(on) || image.alpha.empty()) return;
  const bool scaled = image.size.width != box.width() || image.size.height != box.height();
  if (!scaled && opacity == 255) {
    // Pixel for pixel, the usual case: rows walked directly.
    for (int py = on.top; py < on.bottom; ++py) {
      const std::size_t from = image.Offset(on.left - box.left, py - box.top);
      const std::uint8_t* alpha = &image.alpha[from];
      const std::uint8_t* white = &image.white[from];
      std::uint8_t* pixel = image_.PixelAt(on.left, py);
      for (int i = 0; i < on.width(); ++i, pixel += 3) {
        if (alpha[i] != 0) RgbImage::CompositeAt(pixel, alpha[i], white[i]);
      }
    }
    return;
  }
  for (int py = on.top; py < on.bottom; ++py) {
    const int sy = scaled ? (py - box.top) * image.size.height / box.height() : py - box.top;
    for (int px = on.left; px < on.right; ++px) {
      const int sx = scaled ? (px - box.left) * image.size.width / box.width() : px - box.left;
      const std::size_t from = image.Offset(sx, sy);
      const int a = image.alpha[from] * opacity / 255;
      if (a == 0) continue;
      image_.Composite(px, py, a, image.white[from] * opacity / 255);
    }
  }
}

}  // namespace velmora
