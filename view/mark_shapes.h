#pragma once

#include "board/square_marks.h"
#include "view/layout.h"
#include "view/pixel_grid.h"
#include "view/rasterizer.h"

namespace velmora {

// The colour a mark is drawn in, as the web boards draw their annotation brushes.
Rgb MarkRgb(MarkColour colour);

// The part inside `window` of a circle mark: a ring just inside the square picture `picture`,
// its coverage already faded to the mark's strength, so a canvas lays the colour over by it as
// it is. A mask over Intersection(window, picture), each pixel as the whole ring has it.
CoverageMask RingPart(const PixelBox& picture, const PixelBox& window, RowCellStore& cells);

// Adds an arrow from the middle of one square's picture box to the middle of another's (shaft
// and head; the head's tip on the target's middle) into `coverage`, a mask over the box `over`,
// at full strength, for the pixels of `over` only. `reach` is the smallest box that holds both
// pictures: the arrow is rasterized as a mask over it, so an arrow's pixels are the same on any
// board and whichever part of it is drawn; an arrow that passes `over` by costs a few tests.
// Its widths follow the square's pitch, so it scales with the board; the head is narrower than
// a square, so the arrow never leaves `reach`. Arrows that overlap add up, as one shape of
// their outlines would.
void AddArrow(const PixelBox& from, const PixelBox& to, const PixelBox& reach,
              CoverageMask& coverage, const PixelBox& over, RowCellStore& cells);
// Fades arrows' coverage to their strength, as CircleMask is faded.
void FadeArrows(CoverageMask& coverage);

}  // namespace velmora
