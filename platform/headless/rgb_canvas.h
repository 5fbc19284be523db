#pragma once

#include "platform/headless/font_set.h"
#include "platform/headless/rgb_image.h"
#include "view/canvas.h"

namespace velmora {

// The core's painting into a picture in memory, text by FreeType.
class RgbCanvas : public Canvas {
 public:
  RgbCanvas(RgbImage& image, FontSet& fonts) : image_(image), fonts_(fonts) {}

  void Fill(const PixelBox& box, Rgb colour) override;
  void TranslucentFill(const PixelBox& box, Rgb colour, std::uint8_t opacity) override;
  TextMetrics Measure(std::u16string_view text, const TextFont& font) override;
  void Text(std::u16string_view text, const TextFont& font, Rgb colour, int x, int baseline,
            const PixelBox& clip) override;
  void Mask(const CoverageMask& mask, Rgb colour, int x, int y, const PixelBox& clip) override;
  void Layer(const ColourLayer& layer, const PixelBox& clip) override;
  void Piece(const PieceImage& image, Picture picture, const PixelBox& box, std::uint8_t opacity,
             const PixelBox& clip) override;

 private:
  // `clip` cut to the picture.
  PixelBox OnImage(const PixelBox& clip) const;

  RgbImage& image_;
  FontSet& fonts_;
};

}  // namespace velmora
