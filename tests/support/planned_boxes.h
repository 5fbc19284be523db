#pragma once

#include <vector>

#include "control/board_control.h"
#include "view/repaint_plan.h"

namespace velmora {

// Collects the device boxes the repaint plan gives for every report of a control's surface, as
// a front end would invalidate them.
class PlannedBoxes : public SurfaceObserver {
 public:
  PlannedBoxes(const BoardControl& control, const PixelGrid& grid)
      : control_(control), grid_(grid) {}

  void PictureChanged(std::int16_t square) override { Add(SurfaceReport::Picture(square)); }
  void MoveDisplayChanged() override { Add(SurfaceReport::MoveDisplay()); }
  void VisibilityChanged(ControlName control) override { Add(SurfaceReport::Visibility(control)); }
  void EnabledChanged() override { Add(SurfaceReport::Enabled()); }
  void DragChanged() override { Add(SurfaceReport::Drag()); }
  void SlideChanged(std::size_t slot) override { Add(SurfaceReport::Slide(slot)); }

  std::vector<PixelBox> boxes;

 private:
  void Add(const SurfaceReport& report) {
    for (const PixelBox& box : plan_.For(grid_, control_.surface(), report)) boxes.push_back(box);
  }

  const BoardControl& control_;
  const PixelGrid& grid_;
  RepaintPlan plan_;
};

}  // namespace velmora
