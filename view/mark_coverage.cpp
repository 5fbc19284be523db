#include "view/mark_coverage.h"

#include <algorithm>

#include "view/display_list.h"
#include "view/mark_shapes.h"

namespace velmora {

PixelBox SquarePictureBox(const PixelGrid& grid, std::int16_t square) {
  const ControlSpec* spec = FindControl({ControlName::kSquarePicture, square});
  const PixelBox r = grid.BoxOf(spec->ref, SurfaceRect(*spec));
  const MaskSize picture = grid.picture_size();
  return {r.left, r.top, r.left + picture.width, r.top + picture.height};
}

PixelBox BoardPicturesBox(const PixelGrid& grid) {
  return Union(SquarePictureBox(grid, 1), SquarePictureBox(grid, 64));
}

MarkCoverage::MarkCoverage(std::shared_ptr<const std::vector<SquareMark>> marks,
                           BoardOrientation orientation, const PixelGrid& grid)
    : marks_(std::move(marks)), orientation_(orientation), scale_(grid.scale()) {
  if (!marks_) return;
  const auto picture = [&](Square s) {
    return SquarePictureBox(grid, DrawnSquare(SquareNumber(s), orientation));
  };
  // Each colour's arrows add up in one mask over the board first, as one shape would; the
  // colours then go into the layer in the order of their last arrows.
  struct Arrows {
    Rgb colour;
    std::size_t last;
    CoverageMask coverage;
  };
  const PixelBox board = BoardPicturesBox(grid);
  const CoverageMask ring = CircleMask(grid.picture_size());
  PixelBox circled{0, 0, 0, 0}, arrowed{0, 0, 0, 0};
  std::vector<Arrows> arrows;
  for (std::size_t i = 0; i < marks_->size(); ++i) {
    const SquareMark& mark = (*marks_)[i];
    const PixelBox from = picture(mark.from);
    if (IsCircle(mark)) {
      circled = IsEmpty(circled) ? from : Union(circled, from);
      continue;
    }
    const Rgb colour = MarkRgb(mark.colour);
    auto same = std::find_if(arrows.begin(), arrows.end(),
                             [&](const Arrows& a) { return a.colour == colour; });
    if (same == arrows.end()) {
      arrows.push_back({colour, i, CoverageMask{{board.width(), board.height()}, {}}});
      same = arrows.end() - 1;
      same->coverage.coverage.resize(static_cast<std::size_t>(board.width()) *
                                     static_cast<std::size_t>(board.height()));
    }
    same->last = i;
    const PixelBox reach = Union(from, picture(*mark.to));
    AddArrow(from, picture(*mark.to), reach, same->coverage, board);
    arrowed = IsEmpty(arrowed) ? reach : Union(arrowed, reach);
  }
  circles_ = ColourLayer(circled);
  for (const SquareMark& mark : *marks_) {
    if (IsCircle(mark)) {
      const PixelBox at = picture(mark.from);
      circles_.Over(ring, MarkRgb(mark.colour), at.left, at.top);
    }
  }
  // Four colours at most: sorted by insertion, which keeps the libraries smaller.
  for (std::size_t k = 1; k < arrows.size(); ++k) {
    for (std::size_t j = k; j > 0 && arrows[j - 1].last > arrows[j].last; --j) {
      std::swap(arrows[j - 1], arrows[j]);
    }
  }
  arrows_ = ColourLayer(arrowed);
  for (Arrows& colour : arrows) {
    FadeArrows(colour.coverage);
    arrows_.Over(colour.coverage, colour.colour, board.left, board.top);
  }
}

}  // namespace velmora
