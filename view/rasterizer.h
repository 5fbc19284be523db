#pragma once

#include <cstdint>
#include <vector>

#include "view/path.h"

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

// The same coverage added, up to all, into the pixels of `into` under the mask of `size` laid
// with its corner at (x, y); that mask lies inside `into`. Only what the path touches is
// visited, so a small shape costs as little on a large mask as on its own.
void RasterizeAdding(const Path& path, double units, MaskSize size, CoverageMask& into, int x,
                     int y);

}  // namespace velmora
