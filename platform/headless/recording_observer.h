#pragma once

#include <vector>

#include "view/forms.h"

namespace velmora {

// Writes down every visible change the surface reports.
class RecordingObserver : public SurfaceObserver {
 public:
  void PictureChanged(std::int16_t square) override { pictures.push_back(square); }
  void MoveDisplayChanged() override { ++move_display; }
  void VisibilityChanged(ControlName control) override { visibility.push_back(control); }
  void EnabledChanged() override { ++enabled; }

  void Clear() { *this = RecordingObserver(); }

  std::vector<std::int16_t> pictures;
  std::vector<ControlName> visibility;
  int move_display = 0;
  int enabled = 0;
};

}  // namespace velmora
