#pragma once

#include <cstdint>
#include <string_view>

#include "view/artwork.h"
#include "view/colour_layer.h"
#include "view/fonts.h"
#include "view/layout.h"
#include "view/pixel_grid.h"
#include "view/rasterizer.h"

namespace velmora {

// Where the core's painting lands: a window's device context, a widget's painter, a picture in
// memory. Coordinates are device pixels; boxes have their right and bottom edges just outside.
// The core decides every place, colour and font and clips every call; a canvas only renders,
// and changes no pixel outside the box or clip it is given.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // Paints the box in one colour.
  virtual void Fill(const PixelBox& box, Rgb colour) = 0;
  // Lays `colour` over the box at `opacity` (0 nothing, 255 all).
  virtual void TranslucentFill(const PixelBox& box, Rgb colour, std::uint8_t opacity) = 0;
  // How `text` lays out in `font`. A canvas may keep what it laid out for the next call.
  virtual TextMetrics Measure(std::u16string_view text, const TextFont& font) = 0;
  // Draws `text` from `x` with its baseline at `baseline`, only inside `clip`.
  virtual void Text(std::u16string_view text, const TextFont& font, Rgb colour, int x, int baseline,
                    const PixelBox& clip) = 0;
  // Lays `colour` over the pixels from (x, y) by the mask's coverage, only inside `clip`.
  virtual void Mask(const CoverageMask& mask, Rgb colour, int x, int y, const PixelBox& clip) = 0;
  // Blends the layer over the pixels it lies on, only inside `clip`.
  virtual void Layer(const ColourLayer& layer, const PixelBox& clip) = 0;
  // Composites a piece's premultiplied planes over `box` (scaled when the box is another size
  // than the image) at `opacity`, only inside `clip`. `picture` names the image, so a canvas can
  // keep its own form of it per picture and size.
  virtual void Piece(const PieceImage& image, Picture picture, const PixelBox& box,
                     std::uint8_t opacity, const PixelBox& clip) = 0;
};

}  // namespace velmora
