#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "view/artwork.h"
#include "view/canvas.h"
#include "view/display_list.h"
#include "view/mark_coverage.h"
#include "view/pixel_grid.h"
#include "view/recent_cache.h"

namespace velmora {

// The one way the surface reaches a screen: walks a display list bottom to top and draws what
// reaches into a dirty box on a canvas, every part where the pixel grid puts it. Commands
// outside the box cost one box test each. It keeps the pieces it rasterized (at the picture
// size in use and the few before it) and the coverage of the marks last shown, so one painter
// belongs to one front end.
class SurfacePainter {
 public:
  // Pieces are rasterized at most this many pixels a side; larger pictures are scaled from
  // that, so a huge drawing costs no more than a large one.
  static constexpr int kLargestRasterizedPiece = 1024;
  // The picture sizes kept besides the one in use.
  static constexpr std::size_t kPieceSizesKept = 3;

  // Paints what reaches into the dirty boxes; each box is painted on its own, bottom to top,
  // and a part is placed once for them all.
  void Paint(Canvas& canvas, const PixelGrid& grid, const DisplayList& list,
             std::span<const PixelBox> dirty);
  void Paint(Canvas& canvas, const PixelGrid& grid, const DisplayList& list,
             const PixelBox& dirty) {
    Paint(canvas, grid, list, std::span<const PixelBox>(&dirty, 1));
  }

  // The pixel size a piece picture of `picture_size` is rasterized at.
  static MaskSize RasterSize(MaskSize picture_size);
  // The rasterized sizes held, most recently used first.
  std::size_t piece_sizes_held() const { return pieces_.size(); }

 private:
  const PieceImage& PieceFor(Picture picture, MaskSize picture_size);
  // The coverage of the marks a command shows, built when they, the grid or the orientation
  // changed since the last.
  MarkCoverage& MarkCoverageFor(const PixelGrid& grid, const ShownMarks& shown);
  // Lays a command's circles or arrows over what the dirty box shows.
  void PaintMarks(Canvas& canvas, const PixelGrid& grid, const PaintCommand& command,
                  const PixelBox& dirty);

  // Where a command of the last list painted reaches on the device.
  struct Placed {
    bool valid = false;
    ControlRef source{ControlName::kBackground};
    PaintKind kind = PaintKind::kRectangle;
    Rect rect{0, 0, 0, 0};
    PixelBox reach{0, 0, 0, 0};
  };
  DeviceScale placed_on_;
  std::vector<Placed> placed_;
  RecentCache<MaskSize, std::array<PieceImage, kPieceCount>> pieces_{
      kPieceSizesKept + 1, [](std::array<PieceImage, kPieceCount>&) {}};
  std::optional<MarkCoverage> mark_coverage_;
};

}  // namespace velmora
