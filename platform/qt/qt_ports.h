#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>
#include <string>
#include <utility>

#include "control/host.h"
#include "platform/qt/qt_front_end.h"
#include "view/forms.h"

namespace velmora {

class BoardWidget;

// The forms port on Qt's event loop. The control co-owns it, so it may outlive its widget: a
// widget that goes away detaches it, and from then on a waiting prompt is told the control is
// closing.
class QtForms : public FormsPort {
 public:
  // `caption` captions every message box: the product's name for itself.
  QtForms(QWidget* widget, QString caption) : widget_(widget), caption_(std::move(caption)) {}

  void Detach();
  // Input reached the core: a wait looks again whether its choice was made.
  void Wake();
  // The widget was closed: a running wait ends as closing.
  void EndWait();

  // A modal box with the text alone and one OK button.
  void ShowMessage(std::u16string_view text) override;
  // A nested event loop that runs until input reached the core, the widget was closed or
  // destroyed, or the application quits; true for the last three.
  bool ProcessPendingEvents() override;
  void Repaint() override;
  // The application's clipboard.
  ClipboardResult CopyText(std::u16string_view text) override { return CopyToClipboard(text); }
  ClipboardText PastedText() override { return PasteFromClipboard(); }

 private:
  QPointer<QWidget> widget_;
  const QString caption_;
  QtWait wait_;
};

// The host port: events and property-changed notices become the widget's signals.
class QtHost : public HostPort {
 public:
  explicit QtHost(BoardWidget* widget) : widget_(widget) {}

  void Detach() { widget_ = nullptr; }

  void RaiseEvent(EventId id, std::span<const EventArg> args) override;
  void PropertyChanged(std::u16string_view property) override;

 private:
  BoardWidget* widget_;
};

}  // namespace velmora
