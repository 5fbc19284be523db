#pragma once

#include <vector>

#include "control/board_control.h"
#include "control/presenter.h"
#include "platform/headless/png_renderer.h"
#include "tests/support/board_scale.h"

namespace velmora {

// Repaints a kept picture as a screen does: only the boxes the core's presenter asks for.
class PlannedScreen : public Screen {
 public:
  PlannedScreen(BoardControl& control, double scale)
      : renderer_(ScaleOf(control, scale)),
        presenter_(control, *this, renderer_.grid().scale()),
        image_(renderer_.Render(presenter_.Display())) {
    presenter_.Attach();
  }
  PlannedScreen(const PlannedScreen&) = delete;
  PlannedScreen& operator=(const PlannedScreen&) = delete;

  void Repaint(const PixelBox& box) override { dirty_.push_back(box); }
  void WakeAt(std::optional<std::int64_t>) override {}

  // The kept picture with the planned boxes repainted, and what a whole new render shows.
  const RgbImage& Repainted() {
    renderer_.Repaint(image_, presenter_.Display(), dirty_);
    dirty_.clear();
    return image_;
  }
  RgbImage Whole() { return renderer_.Render(presenter_.Display()); }

 private:
  PngRenderer renderer_;
  Presenter presenter_;
  RgbImage image_;
  std::vector<PixelBox> dirty_;
};

}  // namespace velmora
