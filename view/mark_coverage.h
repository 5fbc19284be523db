#pragma once

#include <memory>
#include <vector>

#include "board/square_marks.h"
#include "view/layout.h"
#include "view/pixel_grid.h"
#include "view/rasterizer.h"

namespace velmora {

// A board's marks as a painter lays them: the circles as one ring and the pictures it lies in,
// the arrows as one mask per colour over the board's pictures, each arrow rasterized into it
// once. Built for one list of marks, one grid and one orientation, and kept while they hold, so
// a paint only blends what its box shows however many marks there are.
class MarkCoverage {
 public:
  // A circle: the picture box of the square it is drawn on, and its colour.
  struct Circle {
    PixelBox picture;
    Rgb colour;
  };
  // The arrows of one colour: their coverage over `board()`, and the box they lie in.
  struct Arrows {
    Rgb colour;
    PixelBox inked;
    CoverageMask coverage;
  };

  MarkCoverage(std::shared_ptr<const std::vector<SquareMark>> marks, BoardOrientation orientation,
               const PixelGrid& grid);

  // Whether this is the coverage of these marks, turned so, on this grid.
  bool IsFor(const std::shared_ptr<const std::vector<SquareMark>>& marks,
             BoardOrientation orientation, const PixelGrid& grid) const {
    return marks == marks_ && orientation == orientation_ && grid.scale() == scale_;
  }

  const PixelBox& board() const { return board_; }
  const CoverageMask& ring() const { return ring_; }
  const std::vector<Circle>& circles() const { return circles_; }
  // Colours in the order their last arrows come, so the newest arrow's colour lies on top.
  const std::vector<Arrows>& arrows() const { return arrows_; }

 private:
  std::shared_ptr<const std::vector<SquareMark>> marks_;  // held, so the pointer stays theirs
  BoardOrientation orientation_;
  DeviceScale scale_;
  PixelBox board_;
  CoverageMask ring_;
  std::vector<Circle> circles_;
  std::vector<Arrows> arrows_;
};

// The picture box of the square drawn at square n's design place.
PixelBox SquarePictureBox(const PixelGrid& grid, std::int16_t square);
// The smallest box that holds every square's picture.
PixelBox BoardPicturesBox(const PixelGrid& grid);

}  // namespace velmora
