#include "platform/qt/qt_front_end.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QMimeData>
#include <QString>
#include <string>
#include <utility>

namespace velmora {
namespace {

// How a wait's event loop ended. Anything else came from the application leaving its loops.
enum WaitEnd : int { kWoken = 1, kClosing = 2 };

}  // namespace

void QtWait::Wake() {
  if (loop_ != nullptr) loop_->exit(kWoken);
}

void QtWait::End() {
  if (loop_ != nullptr) loop_->exit(kClosing);
}

bool QtWait::Run() {
  QEventLoop loop;
  QEventLoop* const outer = std::exchange(loop_, &loop);
  const int end = loop.exec();
  loop_ = outer;
  return end != kWoken;
}

void SendPropertyNotice(QObject& object, std::u16string_view member) {
  QByteArray name = QString::fromStdU16String(std::u16string(member)).toLatin1();
  name[0] = static_cast<char>(QChar::toLower(static_cast<char32_t>(name[0])));
  const QMetaObject& meta = *object.metaObject();
  const QMetaProperty shown = meta.property(meta.indexOfProperty(name.constData()));
  if (shown.hasNotifySignal()) shown.notifySignal().invoke(&object, Qt::DirectConnection);
}

ClipboardResult CopyToClipboard(std::u16string_view text) {
  QGuiApplication::clipboard()->setText(ToQString(text));
  return ClipboardResult::kDone;
}

ClipboardText PasteFromClipboard() {
  const QMimeData* const data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) return {};
  return {ClipboardResult::kDone, ToU16(data->text())};
}

QAccessible::Role RoleOf(AccessibleRole role) {
  // In the roles' order.
  constexpr QAccessible::Role kRoles[] = {QAccessible::Table, QAccessible::Cell,
                                          QAccessible::StaticText, QAccessible::Button};
  return kRoles[static_cast<std::size_t>(role)];
}

}  // namespace velmora
