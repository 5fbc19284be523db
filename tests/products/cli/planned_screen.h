#pragma once

#include <vector>

#include "control/board_control.h"
#include "platform/headless/png_renderer.h"
#include "view/repaint_plan.h"

namespace velmora {

// Repaints a kept picture as a screen does: only the boxes the core's plan gives for what the
// surface reports.
class PlannedScreen : public SurfaceObserver {
 public:
  PlannedScreen(BoardControl& control, double scale)
      : control_(control), renderer_(scale), image_(renderer_.Render(List())) {
    control_.SetSurfaceObserver(this);
  }
  ~PlannedScreen() override { control_.SetSurfaceObserver(nullptr); }
  PlannedScreen(const PlannedScreen&) = delete;
  PlannedScreen& operator=(const PlannedScreen&) = delete;

  void PictureChanged(std::int16_t square) override { Add(SurfaceReport::Picture(square)); }
  void MoveDisplayChanged() override { Add(SurfaceReport::MoveDisplay()); }
  void VisibilityChanged(ControlName control) override { Add(SurfaceReport::Visibility(control)); }
  void EnabledChanged() override { Add(SurfaceReport::Enabled()); }
  void FocusMoved() override { Add(SurfaceReport::Focus()); }
  void DragChanged() override { Add(SurfaceReport::Drag()); }
  void BoardTurned() override { Add(SurfaceReport::Board()); }
  void MarkChanged(std::int16_t from, std::int16_t to) override {
    Add(SurfaceReport::Mark(from, to));
  }
  void SlideChanged(std::size_t slot) override { Add(SurfaceReport::Slide(slot)); }

  // The kept picture with the planned boxes repainted, and what a whole new render shows.
  const RgbImage& Repainted() {
    renderer_.Repaint(image_, List(), dirty_);
    dirty_.clear();
    return image_;
  }
  RgbImage Whole() { return renderer_.Render(List()); }

 private:
  DisplayList List() const { return BuildDisplayList(control_.surface(), control_.GetMove()); }
  void Add(const SurfaceReport& report) {
    for (const PixelBox& box : plan_.For(renderer_.grid(), control_.surface(), report)) {
      dirty_.push_back(box);
    }
  }

  BoardControl& control_;
  PngRenderer renderer_;
  RgbImage image_;
  RepaintPlan plan_;
  std::vector<PixelBox> dirty_;
};

}  // namespace velmora
