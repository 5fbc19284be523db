#include "platform/win32/surface_window.h"

#include <algorithm>

#include "view/accessible_parts.h"

namespace velmora {
namespace {

constexpr wchar_t kClassName[] = L"VelmoraSurface";
// WM_DPICHANGED_AFTERPARENT, which older headers lack: the parent moved to another DPI.
constexpr UINT kDpiChangedAfterParent = 0x02E3;
// A click an assistive client asked for, delivered by the window's own message loop: wparam is
// the part.
constexpr UINT kActivatePart = WM_APP + 14;

// The module this code lives in: the library when it is one, the program otherwise.
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

bool RegisterWindowClass(WNDPROC procedure) {
  const HINSTANCE module = ThisModule();
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(module, kClassName, &existing)) return true;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  // Double clicks are their own messages: the second press of one is nobody's click.
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = module;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.lpszClassName = kClassName;
  return RegisterClassExW(&window_class) != 0;
}

std::int16_t MouseShift(WPARAM wparam) {
  std::int16_t shift = 0;
  if (wparam & MK_SHIFT) shift |= 1;
  if (wparam & MK_CONTROL) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

// The buttons held, as the host's Button argument counts them: left 1, right 2, middle 4.
std::int16_t ButtonsHeld(WPARAM wparam) {
  std::int16_t buttons = 0;
  if (wparam & MK_LBUTTON) buttons |= 1;
  if (wparam & MK_RBUTTON) buttons |= 2;
  if (wparam & MK_MBUTTON) buttons |= 4;
  return buttons;
}

// How far, in device pixels, a pressed pointer moves before a drag starts: the system's own
// setting, the one its drag detection measures against. The core takes one distance for both
// axes; the larger keeps every press the system would still call a click a click.
int SystemDragDistance() {
  return std::max(GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG));
}

// A mouse message as the core's pointer input takes it: client pixels, Shift, buttons held.
PointerPoint PointerAt(WPARAM wparam, LPARAM lparam) {
  return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)),
          MouseShift(wparam), ButtonsHeld(wparam)};
}

// The messages that run the control's code: paints, the mouse's move and button messages, the
// key messages (dead characters are nobody's), the focus, the timer and a queued activation.
bool MayReachControl(UINT message) {
  const bool mouse = message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK;
  const bool key = message >= WM_KEYDOWN && message <= WM_SYSKEYUP && message != WM_DEADCHAR;
  return mouse || key || message == WM_PAINT || message == WM_SETFOCUS || message == WM_KILLFOCUS ||
         message == WM_TIMER || message == kActivatePart;
}

}  // namespace

std::int16_t KeyShift() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

SurfaceWindow::SurfaceWindow(std::shared_ptr<BoardControl> control, Win32Forms& forms, Owner& owner)
    : control_(std::move(control)),
      forms_(forms),
      owner_(owner),
      presenter_(*control_, *this, PixelBox{0, 0, 0, 0}, 1) {}

std::shared_ptr<SurfaceWindow> SurfaceWindow::Create(std::shared_ptr<BoardControl> control,
                                                     Win32Forms& forms, HWND parent,
                                                     const RECT& rect, Owner& owner) {
  if (!RegisterWindowClass(&SurfaceWindow::WindowProc)) return nullptr;
  std::shared_ptr<SurfaceWindow> window(new SurfaceWindow(std::move(control), forms, owner));
  // WM_NCCREATE records the window in the object, so hwnd_ is set once this returns.
  CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, ThisModule(),
                  window.get());
  if (window->hwnd_ == nullptr) return nullptr;
  window->UpdateScale();
  window->presenter_.Attach();
  forms.AttachWindow(window->hwnd_);
  EnableWindow(window->hwnd_, window->control_->Enabled());
  return window;
}

RECT SurfaceWindow::DefaultRect(int left, int top) {
  const HDC screen = GetDC(nullptr);
  const DeviceScale scale = DeviceScaleOf(screen, left, top);
  ReleaseDC(nullptr, screen);
  const PixelBox design = PixelGrid(scale).DesignBox();
  return {design.left, design.top, design.right, design.bottom};
}

RECT SurfaceWindow::DefaultRect(const Surface& surface, int left, int top) {
  if (!surface.BoardAlone()) return DefaultRect(left, top);
  const HDC screen = GetDC(nullptr);
  const int side = MulDiv(kBoardSideAt96, GetDeviceCaps(screen, LOGPIXELSX), 96);
  ReleaseDC(nullptr, screen);
  return {left, top, left + side, top + side};
}

void SurfaceWindow::UpdateScale() {
  if (hwnd_ == nullptr) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  const PixelBox area{0, 0, client.right, client.bottom};
  if (presenter_.SetArea(area, DpiOfWindow(hwnd_) / 96.0)) InvalidateRect(hwnd_, nullptr, FALSE);
}

void SurfaceWindow::UnregisterWindowClass() {
  UnregisterClassW(kClassName, ThisModule());
}

