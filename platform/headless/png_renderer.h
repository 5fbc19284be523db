#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/font_set.h"
#include "platform/headless/rgb_image.h"
#include "view/artwork.h"
#include "view/display_list.h"
#include "view/pixel_grid.h"

namespace velmora {

// Paints a display list into pixels: 15 twips a pixel (96 dots per inch) times a scale from 1
// to 4, fractions included, placed by the core's pixel grid. It knows the paint commands and
// nothing of the layout. Each piece is rasterized once, at the grid's picture size, and kept.
class PngRenderer {
 public:
  static constexpr double kSmallestScale = 1;
  static constexpr double kLargestScale = 4;

  // A scale outside 1 to 4 is brought to the nearer end.
  explicit PngRenderer(double scale = 1);

  double scale() const { return scale_; }
  const PixelGrid& grid() const { return grid_; }
  // The visible design's rectangle at this scale.
  RgbImage Render(const DisplayList& list);

 private:
  PixelRect ToPixels(const PaintCommand& command) const;
  int FontPixels(const Font& font) const;
  // A line of one pixel at 96 dots per inch, at this scale.
  int Hairline() const;
  const PieceImage& PieceFor(Picture picture);

  void PaintRectangle(RgbImage& image, const PaintCommand& command);
  void PaintIcon(RgbImage& image, const PaintCommand& command);
  void PaintText(RgbImage& image, const PaintCommand& command);
  void PaintTextBox(RgbImage& image, const PaintCommand& command);
  void PaintGroupFrame(RgbImage& image, const PaintCommand& command);

  double scale_;
  PixelGrid grid_;
  FontSet fonts_;
  std::array<PieceImage, kPieceCount> pieces_;  // empty until first painted
};

// PNG bytes of an image; throws Failure when the encoder fails.
std::vector<std::uint8_t> EncodePng(const RgbImage& image);
// Writes the PNG file; throws Failure when it cannot be written.
void WritePng(const RgbImage& image, const std::string& path);

}  // namespace velmora
