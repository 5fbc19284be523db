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
  EmitEvent(*widget_, id, args,
            [this](const QString& from, const QString& to, const QString& promotion, bool& cancel) {
              emit widget_->beforeMove(from, to, promotion, cancel);
            });
}

void QtHost::PropertyChanged(std::u16string_view property) {
  if (widget_ == nullptr) return;
  SendPropertyNotice(*widget_, property);
}

}  // namespace velmora
