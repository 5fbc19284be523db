#include "platform/qt/qt_ports.h"

#include <QMessageBox>
#include <string>
#include <string_view>

#include "platform/qt/qt_front_end.h"
#include "platform/qt/qt_text.h"
#include "velmora/board_widget.h"

namespace velmora {

void QtForms::Detach() {
  widget_ = nullptr;
  EndWait();
}

void QtForms::Wake() {
  wait_.Wake();
}

void QtForms::EndWait() {
  wait_.End();
}

void QtForms::ShowMessage(std::u16string_view text) {
  // On the heap: a widget deleted while the box is up takes its child box with it.
  const QPointer<QMessageBox> box = new QMessageBox(QMessageBox::NoIcon, caption_, ToQString(text),
                                                    QMessageBox::Ok, widget_.data());
  box->exec();
  delete box.data();
}

bool QtForms::ProcessPendingEvents() {
  if (widget_.isNull()) return true;
  return wait_.Run() || widget_.isNull();
}

void QtForms::Repaint() {
  if (!widget_.isNull()) widget_->repaint();
}

void QtHost::RaiseEvent(EventId id, std::span<const EventArg> args) {
  if (widget_ == nullptr) return;
  using I = std::int16_t;
  switch (id) {
    case EventId::kClick:
      emit widget_->clicked();
      break;
    case EventId::kDblClick:
      emit widget_->doubleClicked();
      break;
    case EventId::kKeyDown:
      emit widget_->keyDown(Arg<I>(args, 0), Arg<I>(args, 1));
      break;
    case EventId::kKeyPress:
      emit widget_->keyPress(Arg<I>(args, 0));
      break;
    case EventId::kKeyUp:
      emit widget_->keyUp(Arg<I>(args, 0), Arg<I>(args, 1));
      break;
    case EventId::kMouseDown:
      emit widget_->mouseDown(Arg<I>(args, 0), Arg<I>(args, 1), Arg<float>(args, 2),
                              Arg<float>(args, 3));
      break;
    case EventId::kMouseMove:
      emit widget_->mouseMove(Arg<I>(args, 0), Arg<I>(args, 1), Arg<float>(args, 2),
                              Arg<float>(args, 3));
      break;
    case EventId::kMouseUp:
      emit widget_->mouseUp(Arg<I>(args, 0), Arg<I>(args, 1), Arg<float>(args, 2),
                            Arg<float>(args, 3));
      break;
    case EventId::kChange:
      emit widget_->changed();
      break;
    case EventId::kBeforeMove: {
      using Text = const std::u16string;
      emit widget_->beforeMove(ToQString(Arg<Text>(args, 0)), ToQString(Arg<Text>(args, 1)),
                               ToQString(Arg<Text>(args, 2)), Arg<bool>(args, 3));
      break;
    }
    case EventId::kMarksChanged:
      emit widget_->userMarksDrawn();
      break;
    case EventId::kAfterMove: {
      using Text = const std::u16string;
      emit widget_->afterMove(ToQString(Arg<Text>(args, 0)), ToQString(Arg<Text>(args, 1)),
                              ToQString(Arg<Text>(args, 2)));
      break;
    }
  }
}

void QtHost::PropertyChanged(std::u16string_view property) {
  if (widget_ == nullptr) return;
  SendPropertyNotice(*widget_, property);
}

}  // namespace velmora
