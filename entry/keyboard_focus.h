#pragma once

#include <cstdint>

#include "view/surface.h"

namespace velmora {

// Where the keyboard points: a focus square (A1 when the control is created), or one of the
// four choices shown while the prompt's panel or the chooser waits. The focus mark is drawn there
// only while the control has the focus and a navigation key was used since the last mouse click, so
// a person using the mouse alone sees no mark at all. Every change is reported as a focus move.
class KeyboardFocus {
 public:
  explicit KeyboardFocus(Surface& surface) : surface_(surface) {}

  KeyboardFocus(const KeyboardFocus&) = delete;
  KeyboardFocus& operator=(const KeyboardFocus&) = delete;

  std::int16_t Square() const { return square_; }
  std::int16_t Choice() const { return choice_; }  // 0 to 3, top to bottom
  bool HasFocus() const { return has_focus_; }
  // The focused part in the flat numbering: the focus square, or 66 to 69 while prompting.
  std::int16_t Part() const;
  bool MarkShown() const { return has_focus_ && navigated_; }

  void SetHasFocus(bool has_focus);
  // A navigation key (or an assistive client) moved the focus: the mark may show.
  void NavigateToSquare(std::int16_t n);
  void NavigateToChoice(std::int16_t choice);
  // A mouse click: a clicked square becomes the focus square, and the mark hides.
  void FollowMouse(std::int16_t clicked_square);
  // The prompt or the chooser opened (the focus goes to its first choice) or closed (back to
  // the square).
  void PromptToggled();

 private:
  struct Snapshot {
    std::int16_t part;
    bool has_focus;
    bool mark;
    friend bool operator==(Snapshot, Snapshot) = default;
  };
  Snapshot Take() const { return {Part(), has_focus_, MarkShown()}; }
  // Shows the mark where it belongs now and reports a move when anything differs from `before`.
  void Settle(Snapshot before, bool moved_anyway = false);

  Surface& surface_;
  std::int16_t square_ = 1;
  std::int16_t choice_ = 0;
  bool has_focus_ = false;
  bool navigated_ = false;
};

}  // namespace velmora
