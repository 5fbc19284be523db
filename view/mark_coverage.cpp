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
      circles_.push_back({from, from, colour});
      continue;
    }
    const PixelBox to = picture(*mark.to);
    arrows_.push_back({from, to, colour});
    arrowed_ = IsEmpty(arrowed_) ? Union(from, to) : Union(arrowed_, Union(from, to));
  }
  // From the last arrow back, each colour not yet seen goes before those seen.
  for (auto arrow = arrows_.rbegin(); arrow != arrows_.rend(); ++arrow) {
    const auto end = arrow_colours_.begin() + static_cast<std::ptrdiff_t>(arrow_colour_count_);
    if (std::find(arrow_colours_.begin(), end, arrow->colour) != end) continue;
    std::copy_backward(arrow_colours_.begin(), end, end + 1);
    arrow_colours_[0] = arrow->colour;
    ++arrow_colour_count_;
  }
}

ColourLayer MarkCoverage::Circles(const PixelBox& box) {
  ColourLayer layer(box);
  for (const Placed& circle : circles_) {
    const PixelBox part = Intersection(circle.from, box);
    if (IsEmpty(part)) continue;
    layer.Over(RingPart(circle.from, part, cells_), circle.colour, part.left, part.top);
  }
  return layer;
}

ColourLayer MarkCoverage::Arrows(const PixelBox& box) {
  // Each colour's arrows add up in one mask over the tile first, as one shape would; the
  // colours then go into the layer in the order of their last arrows.
  ColourLayer layer(box);
  CoverageMask coverage{{box.width(), box.height()}, {}};
  for (std::size_t k = 0; k < arrow_colour_count_; ++k) {
    const Rgb colour = arrow_colours_[k];
    coverage.coverage.assign(
        static_cast<std::size_t>(box.width()) * static_cast<std::size_t>(box.height()), 0);
    for (const Placed& arrow : arrows_) {
      if (arrow.colour == colour) {
        AddArrow(arrow.from, arrow.to, Union(arrow.from, arrow.to), coverage, box, cells_);
      }
    }
    FadeArrows(coverage);
    layer.Over(coverage, colour, box.left, box.top);
  }
  return layer;
}

const ColourLayer& MarkCoverage::TileAt(bool arrows, const PixelBox& box) {
  for (Tile& tile : tiles_) {
    if (tile.arrows == arrows && tile.box == box) {
      tile.used = paints_;
      return tile.layer;
    }
  }
  // The tiles laid longest ago make room first.
  const std::size_t needed =
      static_cast<std::size_t>(box.width()) * static_cast<std::size_t>(box.height()) * 6;
  while (!tiles_.empty() && bytes_kept() + needed > kMostBytesKept) {
    tiles_.erase(std::min_element(tiles_.begin(), tiles_.end(),
                                  [](const Tile& a, const Tile& b) { return a.used < b.used; }));
  }
  pixels_rasterized_ += needed / 6;
  tiles_.push_back({arrows, box, arrows ? Arrows(box) : Circles(box), paints_});
  return tiles_.back().layer;
}

void MarkCoverage::Paint(Canvas& canvas, bool arrows, const PixelBox& clip) {
  ++paints_;
  const PixelBox& extent = arrows ? arrowed_ : circled_;
  const PixelBox shown = Intersection(extent, clip);
  if (IsEmpty(shown)) return;
  const int first_column = (shown.left - board_.left) / kTileSide;
  const int first_row = (shown.top - board_.top) / kTileSide;
  for (int top = board_.top + first_row * kTileSide; top < shown.bottom; top += kTileSide) {
    for (int left = board_.left + first_column * kTileSide; left < shown.right; left += kTileSide) {
      const PixelBox tile = Intersection({left, top, left + kTileSide, top + kTileSide}, extent);
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
