#pragma once

#include <QAccessible>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "control/accessible_model.h"
#include "control/host.h"
#include "platform/qt/qt_text.h"

class QEventLoop;
class QObject;

namespace velmora {

// What the widget and the Qt Quick item share.

// The wait a forms port runs while the core waits for a choice: a nested event loop.
class QtWait {
 public:
  // Input reached the core: a running wait looks again whether its choice was made.
  void Wake();
  // The control is closing: a running wait ends as closing.
  void End();
  // Runs until Wake, End or the application leaving its loops; true unless woken.
  bool Run();

 private:
  QEventLoop* loop_ = nullptr;
};

// An event's argument by position, as the control's own storage.
template <typename T>
T& Arg(std::span<const EventArg> args, std::size_t i) {
  return *std::get<T*>(args[i]);
}

// Raises an event of the control as the Qt face's signal of the same name; `before_move`
// delivers BeforeMove (from, to, promotion, and the cancel flag the handler may set).
template <class Face, class BeforeMove>
void EmitEvent(Face& face, EventId id, std::span<const EventArg> args, BeforeMove before_move) {
  using I = std::int16_t;
  using Text = const std::u16string;
  const auto text = [&args](std::size_t i) { return ToQString(Arg<Text>(args, i)); };
  switch (id) {
    case EventId::kClick:
      emit face.clicked();
      break;
    case EventId::kDblClick:
      emit face.doubleClicked();
      break;
    case EventId::kKeyDown:
      emit face.keyDown(Arg<I>(args, 0), Arg<I>(args, 1));
      break;
    case EventId::kKeyPress:
      emit face.keyPress(Arg<I>(args, 0));
      break;
    case EventId::kKeyUp:
      emit face.keyUp(Arg<I>(args, 0), Arg<I>(args, 1));
      break;
    case EventId::kMouseDown:
      emit face.mouseDown(Arg<I>(args, 0), Arg<I>(args, 1), Arg<float>(args, 2),
                          Arg<float>(args, 3));
      break;
    case EventId::kMouseMove:
      emit face.mouseMove(Arg<I>(args, 0), Arg<I>(args, 1), Arg<float>(args, 2),
                          Arg<float>(args, 3));
      break;
    case EventId::kMouseUp:
      emit face.mouseUp(Arg<I>(args, 0), Arg<I>(args, 1), Arg<float>(args, 2), Arg<float>(args, 3));
      break;
    case EventId::kChange:
      emit face.changed();
      break;
    case EventId::kBeforeMove:
      before_move(text(0), text(1), text(2), Arg<bool>(args, 3));
      break;
    case EventId::kMarksChanged:
      emit face.userMarksDrawn();
      break;
    case EventId::kAfterMove:
      emit face.afterMove(text(0), text(1), text(2));
      break;
    case EventId::kPositionEdited:
      emit face.positionEdited();
      break;
  }
}

// The member's property (its name in lower camel case) on `object` sends its NOTIFY signal.
void SendPropertyNotice(QObject& object, std::u16string_view member);

// The application's clipboard as the forms port's: the text copied, and the text there now (none
// when it holds no text).
ClipboardResult CopyToClipboard(std::u16string_view text);
ClipboardText PasteFromClipboard();

// Qt's role for a part's role in the core's accessible model.
QAccessible::Role RoleOf(AccessibleRole role);

}  // namespace velmora
