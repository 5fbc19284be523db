#pragma once

#include "board/square_marks.h"
#include "view/layout.h"
#include "view/pixel_grid.h"
#include "view/rasterizer.h"

namespace velmora {

// The colour a mark is drawn in, as the web boards draw their annotation brushes.
Rgb MarkRgb(MarkColour colour);

// A circle mark: a ring just inside a square's picture of `size` pixels, its coverage already
// faded to the mark's strength, so a canvas lays the colour over by it as it is.
CoverageMask CircleMask(MaskSize size);

// An arrow from the middle of one square's picture box to the middle of another's (shaft and
// head; the head's tip on the target's middle), as a mask over `reach`, the smallest box that
// holds both pictures. Its widths follow the square's pitch, so it scales with the board; the
// head is narrower than a square, so the arrow never leaves `reach`. Faded as CircleMask is.
CoverageMask ArrowMask(const PixelBox& from, const PixelBox& to, const PixelBox& reach);

// The smallest box that holds both.
PixelBox Union(const PixelBox& a, const PixelBox& b);

}  // namespace velmora
