#include "platform/qt/qt_input.h"

#include <QKeyEvent>

#include "control/board_control.h"
#include "platform/qt/qt_keys.h"

namespace velmora {

std::int16_t ShiftOf(Qt::KeyboardModifiers modifiers) {
  std::int16_t shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= 1;
  if (modifiers & Qt::ControlModifier) shift |= 2;
  if (modifiers & Qt::AltModifier) shift |= 4;
  return shift;
}

std::int16_t ButtonsOf(Qt::MouseButtons buttons) {
  std::int16_t held = 0;
  if (buttons & Qt::LeftButton) held |= 1;
  if (buttons & Qt::RightButton) held |= 2;
  if (buttons & Qt::MiddleButton) held |= 4;
  return held;
}

std::optional<PointerButton> PointerButtonOf(Qt::MouseButton button) {
  if (button == Qt::LeftButton) return PointerButton::kLeft;
  if (button == Qt::RightButton) return PointerButton::kRight;
  if (button == Qt::MiddleButton) return PointerButton::kMiddle;
  return std::nullopt;
}

bool DeliverKeyPress(BoardControl& control, const QKeyEvent& event) {
  std::int16_t KeyCode = VirtualKeyOf(event.key());
  std::int16_t Shift = ShiftOf(event.modifiers());
  const QString text = event.text();
  const bool acted = KeyCode != 0 && control.SurfaceKeyDown(KeyCode, Shift);
  if (text.size() == 1 && text.front().unicode() < 0x8000) {
    std::int16_t KeyAscii = static_cast<std::int16_t>(text.front().unicode());
    control.SurfaceKeyPress(KeyAscii);
  }
  return acted || KeyCode == 0;
}

bool ClaimShortcut(const BoardControl& control, QEvent& event) {
  if (event.type() != QEvent::ShortcutOverride) return false;
  const auto& key = static_cast<const QKeyEvent&>(event);
  const std::int16_t code = VirtualKeyOf(key.key());
  if (code == 0 || !control.TakesKey(code, ShiftOf(key.modifiers()))) return false;
  event.accept();
  return true;
}

void DeliverKeyRelease(BoardControl& control, const QKeyEvent& event) {
  if (event.isAutoRepeat()) return;
  std::int16_t KeyCode = VirtualKeyOf(event.key());
  std::int16_t Shift = ShiftOf(event.modifiers());
  if (KeyCode != 0) control.SurfaceKeyUp(KeyCode, Shift);
}

}  // namespace velmora
