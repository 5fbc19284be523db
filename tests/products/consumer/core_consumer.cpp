// Embeds the portable control directly: pushes a move and reads it back.
#include <cstdio>
#include <span>
#include <string_view>

#include "control/board_control.h"

namespace {

class Forms : public velmora::FormsPort {
 public:
  void ShowMessage(std::u16string_view) override {}
  bool ProcessPendingEvents() override { return true; }
  void Repaint() override {}
};

class Host : public velmora::HostPort {
 public:
  int changes = 0;
  void RaiseEvent(velmora::EventId id, std::span<const velmora::EventArg>) override {
    if (id == velmora::EventId::kChange) ++changes;
  }
  void PropertyChanged(std::u16string_view) override {}
};

}  // namespace

int main() {
  Forms forms;
  Host host;
  const auto control = velmora::BoardControl::Create(forms, host);
  control->PutMove(u"E2-E4");
  const bool moved = control->GetMove() == u"E2-E4" && host.changes == 1 &&
                     control->board().PositionText().substr(8, 8) == u"PPPP*PPP";
  std::puts(moved ? "core consumer: E2-E4 played" : "core consumer: the move was not played");
  return moved ? 0 : 1;
}
