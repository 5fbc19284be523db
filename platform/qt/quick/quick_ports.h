#pragma once

#include <QPointer>
#include <optional>
#include <string>

#include "control/host.h"
#include "platform/qt/qt_front_end.h"
#include "view/forms.h"

namespace velmora {

class QuickBoard;

// The forms port of the Qt Quick item. The control co-owns it, so it may outlive its item: an
// item that goes away detaches it, and from then on a waiting prompt is told the control is
// closing.
class QuickForms : public FormsPort {
 public:
  explicit QuickForms(QuickBoard* board) : board_(board) {}

  void Detach();
  // Input reached the core: a wait looks again whether its choice was made.
  void Wake() { wait_.Wake(); }

  // A scene has no modal box to show, and a ChessBoard tells a person nothing in one.
  void ShowMessage(std::u16string_view) override {}
  // A nested event loop that runs until input reached the core, the item was destroyed, or the
  // application quits; true for the last two.
  bool ProcessPendingEvents() override;
  void Repaint() override;
  // The application's clipboard.
  ClipboardResult CopyText(std::u16string_view text) override { return CopyToClipboard(text); }
  ClipboardText PastedText() override { return PasteFromClipboard(); }

 private:
  QPointer<QuickBoard> board_;
  QtWait wait_;
};

// The host port: events and property-changed notices become the item's signals.
class QuickHost : public HostPort {
 public:
  explicit QuickHost(QuickBoard* board) : board_(board) {}

  void Detach() { board_ = nullptr; }

  void RaiseEvent(EventId id, std::span<const EventArg> args) override;
  void PropertyChanged(std::u16string_view property) override;

 private:
  QuickBoard* board_;
};

}  // namespace velmora
