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
      board_(BoardPicturesBox(grid)),
      ring_(CircleMask(grid.picture_size())) {
  if (!marks_) return;
  const auto drawn = [&](Square s) { return DrawnSquare(SquareNumber(s), orientation); };
  const auto size = static_cast<std::size_t>(board_.width()) *
                    static_cast<std::size_t>(std::max(board_.height(), 0));
  std::vector<std::size_t> last;  // each colour's last arrow, by its place in arrows_
  for (std::size_t i = 0; i < marks_->size(); ++i) {
    const SquareMark& mark = (*marks_)[i];
    const Rgb colour = MarkRgb(mark.colour);
    const PixelBox from = SquarePictureBox(grid, drawn(mark.from));
    if (IsCircle(mark)) {
      circles_.push_back({from, colour});
      continue;
    }
    auto arrows = std::find_if(arrows_.begin(), arrows_.end(),
                               [&](const Arrows& a) { return a.colour == colour; });
    if (arrows == arrows_.end()) {
      arrows_.push_back({colour, from, CoverageMask{{board_.width(), board_.height()}, {}}});
      arrows = arrows_.end() - 1;
      arrows->coverage.coverage.resize(size);
      last.push_back(i);
    }
    last[static_cast<std::size_t>(arrows - arrows_.begin())] = i;
    const PixelBox to = SquarePictureBox(grid, drawn(*mark.to));
    const PixelBox reach = Union(from, to);
    AddArrow(from, to, reach, arrows->coverage, board_);
    arrows->inked = Union(arrows->inked, reach);
  }
  for (Arrows& arrows : arrows_) FadeArrows(arrows.coverage);
  // The colour of the latest arrow lies on top, as the latest mark did when each was drawn alone
  // (four colours at most: sorted by insertion).
  for (std::size_t k = 1; k < arrows_.size(); ++k) {
    for (std::size_t j = k; j > 0 && last[j - 1] > last[j]; --j) {
      std::swap(last[j - 1], last[j]);
      std::swap(arrows_[j - 1], arrows_[j]);
    }
  }
}

}  // namespace velmora
