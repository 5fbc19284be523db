#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "control/host.h"

namespace velmora::cli {

// A host that prints every event and property-changed notice as it arrives, one line each:
// `event KeyPress KeyAscii=65`, `notice PutMove`. Its handler can be told to write a value into
// a named argument of every later event, to show that arguments go by reference.
class PrintingHost : public HostPort {
 public:
  explicit PrintingHost(std::ostream& out) : out_(out) {}

  void RaiseEvent(EventId id, std::span<const EventArg> args) override;
  void PropertyChanged(std::u16string_view property) override;

  void SetReply(const std::string& argument, std::optional<double> value);

 private:
  std::ostream& out_;
  std::map<std::string, double> replies_;
};

// "KeyCode=65 Shift=0": an event's arguments as they are now.
std::string FormatArguments(EventId id, std::span<const EventArg> args);

}  // namespace velmora::cli
