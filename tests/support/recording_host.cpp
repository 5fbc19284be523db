#include "tests/support/recording_host.h"

#include <algorithm>

namespace velmora {

void RecordingHost::RaiseEvent(EventId id, std::span<const EventArg> args) {
  Event event{id, {}};
  for (const EventArg& arg : args) {
    std::visit(
        Overloaded{[&event](const std::u16string* text) { event.texts.push_back(*text); },
                   [&event](auto* value) { event.args.push_back(static_cast<double>(*value)); }},
        arg);
  }
  log_.emplace_back(std::move(event));
  if (handler_) handler_(id, args);
}

void RecordingHost::PropertyChanged(std::u16string_view property) {
  log_.emplace_back(Notice{std::u16string(property)});
}

int RecordingHost::CountEvents(EventId id) const {
  return static_cast<int>(std::count_if(log_.begin(), log_.end(), [id](const Entry& entry) {
    const auto* event = std::get_if<Event>(&entry);
    return event != nullptr && event->id == id;
  }));
}

}  // namespace velmora
