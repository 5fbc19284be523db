#pragma once

#include "control/host.h"
#include "view/forms.h"

namespace velmora::bench {

// Ports that take everything and do nothing, so a benchmark counts the control alone.
class QuietForms : public FormsPort {
 public:
  void ShowMessage(std::u16string_view) override {}
  bool ProcessPendingEvents() override { return true; }
  void Repaint() override {}
};

class QuietHost : public HostPort {
 public:
  void RaiseEvent(EventId, std::span<const EventArg>) override {}
  void PropertyChanged(std::u16string_view) override {}
};

}  // namespace velmora::bench
