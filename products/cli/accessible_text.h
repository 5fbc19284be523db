#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "control/board_control.h"
#include "view/forms.h"

namespace velmora::cli {

// What `accessible` prints: the board, each part with its role, name, value and states, the
// prompt while it is shown, and where the focus is.
//   board table "Chess board"
//   part 13 cell "E2, white pawn" focusable focused
//   part 65 text "white pawn E2 to E4" value "E2-E4"
//   prompt "Promote To?"
//   part 66 button "white queen" focusable
//   focus 13
std::vector<std::string> AccessibleLines(const BoardControl& control);

// Prints each announcement as it happens: `announce "white pawn E2 to E4"`. Repainting is
// nobody's business here.
class AnnouncingObserver : public SurfaceObserver {
 public:
  explicit AnnouncingObserver(std::ostream& out) : out_(out) {}

  void PictureChanged(std::int16_t) override {}
  void MoveDisplayChanged() override {}
  void VisibilityChanged(ControlName) override {}
  void EnabledChanged() override {}
  void Announce(const Announcement& announcement) override;

 private:
  std::ostream& out_;
};

}  // namespace velmora::cli
