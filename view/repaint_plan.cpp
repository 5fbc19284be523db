#include "view/repaint_plan.h"

#include "view/accessible_parts.h"
#include "view/mark_shapes.h"

namespace velmora {
namespace {

// Where a control is drawn now, the board turned as the surface shows it.
PixelBox BoxOfControl(const PixelGrid& grid, const Surface& surface, ControlRef ref) {
  const ControlSpec* spec = FindControl(ref);
  return spec != nullptr ? grid.BoxOf(ref, PlacedRect(surface, *spec)) : PixelBox{0, 0, 0, 0};
}

PixelBox BoxOfPart(const PixelGrid& grid, const Surface& surface, std::int16_t part) {
  const auto ref = DrawnControlOfPart(surface, part);
  return ref ? BoxOfControl(grid, surface, *ref) : PixelBox{0, 0, 0, 0};
}

// Where the painter puts a dragged or sliding piece: a picture's size from its rectangle's
// corner.
PixelBox FloatingPieceBox(const PixelGrid& grid, const Rect& rect) {
  const PixelBox r = grid.BoxOf(kDraggedPieceSource, rect);
  return {r.left, r.top, r.left + grid.picture_size().width, r.top + grid.picture_size().height};
}

// The pictures of both squares and everything between: an arrow never leaves them.
PixelBox MarkBox(const PixelGrid& grid, const Surface& surface, std::int16_t from,
                 std::int16_t to) {
  const PixelBox a = BoxOfControl(grid, surface, {ControlName::kSquarePicture, from});
  const PixelBox b = BoxOfControl(grid, surface, {ControlName::kSquarePicture, to});
  return Union(a, b);
}

// Repaints where a floating piece was and where it is now, and remembers the latter.
void Follow(std::optional<PixelBox>& painted, const std::optional<PixelBox>& now,
            RepaintBoxes& boxes) {
  if (now == painted) return;
  if (painted) boxes.Add(*painted);
  if (now) boxes.Add(*now);
  painted = now;
}

}  // namespace

RepaintBoxes RepaintPlan::For(const PixelGrid& grid, const Surface& surface,
                              const SurfaceReport& report) {
  RepaintBoxes boxes;
  switch (report.kind) {
    case SurfaceReport::Kind::kPicture:
      boxes.Add(BoxOfControl(grid, surface, {ControlName::kSquarePicture, report.square}));
      break;
    case SurfaceReport::Kind::kMoveDisplay:
      boxes.Add(BoxOfControl(grid, surface, {ControlName::kMoveDisplay}));
      break;
    case SurfaceReport::Kind::kVisibility:
      boxes.Add(BoxOfControl(grid, surface, {report.control}));
      break;
    case SurfaceReport::Kind::kBoard:
      // The border holds every square and both rows of coordinates; a board alone is all
      // there is.
      boxes.Add(surface.BoardAlone() ? grid.DesignBox()
                                     : BoxOfControl(grid, surface, {ControlName::kBoardBorder}));
      break;
    case SurfaceReport::Kind::kEnabled:
      // Nothing on the surface looks different while it is disabled.
      break;
    case SurfaceReport::Kind::kFocus: {
      // Only the mark's own parts, and only when it moves: a person who never uses the keys
      // repaints nothing for it.
      const std::int16_t mark = surface.FocusMark();
      if (mark == painted_mark_) break;
      if (painted_mark_ != 0) boxes.Add(BoxOfPart(grid, surface, painted_mark_));
      if (mark != 0) boxes.Add(BoxOfPart(grid, surface, mark));
      painted_mark_ = mark;
      break;
    }
    case SurfaceReport::Kind::kDrag: {
      const auto& drag = surface.Drag();
      Follow(painted_drag_,
             drag ? std::optional<PixelBox>(FloatingPieceBox(grid, DraggedPieceRect(*drag)))
                  : std::nullopt,
             boxes);
      break;
    }
    case SurfaceReport::Kind::kMark:
      boxes.Add(MarkBox(grid, surface, report.square, report.to));
      break;
    case SurfaceReport::Kind::kSlide: {
      const auto slot = static_cast<std::size_t>(report.square);
      if (slot >= kMostSlides) break;
      const auto& slide = surface.Sliding()[slot];
      Follow(painted_slides_[slot],
             slide ? std::optional<PixelBox>(FloatingPieceBox(grid, SlidingPieceRect(*slide)))
                   : std::nullopt,
             boxes);
      break;
    }
  }
  return boxes;
}

}  // namespace velmora
