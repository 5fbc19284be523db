#include "platform/headless/headless_forms.h"

#include "control/board_control.h"

namespace velmora {

void HeadlessForms::QueueSquareClick(std::int16_t n) {
  Queue([n](BoardControl& control) { control.ClickSquare(n); });
}

void HeadlessForms::QueueChoiceClick(std::int16_t k) {
  Queue([k](BoardControl& control) { control.ClickChoice(k); });
}

void HeadlessForms::ShowMessage(std::u16string_view text) {
  messages_.emplace_back(text);
  if (message_listener_) message_listener_(text);
}

bool HeadlessForms::ProcessPendingEvents() {
  ++pumps_;
  if (pending_.empty() && !(refill_ && refill_() && !pending_.empty())) return true;
  Input input = std::move(pending_.front());
  pending_.pop_front();
  if (!input) return true;
  const auto control = control_.lock();
  if (!control) return true;
  input(*control);
  return false;
}

void HeadlessForms::RunPending() {
  while (!pending_.empty()) {
    Input input = std::move(pending_.front());
    pending_.pop_front();
    const auto control = control_.lock();
    if (input && control) input(*control);
  }
}

}  // namespace velmora
