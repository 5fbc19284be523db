#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "control/host.h"

namespace velmora {
// One callable from several lambdas, for visiting an event argument.
template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;
}  // namespace velmora

namespace velmora {

// A host that writes down every event (with its argument values as raised) and every
// property-changed notice, in order. A handler may act on events, as a real host's would.
class RecordingHost : public HostPort {
 public:
  struct Event {
    EventId id;
    std::vector<double> args;                // values as the control passed them in (true is 1)
    std::vector<std::u16string> texts = {};  // the text arguments, in order
  };
  struct Notice {
    std::u16string property;
  };
  using Entry = std::variant<Event, Notice>;
  using Handler = std::function<void(EventId, std::span<const EventArg>)>;

  void SetHandler(Handler handler) { handler_ = std::move(handler); }

  void RaiseEvent(EventId id, std::span<const EventArg> args) override;
  void PropertyChanged(std::u16string_view property) override;

  const std::vector<Entry>& log() const { return log_; }
  int CountEvents(EventId id) const;
  void Clear() { log_.clear(); }

 private:
  std::vector<Entry> log_;
  Handler handler_;
};

}  // namespace velmora
