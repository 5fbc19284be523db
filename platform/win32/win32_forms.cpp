#include "platform/win32/win32_forms.h"

#include <string>

namespace velmora {
namespace {

std::wstring ToWide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

}  // namespace

void Win32Forms::ShowMessage(std::u16string_view text) {
  const HWND owner = WindowAlive() ? GetAncestor(surface_, GA_ROOT) : nullptr;
  MessageBoxW(owner, ToWide(text).c_str(), caption_.c_str(), MB_OK);
}

bool Win32Forms::ProcessPendingEvents() {
  if (!WindowAlive()) return true;
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (!WindowAlive()) return true;
  }
  return !WindowAlive();
}

void Win32Forms::Repaint() {
  if (!WindowAlive()) return;
  RedrawWindow(surface_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace velmora
