#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "control/board_control.h"

namespace velmora {

enum class AccessibleRole : std::uint8_t { kTable, kCell, kStaticText, kPushButton };

struct AccessibleStates {
  bool focusable = false;
  bool focused = false;
  bool selected = false;
  bool unavailable = false;
  bool pressed = false;  // an armed spare piece or eraser

  friend bool operator==(AccessibleStates, AccessibleStates) = default;
};

// One part as assistive technology is told of it, derived from what the surface shows.
struct AccessiblePart {
  AccessibleRole role;
  std::u16string name;
  std::u16string value;        // the move display's text; empty elsewhere
  std::u16string description;  // a choice's question, "Promote To?"; the move display's arrows
  AccessibleStates states;
};

// Parts 0 (the board) to LastPart(); none for a part that does not exist now.
std::optional<AccessiblePart> DescribePart(const BoardControl& control, std::int16_t part);
// The part that has the keyboard focus; none while the control does not have it.
std::optional<std::int16_t> FocusedPart(const BoardControl& control);
// The picked square; none without a pick.
std::optional<std::int16_t> SelectedPart(const BoardControl& control);

}  // namespace velmora
