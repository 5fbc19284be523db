#pragma once

#include <Qt>
#include <cstdint>
#include <optional>

#include "control/pointer_input.h"

class QEvent;
class QKeyEvent;

namespace velmora {

class BoardControl;

// Shift, Ctrl and Alt as the host's Shift argument counts them: 1, 2 and 4.
std::int16_t ShiftOf(Qt::KeyboardModifiers modifiers);
// Left 1, right 2, middle 4, as the host's Button argument counts them.
std::int16_t ButtonsOf(Qt::MouseButtons buttons);
std::optional<PointerButton> PointerButtonOf(Qt::MouseButton button);

// A key press as the control takes it: its key-down, then the character it types, as a
// translated key message follows the key-down. True when the event stays with the control; a
// key the control and the host left alone goes on to the container (a dialog's Escape).
bool DeliverKeyPress(BoardControl& control, const QKeyEvent& event);
// Accepts a shortcut override for a key the control acts on now (an edit's Delete or Ctrl+C),
// so it reaches the control before any shortcut of the window's; true when it did.
bool ClaimShortcut(const BoardControl& control, QEvent& event);
// A key release: its key-up. A held key repeats its key-down and character only, as on Windows.
void DeliverKeyRelease(BoardControl& control, const QKeyEvent& event);

}  // namespace velmora
