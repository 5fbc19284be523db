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
  using I = std::int16_t;
  switch (id) {
    case EventId::kClick:
      emit board_->clicked();
      break;
    case EventId::kDblClick:
      emit board_->doubleClicked();
      break;
    case EventId::kKeyDown:
      emit board_->keyDown(Arg<I>(args, 0), Arg<I>(args, 1));
      break;
    case EventId::kKeyPress:
      emit board_->keyPress(Arg<I>(args, 0));
      break;
    case EventId::kKeyUp:
      emit board_->keyUp(Arg<I>(args, 0), Arg<I>(args, 1));
      break;
    case EventId::kMouseDown:
      emit board_->mouseDown(Arg<I>(args, 0), Arg<I>(args, 1), Arg<float>(args, 2),
                             Arg<float>(args, 3));
      break;
    case EventId::kMouseMove:
      emit board_->mouseMove(Arg<I>(args, 0), Arg<I>(args, 1), Arg<float>(args, 2),
                             Arg<float>(args, 3));
      break;
    case EventId::kMouseUp:
      emit board_->mouseUp(Arg<I>(args, 0), Arg<I>(args, 1), Arg<float>(args, 2),
                           Arg<float>(args, 3));
      break;
    case EventId::kChange:
      emit board_->changed();
      break;
    case EventId::kBeforeMove: {
      using Text = const std::u16string;
      board_->OfferMove(ToQString(Arg<Text>(args, 0)), ToQString(Arg<Text>(args, 1)),
                        ToQString(Arg<Text>(args, 2)), Arg<bool>(args, 3));
      break;
    }
    case EventId::kMarksChanged:
      emit board_->userMarksDrawn();
      break;
    case EventId::kAfterMove: {
      using Text = const std::u16string;
      emit board_->afterMove(ToQString(Arg<Text>(args, 0)), ToQString(Arg<Text>(args, 1)),
                             ToQString(Arg<Text>(args, 2)));
      break;
    }
  }
}

void QuickHost::PropertyChanged(std::u16string_view property) {
  // The item's own enabled sends its notice itself, once, when it changes.
  if (board_ == nullptr || property == MemberOf(MemberId::kEnabled).name) return;
  SendPropertyNotice(*board_, property);
}

}  // namespace velmora
