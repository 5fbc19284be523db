#include "control/accessible_model.h"

#include "view/accessible_parts.h"
#include "view/announcement.h"
#include "view/spare_pieces.h"

namespace velmora {

std::optional<std::int16_t> FocusedPart(const BoardControl& control) {
  if (!control.focus().HasFocus()) return std::nullopt;
  return control.focus().Part();
}

std::optional<std::int16_t> SelectedPart(const BoardControl& control) {
  const std::int16_t picked = control.surface().Picked();
  if (picked == 0) return std::nullopt;
  return picked;
}

std::optional<AccessiblePart> DescribePart(const BoardControl& control, std::int16_t part) {
  const Surface& surface = control.surface();
  if (part < kBoardPart || part > LastPart(surface)) return std::nullopt;
  AccessiblePart out{AccessibleRole::kTable, {}, {}, {}, {}};
  out.states.unavailable = !surface.Enabled();
  out.states.focusable = part != kMoveDisplayPart;
  out.states.focused = FocusedPart(control) == part;
  if (part == kBoardPart) {
    out.name = kBoardName;
  } else if (IsSquarePart(part)) {
    out.role = AccessibleRole::kCell;
    out.name = SquarePartName(surface, part);
    out.states.selected = surface.Picked() == part;
  } else if (part == kMoveDisplayPart) {
    // Named after the last announcement, so a screen reader hears each move as it is made.
    out.role = AccessibleRole::kStaticText;
    if (surface.LastAnnouncement()) out.name = AnnouncementWords(*surface.LastAnnouncement());
    out.value = control.GetMove();
    // The arrows drawn over the board are read with it.
    out.description = ArrowsWords(surface);
  } else if (const auto place = SpareOfPart(surface, part)) {
    out.role = AccessibleRole::kPushButton;
    out.name = SpareName(*place, surface.Orientation());
    out.states.focusable = false;
    out.states.pressed = surface.Armed() == *place;
  } else {
    const ControlSpec* choice = FindControl(*ControlOfPart(surface, part));
    out.role = AccessibleRole::kPushButton;
    out.name = PictureWords(choice->design_picture);
    out.description = kPromptCaption;
  }
  return out;
}

}  // namespace velmora
