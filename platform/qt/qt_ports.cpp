#include "platform/qt/qt_ports.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QMetaMethod>
#include <QMetaProperty>
#include <string>
#include <string_view>
#include <utility>

#include "platform/qt/qt_text.h"
#include "velmora/board_widget.h"

namespace velmora {
namespace {

// How a wait's event loop ended. Anything else came from the application leaving its loops.
enum WaitEnd : int { kWoken = 1, kClosing = 2 };

template <typename T>
T& Arg(std::span<const EventArg> args, std::size_t i) {
  return *std::get<T*>(args[i]);
}

}  // namespace

void QtForms::Detach() {
  widget_ = nullptr;
  EndWait();
}

void QtForms::Wake() {
  if (wait_ != nullptr) wait_->exit(kWoken);
}

void QtForms::EndWait() {
  if (wait_ != nullptr) wait_->exit(kClosing);
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
  QEventLoop loop;
  QEventLoop* const outer = std::exchange(wait_, &loop);
  const int end = loop.exec();
  wait_ = outer;
  return end != kWoken || widget_.isNull();
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
  // The widget's property of the member's name in lower camel case sends the notice.
  QByteArray name = QString::fromStdU16String(std::u16string(property)).toLatin1();
  name[0] = static_cast<char>(QChar::toLower(static_cast<char32_t>(name[0])));
  const QMetaObject& meta = *widget_->metaObject();
  const QMetaProperty shown = meta.property(meta.indexOfProperty(name.constData()));
  if (shown.hasNotifySignal()) shown.notifySignal().invoke(widget_, Qt::DirectConnection);
}

}  // namespace velmora
