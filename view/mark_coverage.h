#pragma once

#include <memory>
#include <vector>

#include "board/square_marks.h"
#include "view/colour_layer.h"
#include "view/layout.h"
#include "view/pixel_grid.h"
#include "view/rasterizer.h"

namespace velmora {

// A board's marks as a painter lays them: the circles in one layer and the arrows in another
// (the pieces lie between), each mark rasterized into its layer once. Built for one list of
// marks, one grid and one orientation, and kept while they hold, so a paint only blends what its
// box shows however many marks there are.
class MarkCoverage {
 public:
  MarkCoverage(std::shared_ptr<const std::vector<SquareMark>> marks, BoardOrientation orientation,
               const PixelGrid& grid);

  // Whether this is the coverage of these marks, turned so, on this grid.
  bool IsFor(const std::shared_ptr<const std::vector<SquareMark>>& marks,
             BoardOrientation orientation, const PixelGrid& grid) const {
    return marks == marks_ && orientation == orientation_ && grid.scale() == scale_;
  }

  const ColourLayer& circles() const { return circles_; }
  // Arrows of a colour lie over the other colours' when that colour's last arrow came later.
  const ColourLayer& arrows() const { return arrows_; }

 private:
  std::shared_ptr<const std::vector<SquareMark>> marks_;  // held, so the pointer stays theirs
  BoardOrientation orientation_;
  DeviceScale scale_;
  ColourLayer circles_;
  ColourLayer arrows_;
};

// The picture box of the square drawn at square n's design place.
PixelBox SquarePictureBox(const PixelGrid& grid, std::int16_t square);
// The smallest box that holds every square's picture.
PixelBox BoardPicturesBox(const PixelGrid& grid);

}  // namespace velmora
