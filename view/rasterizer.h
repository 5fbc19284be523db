#pragma once

#include <cstdint>
#include <vector>

#include "view/path.h"
#include "view/pixel_box.h"

namespace velmora {

struct MaskSize {
  int width, height;  // pixels
  friend bool operator==(MaskSize, MaskSize) = default;
};

// How much of each pixel a path covers: 0 none to 255 all, row by row, top row first.
struct CoverageMask {
  MaskSize size{0, 0};
  std::vector<std::uint8_t> coverage;

  std::uint8_t At(int x, int y) const {
    return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) +
                    static_cast<std::size_t>(x)];
  }
};

// Rasterizes a path whose coordinates lie in a `units` x `units` box onto `size` pixels (the
// box's corner on the mask's top-left corner; the axes may scale differently). Each pixel gets
// the exact area the filled path covers in it, by the path's fill rule, as font rasterizers
// compute it; curves are followed to within a two-hundredth of a pixel. Whatever lies outside the
// mask is cut off. A pure function: the same path and size always give the same pixels.
CoverageMask Rasterize(const Path& path, double units, MaskSize size);

// The cells a rasterizer sweeps a row with, kept between the many windows of large masks one
// painting rasterizes, so that none clears a row of its mask's width again. Left all zero.
struct RowCellStore {
  std::vector<double> cells;
};

// The same coverage added, up to all, into the pixels of `into` under the part of the mask of
// `size` inside `window` (a box of the mask's own pixels), the mask laid with its corner at
// (x, y); that part lies inside `into`. Each pixel gets what it gets in the whole mask. Only the
// window's rows and what the path touches in them are visited, so a small shape costs as
// little on a large mask as on its own, and a small window of a large shape little more.
void RasterizeAdding(const Path& path, double units, MaskSize size, const PixelBox& window,
                     CoverageMask& into, int x, int y, RowCellStore& cells);

}  // namespace velmora