SurfaceWindow::~SurfaceWindow() {
  if (hwnd_ == nullptr) return;
  const HWND hwnd = hwnd_;
  // The object is going: its window must no longer find it.
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  OnDestroy();
  hwnd_ = nullptr;
  DestroyWindow(hwnd);
}

LRESULT CALLBACK SurfaceWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* window =
        static_cast<SurfaceWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<SurfaceWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  // Holds the object (and the owner, through its hook) while the message runs, since a host
  // called from here may let go of both.
  const std::shared_ptr<SurfaceWindow> self = window->weak_from_this().lock();
  const std::shared_ptr<void> owner =
      MayReachControl(message) ? window->owner_.KeepAlive() : nullptr;
  // Nothing a message does may end the host's process: a message that fails (out of memory,
  // say) is dropped, and the control goes on with the next.
  try {
    return window->Handle(message, wparam, lparam);
  } catch (...) {
    return 0;
  }
}

LRESULT SurfaceWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND hwnd = hwnd_;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
    case kDpiChangedAfterParent:
      UpdateScale();
      return DefWindowProcW(hwnd, message, wparam, lparam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(PointerButton::kLeft, message == WM_LBUTTONDBLCLK, wparam, lparam);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      OnButtonDown(PointerButton::kRight, false, wparam, lparam);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      OnButtonDown(PointerButton::kMiddle, false, wparam, lparam);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(PointerButton::kLeft, wparam, lparam);
      return 0;
    case WM_RBUTTONUP:
      OnButtonUp(PointerButton::kRight, wparam, lparam);
      return 0;
    case WM_MBUTTONUP:
      OnButtonUp(PointerButton::kMiddle, wparam, lparam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(wparam, lparam);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lparam) != hwnd && !releasing_capture_) pointer_.CaptureLost();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
      return OnKey(message, wparam, lparam);
    case WM_GETDLGCODE:
      return OnGetDlgCode(lparam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      OnFocus(message == WM_SETFOCUS);
      return 0;
    case WM_GETOBJECT:
      return OnGetObject(wparam, lparam);
    case kActivatePart:
      control_->ActivatePart(static_cast<std::int16_t>(wparam));
      return 0;
    case WM_TIMER:
      if (wparam == kAnimationTimer) presenter_.Tick(static_cast<std::int64_t>(GetTickCount64()));
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return DefWindowProcW(hwnd, message, wparam, lparam);
    default:
      return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

void SurfaceWindow::Paint() {
  // The paint ends however the painting does, so a failed one is not asked for again and again.
  struct Painting {
    HWND hwnd;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    ~Painting() { EndPaint(hwnd, &ps); }
  } painting{hwnd_, {}};
  const RECT& dirty = painting.ps.rcPaint;
  const int width = dirty.right - dirty.left;
  const int height = dirty.bottom - dirty.top;
  if (width <= 0 || height <= 0) return;
  // Only the dirty part is painted, into memory at its client position, and copied in one go,
  // so nothing flickers.
  struct Buffer {
    HDC memory;
    HBITMAP bitmap;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    ~Buffer() {
      SelectObject(memory, previous);
      DeleteObject(bitmap);
      DeleteDC(memory);
    }
  } buffer{CreateCompatibleDC(painting.dc), CreateCompatibleBitmap(painting.dc, width, height)};
  SetViewportOrgEx(buffer.memory, -dirty.left, -dirty.top, nullptr);
  FillRect(buffer.memory, &dirty, GetSysColorBrush(COLOR_BTNFACE));
  painter_.PaintDisplayList(buffer.memory, presenter_.Display(), presenter_.grid(),
                            {dirty.left, dirty.top, dirty.right, dirty.bottom});
  BitBlt(painting.dc, dirty.left, dirty.top, width, height, buffer.memory, dirty.left, dirty.top,
         SRCCOPY);
}

void SurfaceWindow::OnButtonDown(PointerButton button, bool double_click, WPARAM wparam,
                                 LPARAM lparam) {
  if (button == PointerButton::kLeft && GetFocus() != hwnd_) SetFocus(hwnd_);
  SetCapture(hwnd_);
  // Read at each press, so a change of the setting counts from the next gesture on.
  pointer_.SetDragDistance(SystemDragDistance());
  pointer_.Press(*control_, grid(), button, double_click, PointerAt(wparam, lparam));
}

void SurfaceWindow::OnButtonUp(PointerButton button, WPARAM wparam, LPARAM lparam) {
  const PointerPoint at = PointerAt(wparam, lparam);
  if (!PointerInput::KeepsCapture(at) && GetCapture() == hwnd_) {
    // Letting go of the pointer ourselves is no lost capture: this release still counts.
    releasing_capture_ = true;
    ReleaseCapture();
    releasing_capture_ = false;
  }
  pointer_.Release(*control_, grid(), button, at);
}

void SurfaceWindow::OnMouseMove(WPARAM wparam, LPARAM lparam) {
  pointer_.Move(*control_, grid(), PointerAt(wparam, lparam));
}

LRESULT SurfaceWindow::OnKey(UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND hwnd = hwnd_;
  WPARAM passed = 0;
  if (message == WM_CHAR) {
    std::int16_t KeyAscii = static_cast<std::int16_t>(wparam);
    control_->SurfaceKeyPress(KeyAscii);
    passed = static_cast<WPARAM>(static_cast<std::uint16_t>(KeyAscii));
  } else {
    std::int16_t KeyCode = static_cast<std::int16_t>(wparam);
    std::int16_t Shift = KeyShift();
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
      control_->SurfaceKeyDown(KeyCode, Shift);
    } else {
      control_->SurfaceKeyUp(KeyCode, Shift);
    }
    passed = static_cast<WPARAM>(static_cast<std::uint16_t>(KeyCode));
  }
  // What the host left in the argument goes on; zero means it took the key for itself.
  if (passed == 0 || hwnd_ == nullptr) return 0;
  owner_.KeyPassedOn(message, passed);
  return DefWindowProcW(hwnd, message, passed, lparam);
}

