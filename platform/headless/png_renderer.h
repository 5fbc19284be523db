#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/font_set.h"
#include "platform/headless/rgb_image.h"
#include "view/display_list.h"

namespace velmora {

// Paints a display list into pixels: 15 twips a pixel (96 dots per inch) times an integer
// scale. It knows the paint commands and nothing of the layout.
class PngRenderer {
 public:
  explicit PngRenderer(int scale = 1);

  int scale() const { return scale_; }
  // The visible design's rectangle at this scale.
  RgbImage Render(const DisplayList& list);

 private:
  int Pixels(std::int32_t twips) const { return twips * scale_ / kTwipsPerPixel; }
  PixelRect ToPixels(const Rect& rect) const;
  int FontPixels(const Font& font) const;

  void PaintRectangle(RgbImage& image, const PaintCommand& command);
  void PaintIcon(RgbImage& image, const PaintCommand& command);
  void PaintText(RgbImage& image, const PaintCommand& command);
  void PaintTextBox(RgbImage& image, const PaintCommand& command);
  void PaintGroupFrame(RgbImage& image, const PaintCommand& command);

  int scale_;
  FontSet fonts_;
};

// PNG bytes of an image; throws Failure when the encoder fails.
std::vector<std::uint8_t> EncodePng(const RgbImage& image);
// Writes the PNG file; throws Failure when it cannot be written.
void WritePng(const RgbImage& image, const std::string& path);

}  // namespace velmora
