#include "platform/win32/win32_forms.h"

#include <string>

namespace velmora {
namespace {

std::wstring ToWide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

// Holds the clipboard open for as long as it lives; opened() is false when another program has
// it.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) : opened_(OpenClipboard(owner) != FALSE) {}
  ~OpenClipboardScope() {
    if (opened_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

  bool opened() const { return opened_; }

 private:
  bool opened_;
};

// The text with its terminating zero in movable global memory, as the clipboard takes it.
HGLOBAL GlobalText(std::u16string_view text) {
  const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return nullptr;
  auto* copy = static_cast<char16_t*>(GlobalLock(memory));
  if (copy == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  text.copy(copy, text.size());
  copy[text.size()] = u'\0';
  GlobalUnlock(memory);
  return memory;
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

ClipboardResult Win32Forms::CopyText(std::u16string_view text) {
  // The clipboard cannot be opened while another program holds it open.
  const OpenClipboardScope clipboard(WindowAlive() ? surface_ : nullptr);
  if (!clipboard.opened()) return ClipboardResult::kBusy;
  if (!EmptyClipboard()) return ClipboardResult::kFailed;
  const HGLOBAL memory = GlobalText(text);
  if (memory == nullptr) return ClipboardResult::kFailed;
  // Once the clipboard takes the memory it is the clipboard's; until then it is ours.
  if (SetClipboardData(CF_UNICODETEXT, memory) != nullptr) return ClipboardResult::kDone;
  GlobalFree(memory);
  return ClipboardResult::kFailed;
}

ClipboardText Win32Forms::PastedText() {
  const OpenClipboardScope clipboard(WindowAlive() ? surface_ : nullptr);
  if (!clipboard.opened()) return {ClipboardResult::kBusy, std::nullopt};
  const HANDLE memory = GetClipboardData(CF_UNICODETEXT);
  if (memory == nullptr) return {};
  const auto* text = static_cast<const char16_t*>(GlobalLock(memory));
  if (text == nullptr) return {};
  // The text ends at its zero, or at the end of its memory when a program left none.
  const std::u16string_view held(text, GlobalSize(memory) / sizeof(char16_t));
  const std::u16string pasted(held.substr(0, held.find(u'\0')));
  GlobalUnlock(memory);
  return {ClipboardResult::kDone, pasted};
}

}  // namespace velmora
