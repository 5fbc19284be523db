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
    : marks_(std::move(marks)),
      orientation_(orientation),
      scale_(grid.scale()),
      board_(BoardPicturesBox(grid)) {
  if (!marks_) return;
  const auto picture = [&](Square s) {
    return SquarePictureBox(grid, DrawnSquare(SquareNumber(s), orientation));
  };
  for (std::size_t i = 0; i < marks_->size(); ++i) {
    const SquareMark& mark = (*marks_)[i];
    const PixelBox from = picture(mark.from);
    const Rgb colour = MarkRgb(mark.colour);
    if (IsCircle(mark)) {
      circled_ = IsEmpty(circled_) ? from : Union(circled_, from);
      circles_.push_back({from, colour});
      continue;
    }
    auto same = std::find_if(arrow_colours_.begin(), arrow_colours_.end(),
                             [&](const ArrowColour& a) { return a.colour == colour; });
    if (same == arrow_colours_.end()) {
      arrow_colours_.push_back({colour, i, {}});
      same = arrow_colours_.end() - 1;
    }
    same->last = i;
    const PixelBox to = picture(*mark.to);
    const PixelBox reach = Union(from, to);
    same->arrows.push_back({from, to, reach});
    arrowed_ = IsEmpty(arrowed_) ? reach : Union(arrowed_, reach);
  }
  // Four colours at most: sorted by insertion, which keeps the libraries smaller.
  for (std::size_t k = 1; k < arrow_colours_.size(); ++k) {
    for (std::size_t j = k; j > 0 && arrow_colours_[j - 1].last > arrow_colours_[j].last; --j) {
      std::swap(arrow_colours_[j - 1], arrow_colours_[j]);
    }
  }
}

ColourLayer MarkCoverage::Circles(const PixelBox& box) {
  ColourLayer layer(box);
  for (const Circle& circle : circles_) {
    const PixelBox part = Intersection(circle.picture, box);
    if (IsEmpty(part)) continue;
    layer.Over(RingPart(circle.picture, part, cells_), circle.colour, part.left, part.top);
  }
  return layer;
}

ColourLayer MarkCoverage::Arrows(const PixelBox& box) {
  // Each colour's arrows add up in one mask over the tile first, as one shape would; the
  // colours then go into the layer in the order of their last arrows.
  ColourLayer layer(box);
  CoverageMask coverage{{box.width(), box.height()}, {}};
  for (const ArrowColour& colour : arrow_colours_) {
    coverage.coverage.assign(
        static_cast<std::size_t>(box.width()) * static_cast<std::size_t>(box.height()), 0);
    for (const Arrow& arrow : colour.arrows) {
      AddArrow(arrow.from, arrow.to, arrow.reach, coverage, box, cells_);
    }
    FadeArrows(coverage);
    layer.Over(coverage, colour.colour, box.left, box.top);
  }
  return layer;
}

const ColourLayer& MarkCoverage::TileAt(bool arrows, const PixelBox& box) {
  const auto kept = std::find_if(tiles_.begin(), tiles_.end(), [&](const Tile& tile) {
    return tile.arrows == arrows && tile.box == box;
  });
  if (kept != tiles_.end()) {
    std::rotate(tiles_.begin(), kept, kept + 1);
    return tiles_.front().layer;
  }
  const std::size_t needed =
      static_cast<std::size_t>(box.width()) * static_cast<std::size_t>(box.height()) * 6;
  while (!tiles_.empty() && bytes_kept() + needed > kMostBytesKept) tiles_.pop_back();
  pixels_rasterized_ += needed / 6;
  tiles_.insert(tiles_.begin(), {arrows, box, arrows ? Arrows(box) : Circles(box)});
  return tiles_.front().layer;
}

void MarkCoverage::Paint(Canvas& canvas, bool arrows, const PixelBox& clip) {
  const PixelBox shown = Intersection(arrows ? arrowed_ : circled_, clip);
  if (IsEmpty(shown)) return;
  const int first_column = (shown.left - board_.left) / kTileSide;
  const int first_row = (shown.top - board_.top) / kTileSide;
  for (int top = board_.top + first_row * kTileSide; top < shown.bottom; top += kTileSide) {
    for (int left = board_.left + first_column * kTileSide; left < shown.right; left += kTileSide) {
      const PixelBox tile = Intersection({left, top, left + kTileSide, top + kTileSide},
                                         arrows ? arrowed_ : circled_);
      if (IsEmpty(tile)) continue;
      canvas.Layer(TileAt(arrows, tile), Intersection(tile, shown));
    }
  }
}

std::size_t MarkCoverage::bytes_kept() const {
  std::size_t bytes = 0;
  for (const Tile& tile : tiles_) bytes += tile.layer.colour.size() + tile.layer.keep.size();
  return bytes;
}

}  // namespace velmora
