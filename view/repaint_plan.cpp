#include "view/repaint_plan.h"

#include "view/accessible_parts.h"

namespace velmora {
namespace {

// Where a control is drawn now, the board turned as the surface shows it.
PixelBox BoxOfControl(const PixelGrid& grid, const Surface& surface, ControlRef ref) {
  const ControlSpec* spec = FindControl(ref);
  return spec != nullptr ? grid.BoxOf(ref, PlacedRect(surface, *spec)) : PixelBox{0, 0, 0, 0};
}

PixelBox BoxOfPart(const PixelGrid& grid, const Surface& surface, std::int16_t part) {
  const auto ref = ControlOfPart(surface, part);
  return ref ? BoxOfControl(grid, surface, *ref) : PixelBox{0, 0, 0, 0};
}

// Where the painter puts the dragged piece: a picture's size from its rectangle's corner.
PixelBox DraggedPieceBox(const PixelGrid& grid, const DraggedPiece& drag) {
  const PixelBox r = grid.BoxOf(kDraggedPieceSource, DraggedPieceRect(drag));
  return {r.left, r.top, r.left + grid.picture_size().width, r.top + grid.picture_size().height};
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
      // The border holds every square and both rows of coordinates.
      boxes.Add(BoxOfControl(grid, surface, {ControlName::kBoardBorder}));
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
      const std::optional<PixelBox> now =
          drag ? std::optional<PixelBox>(DraggedPieceBox(grid, *drag)) : std::nullopt;
      if (now == painted_drag_) break;
      if (painted_drag_) boxes.Add(*painted_drag_);
      if (now) boxes.Add(*now);
      painted_drag_ = now;
      break;
    }
  }
  return boxes;
}

}  // namespace velmora
