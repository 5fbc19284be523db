#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "view/forms.h"

namespace velmora {

// The forms layer on a real Windows message queue. A container may create the control before
// it gives it a window, so the forms work without one and are told their window later; without
// a live window a message box has no owner and a waiting prompt is told the control is closing.
class Win32Forms : public FormsPort {
 public:
  // `caption` captions every message box: the product's name for itself.
  explicit Win32Forms(std::wstring caption) : caption_(std::move(caption)) {}

  // The surface window, once it exists.
  void AttachWindow(HWND surface) { surface_ = surface; }
  // The surface window is going away; from now on a wait ends at once.
  void DetachWindow() { surface_ = nullptr; }
  HWND window() const { return surface_; }

  void ShowMessage(std::u16string_view text) override;
  // One step of a message loop: dispatches everything pending, or waits for the next message
  // when nothing is. A WM_QUIT is posted again for the application's own loop.
  bool ProcessPendingEvents() override;
  void Repaint() override;
  // The system clipboard as Unicode text, opened for the surface window (or for no window
  // before there is one). A clipboard another program holds open copies and pastes nothing.
  ClipboardResult CopyText(std::u16string_view text) override;
  ClipboardText PastedText() override;

 private:
  bool WindowAlive() const { return surface_ != nullptr && IsWindow(surface_); }

  const std::wstring caption_;
  HWND surface_ = nullptr;
};

}  // namespace velmora