LRESULT SurfaceWindow::OnGetDlgCode(LPARAM lparam) const {
  // Arrows and characters are the board's; Enter only as a key press, so a dialog's default
  // button still answers its release; Tab and Escape stay the container's.
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  const auto* msg = reinterpret_cast<const MSG*>(lparam);
  if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    code |= DLGC_WANTMESSAGE;
  }
  return code;
}

LRESULT SurfaceWindow::OnGetObject(WPARAM wparam, LPARAM lparam) {
  if (static_cast<LONG>(lparam) != static_cast<LONG>(OBJID_CLIENT) || objects_ == nullptr) {
    return DefWindowProcW(hwnd_, WM_GETOBJECT, wparam, lparam);
  }
  if (!accessible_) accessible_ = com::MakeObject<SurfaceAccessible>(*objects_, *this);
  // Not IID_IAccessible: the x64 oleacc import library defines that name as a call stub, which
  // a link can pick instead of the identifier; the header's own copy holds on every build.
  return LresultFromObject(__uuidof(IAccessible), wparam,
                           static_cast<IAccessible*>(accessible_.get()));
}

void SurfaceWindow::OnFocus(bool has_focus) {
  control_->SurfaceFocus(has_focus);
  owner_.FocusChanged(has_focus);
}

void SurfaceWindow::Notify(DWORD event, LONG part) const {
  if (hwnd_ != nullptr) NotifyWinEvent(event, hwnd_, OBJID_CLIENT, part);
}

RECT SurfaceWindow::PartPixels(std::int16_t part) const {
  const auto box = PartBox(control_->surface(), grid(), part);
  if (!box) return {};
  return {box->left, box->top, box->right, box->bottom};
}

bool SurfaceWindow::QueueActivation(std::int16_t part) const {
  return hwnd_ != nullptr && PostMessageW(hwnd_, kActivatePart, static_cast<WPARAM>(part), 0);
}

void SurfaceWindow::OnDestroy() {
  KillTimer(hwnd_, kAnimationTimer);
  pointer_.CaptureLost();
  if (accessible_) {
    accessible_->Disconnect();
    accessible_.Reset();
  }
  presenter_.Detach();
  if (forms_.window() == hwnd_) forms_.DetachWindow();
}

void SurfaceWindow::Repaint(const PixelBox& box) {
  if (hwnd_ == nullptr) return;
  const RECT rect{box.left, box.top, box.right, box.bottom};
  InvalidateRect(hwnd_, &rect, FALSE);
  owner_.Invalidated(rect);
}

void SurfaceWindow::WakeAt(std::optional<std::int64_t> ms) {
  if (hwnd_ == nullptr) return;
  if (!ms) {
    KillTimer(hwnd_, kAnimationTimer);
    return;
  }
  const auto now = static_cast<std::int64_t>(GetTickCount64());
  const std::int64_t wait = std::max<std::int64_t>(USER_TIMER_MINIMUM, *ms - now);
  SetTimer(hwnd_, kAnimationTimer, static_cast<UINT>(wait), nullptr);
}

void SurfaceWindow::MoveDisplayChanged() {
  Notify(EVENT_OBJECT_VALUECHANGE, kMoveDisplayPart);
}

void SurfaceWindow::ChoicesShown(bool shown) {
  for (std::int16_t part = kFirstChoicePart; part < kFirstChoicePart + kChoicesShown; ++part) {
    Notify(shown ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, part);
  }
}

void SurfaceWindow::SelectionMoved(std::int16_t was, std::int16_t is) {
  if (was != 0) Notify(EVENT_OBJECT_SELECTIONREMOVE, was);
  if (is != 0) Notify(EVENT_OBJECT_SELECTION, is);
}

void SurfaceWindow::EnabledChanged() {
  if (hwnd_ != nullptr) EnableWindow(hwnd_, control_->Enabled());
  // Every part is unavailable now, or available again.
  Notify(EVENT_OBJECT_STATECHANGE, CHILDID_SELF);
}

}  // namespace velmora
