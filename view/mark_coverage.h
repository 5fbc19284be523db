#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "board/square_marks.h"
#include "view/canvas.h"
#include "view/colour_layer.h"
#include "view/layout.h"
#include "view/pixel_grid.h"
#include "view/rasterizer.h"

namespace velmora {

// A board's marks as a painter lays them: the circles in one layer and the arrows in another
// (the pieces lie between). Built for one list of marks, one grid and one orientation, and kept
// while they hold. A layer is rasterized in tiles, only where a paint shows it, and the tiles
// last painted are kept up to a bound, so a paint costs what it shows and the memory held stays
// small however large the board and however many the marks.
class MarkCoverage {
 public:
  // Tiles are squares of this many pixels on a grid from the board's corner.
  static constexpr int kTileSide = 256;
  // The layers' bytes kept between paints, at most (what one paint needs beyond it is let go
  // as soon as it is laid).
  static constexpr std::size_t kMostBytesKept = std::size_t{16} << 20;

  MarkCoverage(std::shared_ptr<const std::vector<SquareMark>> marks, BoardOrientation orientation,
               const PixelGrid& grid);

  // Whether this is the coverage of these marks, turned so, on this grid.
  bool IsFor(const std::shared_ptr<const std::vector<SquareMark>>& marks,
             BoardOrientation orientation, const PixelGrid& grid) const {
    return marks == marks_ && orientation == orientation_ && grid.scale() == scale_;
  }

  // Lays the circles (`arrows` false) or the arrows over the pixels of `clip`. Arrows of a
  // colour lie over the other colours' when that colour's last arrow came later.
  void Paint(Canvas& canvas, bool arrows, const PixelBox& clip);

  // The layers' bytes kept now.
  std::size_t bytes_kept() const;
  // The layer pixels rasterized so far.
  std::size_t pixels_rasterized() const { return pixels_rasterized_; }

 private:
  // A mark's square pictures: a circle's on `from`, an arrow's from one to the other.
  struct Placed {
    PixelBox from, to;
    Rgb colour;
  };
  struct Tile {
    bool arrows;
    PixelBox box;
    ColourLayer layer;
    std::size_t used;  // the paint that last laid it
  };

  ColourLayer Circles(const PixelBox& box);
  ColourLayer Arrows(const PixelBox& box);
  const ColourLayer& TileAt(bool arrows, const PixelBox& box);

  std::shared_ptr<const std::vector<SquareMark>> marks_;  // held, so the pointer stays theirs
  BoardOrientation orientation_;
  DeviceScale scale_;
  PixelBox board_{0, 0, 0, 0};
  PixelBox circled_{0, 0, 0, 0};
  PixelBox arrowed_{0, 0, 0, 0};
  std::vector<Placed> circles_;
  std::vector<Placed> arrows_;
  // The arrows' colours in the order they are laid: by the place of each one's last arrow.
  std::array<Rgb, 4> arrow_colours_{};
  std::size_t arrow_colour_count_ = 0;
  std::vector<Tile> tiles_;
  std::size_t paints_ = 0;
  RowCellStore cells_;
  std::size_t pixels_rasterized_ = 0;
};

// The picture box of the square drawn at square n's design place.
PixelBox SquarePictureBox(const PixelGrid& grid, std::int16_t square);
// The smallest box that holds every square's picture.
PixelBox BoardPicturesBox(const PixelGrid& grid);

}  // namespace velmora
