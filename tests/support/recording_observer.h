#pragma once

#include <vector>

#include "view/announcement.h"
#include "view/forms.h"

namespace velmora {

// Writes down every visible change the surface reports.
class RecordingObserver : public SurfaceObserver {
 public:
  void PictureChanged(std::int16_t square) override { pictures.push_back(square); }
  void MoveDisplayChanged() override { ++move_display; }
  void VisibilityChanged(ControlName control) override { visibility.push_back(control); }
  void EnabledChanged() override { ++enabled; }
  void DestinationMarkChanged(std::int16_t square) override { marks.push_back(square); }
  void HighlightChanged(std::int16_t square) override { highlights.push_back(square); }
  void BoardTurned() override { ++turns; }
  void FocusMoved() override { ++focus_moves; }
  void SelectionChanged() override { ++selections; }
  void NameChanged(std::int16_t part) override { names.push_back(part); }
  void Announce(const Announcement& announcement) override {
    announcements.push_back(announcement);
  }

  void Clear() { *this = RecordingObserver(); }

  std::vector<std::int16_t> pictures;
  std::vector<ControlName> visibility;
  std::vector<std::int16_t> names;
  std::vector<std::int16_t> marks;
  std::vector<std::int16_t> highlights;
  std::vector<Announcement> announcements;
  int move_display = 0;
  int enabled = 0;
  int focus_moves = 0;
  int turns = 0;
  int selections = 0;
};

}  // namespace velmora
