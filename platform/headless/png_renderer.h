#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/headless/font_set.h"
#include "platform/headless/rgb_image.h"
#include "view/display_list.h"
#include "view/painter.h"
#include "view/pixel_grid.h"

namespace velmora {

// Paints display lists into pictures in memory: 15 twips a pixel (96 dots per inch) times a
// scale from 1 to 4, fractions included, through the core's painter and pixel grid. It keeps the
// pieces and texts it made for the next picture.
class PngRenderer {
 public:
  static constexpr double kSmallestScale = 1;
  static constexpr double kLargestScale = 4;

  // A scale outside 1 to 4 is brought to the nearer end.
  explicit PngRenderer(double scale = 1);
  // The surface laid on a device as `scale` says (a board alone fitted to an area, say).
  explicit PngRenderer(const DeviceScale& scale);

  double scale() const { return scale_; }
  // Lays later pictures on another scale, keeping the pieces and texts made so far.
  void SetScale(const DeviceScale& scale) { grid_ = PixelGrid(scale); }
  const PixelGrid& grid() const { return grid_; }
  // The surface's whole rectangle: the design's at this scale, or the area fitted to.
  RgbImage Render(const DisplayList& list);
  // Paints again only what lies in the dirty boxes, as a screen repaints what changed.
  void Repaint(RgbImage& image, const DisplayList& list, std::span<const PixelBox> dirty);
  void Repaint(RgbImage& image, const DisplayList& list, const PixelBox& dirty) {
    Repaint(image, list, std::span<const PixelBox>(&dirty, 1));
  }

 private:
  double scale_;
  PixelGrid grid_;
  FontSet fonts_;
  SurfacePainter painter_;
};

// PNG bytes of an image; throws Failure when the encoder fails.
std::vector<std::uint8_t> EncodePng(const RgbImage& image);
// Writes the PNG file; throws Failure when it cannot be written.
void WritePng(const RgbImage& image, const std::string& path);

}  // namespace velmora
