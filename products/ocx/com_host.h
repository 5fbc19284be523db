#pragma once

#include <functional>

#include "control/host.h"
#include "runtime/com/connection_point.h"

namespace velmora::ocx {

// The core's host port on COM: events go to every sink of the event interface by
// IDispatch::Invoke, property-changed notices to every IPropertyNotifySink as OnChanged.
class ComHost : public HostPort {
 public:
  // `members` names the properties' member ids; `changed` is told of every notice (the
  // control's saved state is out of date).
  ComHost(const com::ConnectionPoint& events, const com::ConnectionPoint& notices,
          ITypeInfo& members, std::function<void()> changed);

  // Arguments go by reference to the core's own storage, so a sink's writes come back. A
  // sink's failure is its own affair: a container answers "not found" for events it ignores.
  void RaiseEvent(EventId id, std::span<const EventArg> args) override;
  void PropertyChanged(std::u16string_view property) override;

 private:
  const com::ConnectionPoint& events_;
  const com::ConnectionPoint& notices_;
  ITypeInfo& members_;
  std::function<void()> changed_;
};

}  // namespace velmora::ocx
