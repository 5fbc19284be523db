#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QObject;

namespace velmora {

// What a Qt front end runs its presenter's animation on: the time, in milliseconds from the
// clock's own origin, and the one wake-up the presenter wants next.
class FrontEndClock {
 public:
  virtual ~FrontEndClock() = default;

  virtual std::int64_t Now() const = 0;
  // Calls `wake` at `ms`, or as soon as may be when that has passed; none: no call wanted.
  virtual void WakeAt(std::optional<std::int64_t> ms) = 0;

  // What the front end does when woken: tick its presenter at Now().
  std::function<void()> wake;
};

// The clock of a front end on the screen: time since it was made, and a single-shot timer of
// the front end's thread.
class TimerClock : public FrontEndClock {
 public:
  TimerClock(QObject* context, std::function<void()> on_wake);

  std::int64_t Now() const override { return elapsed_.elapsed(); }
  void WakeAt(std::optional<std::int64_t> ms) override;

 private:
  QElapsedTimer elapsed_;
  QTimer timer_;
};

// Puts `next` in the place of `held`, keeping what the front end does when woken. Benchmarks
// hand a front end a clock they move themselves, so no wake-up depends on the time they take.
inline void ReplaceClock(std::unique_ptr<FrontEndClock>& held,
                         std::unique_ptr<FrontEndClock> next) {
  next->wake = std::move(held->wake);
  held = std::move(next);
}

}  // namespace velmora
