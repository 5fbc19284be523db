#pragma once

#include <cstdint>

#include "view/display_list.h"
#include "view/layout.h"
#include "view/pixel_box.h"
#include "view/rasterizer.h"

namespace velmora {

// Where a board in edit mode puts its two lines of spare pieces: above and below it, or left and
// right of it on a wide area.
enum class SpareLines : std::uint8_t { kNone, kAboveBelow, kLeftRight };

// Where the design's twips land on a device: pixels per twip on each axis (dpi / 1440, or a
// picture's scale / 15) and the device point of the surface's top-left corner.
struct DeviceScale {
  double x = 1.0 / kTwipsPerPixel;
  double y = 1.0 / kTwipsPerPixel;
  int origin_x = 0;
  int origin_y = 0;
  // The device box a board fitted to it fills; empty for the design's own box.
  PixelBox area{0, 0, 0, 0};
  // The spare pieces' lines round a fitted board, and the pixels between each line and the board.
  SpareLines spares = SpareLines::kNone;
  int spare_gap = 0;

  // `factor` times 96 dots per inch on both axes.
  static DeviceScale Times(double factor, int origin_x = 0, int origin_y = 0);
  // The whole design stretched into a device rectangle (right and bottom exclusive).
  static DeviceScale ToFit(int left, int top, int right, int bottom);
  // The board alone fitted into `area`: the largest whole number of pixels a square with eight
  // squares across the smaller side, less `margin` squares on each side, the board centred. With
  // `spares` the board leaves room for a line of spare pieces on two opposite sides: along the
  // longer side of the area (above and below on a square one).
  static DeviceScale BoardFit(const PixelBox& area, double margin = 0, bool spares = false);

  friend bool operator==(const DeviceScale&, const DeviceScale&) = default;
};

// How a surface lies on a front end's device area at `factor` times 96 dots per inch: a board
// alone fills the area (less a margin for coordinates round it); the design keeps its size from
// the area's corner.
DeviceScale ScaleOnArea(const Surface& surface, const PixelBox& area, double factor);
// The same for a container's rectangle a picture of the surface is drawn into: a board alone
// fitted as on a screen, the design stretched to fill it.
DeviceScale ScaleIntoRectangle(const Surface& surface, const PixelBox& rectangle);

// An outline's thickness in device pixels, across (left and right sides) and down (top and
// bottom).
struct LineWidths {
  int across, down;
  friend bool operator==(LineWidths, LineWidths) = default;
};

// The one mapping from the design to device pixels that every renderer, invalidation and
// hit-testing use, so they agree at every scale. The board is laid on whole pixels: its origin
// rounded once, every square the same pitch, the grid lines one device pixel wide. Everything
// else has each edge rounded on its own, so parts that share an edge in twips share it in
// pixels. A piece picture is drawn at `picture_size` from its part's top-left corner. At 96 dots
// per inch (15 twips a pixel) every part lands exactly on its design rectangle.
class PixelGrid {
 public:
  explicit PixelGrid(const DeviceScale& scale);

  const DeviceScale& scale() const { return scale_; }
  // A piece picture's pixels: one square pitch each way.
  MaskSize picture_size() const { return {pitch_x_, pitch_y_}; }
  // The whole surface: the design's box (6735 x 7335 twips), or the area a board is fitted to.
  PixelBox DesignBox() const;

  // Any part of the design, placed as the layout places it (choices inside their panel).
  PixelBox BoxOf(const ControlSpec& spec) const;
  // A rectangle of a display list's command for the part `source`, in twips from the
  // surface's corner. A square's part is placed on the snapped square its rectangle lies in,
  // so a board drawn turned lands on the same grid.
  PixelBox BoxOf(ControlRef source, const Rect& twips) const;
  // The outline of a shape drawn `pixels_at_96` wide at 96 dots per inch; the grid lines
  // between squares stay one device pixel at every scale.
  LineWidths OutlineOf(ControlRef source, int pixels_at_96) const;

  // A device point back to twips from the surface's corner, linearly (events' X and Y); a fitted
  // board's twips are its own, 720 a square.
  double TwipsX(int px) const { return (px - Corner().left) / scale_.x; }
  double TwipsY(int py) const { return (py - Corner().top) / scale_.y; }
  // A device point back to the layout's twips, where the display list places what it draws (a
  // dragged piece follows the pointer there): the same as TwipsX and TwipsY for the design.
  double LayoutTwipsX(int px) const { return (px - scale_.origin_x) / scale_.x; }
  double LayoutTwipsY(int py) const { return (py - scale_.origin_y) / scale_.y; }

 private:
  // The width of the lines between the squares: none on a fitted board.
  int GridLine() const { return IsEmpty(scale_.area) ? 1 : 0; }
  // The surface's top-left corner: the design's origin, or the area's.
  PixelBox Corner() const {
    return IsEmpty(scale_.area) ? PixelBox{scale_.origin_x, scale_.origin_y, 0, 0} : scale_.area;
  }
  // A spare place's cell, with `twips` inside it from the cell's corner.
  PixelBox SpareBox(std::int16_t place, const Rect& twips) const;
  int X(std::int32_t twips) const;
  int Y(std::int32_t twips) const;

  DeviceScale scale_;
  int board_left_;
  int board_top_;
  int pitch_x_;
  int pitch_y_;
};

}  // namespace velmora
