#pragma once

#include <QAccessible>
#include <cstddef>
#include <span>
#include <string_view>
#include <variant>

#include "control/accessible_model.h"
#include "control/host.h"

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

// The member's property (its name in lower camel case) on `object` sends its NOTIFY signal.
void SendPropertyNotice(QObject& object, std::u16string_view member);

// Qt's role for a part's role in the core's accessible model.
QAccessible::Role RoleOf(AccessibleRole role);

}  // namespace velmora
