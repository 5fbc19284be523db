#include "platform/qt/qt_clock.h"

#include <algorithm>

namespace velmora {

TimerClock::TimerClock(QObject* context, std::function<void()> on_wake) {
  wake = std::move(on_wake);
  elapsed_.start();
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, context, [this] { wake(); });
}

void TimerClock::WakeAt(std::optional<std::int64_t> ms) {
  if (!ms) {
    timer_.stop();
    return;
  }
  timer_.start(static_cast<int>(std::max<std::int64_t>(0, *ms - Now())));
}

}  // namespace velmora
