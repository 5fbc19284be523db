#include "platform/qt/quick/quick_ports.h"

#include <string>

#include "control/members.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/quick/quick_board.h"

namespace velmora {

void QuickForms::Detach() {
  board_ = nullptr;
  wait_.End();
}

bool QuickForms::ProcessPendingEvents() {
  if (board_.isNull()) return true;
  return wait_.Run() || board_.isNull();
}

void QuickForms::Repaint() {
  if (!board_.isNull()) board_->RepaintWhole();
}

void QuickHost::RaiseEvent(EventId id, std::span<const EventArg> args) {
  if (board_ == nullptr) return;
  EmitEvent(*board_, id, args,
            [this](const QString& from, const QString& to, const QString& promotion, bool& cancel) {
              board_->OfferMove(from, to, promotion, cancel);
            });
}

void QuickHost::PropertyChanged(std::u16string_view property) {
  // The item's own enabled sends its notice itself, once, when it changes.
  if (board_ == nullptr || property == MemberOf(MemberId::kEnabled).name) return;
  SendPropertyNotice(*board_, property);
}

}  // namespace velmora
