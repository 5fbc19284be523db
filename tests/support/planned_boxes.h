#pragma once

#include <vector>

#include "control/board_control.h"
#include "control/presenter.h"

namespace velmora {

// Collects the device boxes a presenter asks to repaint for every report of a control's
// surface, as a front end would invalidate them. A test makes it the control's observer.
class PlannedBoxes : public Screen, public Presenter {
 public:
  PlannedBoxes(BoardControl& control, const PixelGrid& grid)
      : Presenter(control, *this, grid.scale()) {}

  void Repaint(const PixelBox& box) override { boxes.push_back(box); }
  void WakeAt(std::optional<std::int64_t>) override {}

  std::vector<PixelBox> boxes;
};

}  // namespace velmora
