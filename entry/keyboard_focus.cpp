#include "entry/keyboard_focus.h"

#include "view/accessible_parts.h"

namespace velmora {

std::int16_t KeyboardFocus::Part() const {
  if (ShownChoices(surface_)) return static_cast<std::int16_t>(kFirstChoicePart + choice_);
  return square_;
}

void KeyboardFocus::SetHasFocus(bool has_focus) {
  const Snapshot before = Take();
  has_focus_ = has_focus;
  Settle(before);
}

void KeyboardFocus::NavigateToSquare(std::int16_t n) {
  if (!IsSquarePart(n)) return;
  const Snapshot before = Take();
  square_ = n;
  navigated_ = true;
  Settle(before);
}

void KeyboardFocus::NavigateToChoice(std::int16_t choice) {
  if (choice < 0 || choice >= kChoicesShown) return;
  const Snapshot before = Take();
  choice_ = choice;
  navigated_ = true;
  Settle(before);
}

void KeyboardFocus::FollowMouse(std::int16_t clicked_square) {
  const Snapshot before = Take();
  if (IsSquarePart(clicked_square)) square_ = clicked_square;
  navigated_ = false;
  Settle(before);
}

void KeyboardFocus::PromptToggled() {
  const Snapshot before = Take();
  choice_ = 0;
  // The part number may read the same (a choice focus left at 0), yet the focus went elsewhere.
  Settle(before, true);
}

void KeyboardFocus::Settle(Snapshot before, bool moved_anyway) {
  surface_.SetFocusMark(MarkShown() ? Part() : 0);
  if (moved_anyway || !(Take() == before)) surface_.FocusMoved();
}

}  // namespace velmora
