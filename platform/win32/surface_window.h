#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "control/board_control.h"
#include "control/pointer_input.h"
#include "control/presenter.h"
#include "platform/win32/gdi_painter.h"
#include "platform/win32/surface_accessible.h"
#include "platform/win32/win32_forms.h"

namespace velmora {

// Shift, Ctrl and Alt held now, as the host's Shift argument counts them: 1, 2 and 4.
std::int16_t KeyShift();

// The control's surface as one real window, the screen of the core's presenter: it paints the
// presenter's display list, invalidates the boxes and runs the timer the presenter asks for, and
// turns mouse and keyboard messages into the control's input. The window procedure holds the
// object (and, through Owner::KeepAlive, its owner) for the length of each message, so a host
// may let go of either inside a handler.
class SurfaceWindow : public Screen, public std::enable_shared_from_this<SurfaceWindow> {
 public:
  // What holds the window, the control's COM object say: it keeps itself alive through each
  // message and is told what the window does. It outlives the window.
  class Owner {
   public:
    // Called at the start of each message that may reach the control; what it returns is held
    // until the message is handled.
    virtual std::shared_ptr<void> KeepAlive() = 0;
    // The window gained (true) or lost the keyboard focus, after the core was told.
    virtual void FocusChanged(bool) {}
    // The window invalidated this rectangle for a change the presenter reported.
    virtual void Invalidated(const RECT&) {}
    // The window goes on with a key message after the host saw it, with the code or character
    // the host left.
    virtual void KeyPassedOn(UINT, WPARAM) {}

   protected:
    ~Owner() = default;
  };

  // Creates the window as a child of `parent` at `rect` (pixels in the parent's client area)
  // and attaches it to the control and to the forms. Returns nullptr when Windows refuses.
  static std::shared_ptr<SurfaceWindow> Create(std::shared_ptr<BoardControl> control,
                                               Win32Forms& forms, HWND parent, const RECT& rect,
                                               Owner& owner);
  // A board alone's side, in pixels at 96 dots per inch, before its host sizes it.
  static constexpr int kBoardSideAt96 = 400;
  // The design's size (6735 x 7335 twips) in pixels at the screen's pixels per inch, from the
  // given top-left corner.
  static RECT DefaultRect(int left, int top);
  // A new window's rectangle for `surface` the same way: the design's, or a board alone's
  // kBoardSideAt96 square.
  static RECT DefaultRect(const Surface& surface, int left, int top);
  // Lets go of the window class; for a library that is being unloaded.
  static void UnregisterWindowClass();

  // The count the window's accessible object joins while a client holds it (the library's,
  // so the library stays loaded). Without one the window answers screen readers with the
  // system's plain window object only.
  void UseObjectCount(com::ObjectCount& objects) { objects_ = &objects; }
  // Where a part of the surface lies, in client pixels: the one mapping that the focus mark's
  // repaint, accLocation and accHitTest share.
  RECT PartPixels(std::int16_t part) const;
  // Posts the click of a part (a square or a shown choice) to the window; false when it cannot.
  bool QueueActivation(std::int16_t part) const;

  ~SurfaceWindow() override;
  SurfaceWindow(const SurfaceWindow&) = delete;
  SurfaceWindow& operator=(const SurfaceWindow&) = delete;

  // Null once the window has been destroyed.
  HWND hwnd() const { return hwnd_; }
  // Where the window paints and hits every part now: the DPI read when it was created and
  // again on each WM_SIZE and WM_DPICHANGED_AFTERPARENT (hosted controls get no other notice).
  const PixelGrid& grid() const { return presenter_.grid(); }
  const std::shared_ptr<BoardControl>& control() const { return control_; }

  void Repaint(const PixelBox& box) override;
  // WM_TIMER ticks the presenter at the tick count.
  void WakeAt(std::optional<std::int64_t> ms) override;
  void MoveDisplayChanged() override;
  void ChoicesShown(bool shown) override;
  void EnabledChanged() override;
  void PartFocused(std::int16_t part) override { Notify(EVENT_OBJECT_FOCUS, part); }
  void SelectionMoved(std::int16_t was, std::int16_t is) override;
  void NameChanged(std::int16_t part) override { Notify(EVENT_OBJECT_NAMECHANGE, part); }
  void PressedChanged(std::int16_t part) override { Notify(EVENT_OBJECT_STATECHANGE, part); }

 private:
  static constexpr UINT_PTR kAnimationTimer = 1;
  SurfaceWindow(std::shared_ptr<BoardControl> control, Win32Forms& forms, Owner& owner);

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

  void Paint();
  void OnButtonDown(PointerButton button, bool double_click, WPARAM wparam, LPARAM lparam);
  void OnButtonUp(PointerButton button, WPARAM wparam, LPARAM lparam);
  void OnMouseMove(WPARAM wparam, LPARAM lparam);
  LRESULT OnKey(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnGetDlgCode(LPARAM lparam) const;
  LRESULT OnGetObject(WPARAM wparam, LPARAM lparam);
  void OnFocus(bool has_focus);
  void Notify(DWORD event, LONG part) const;
  void OnDestroy();

  // Reads the window's DPI; on a change, the grid follows and the whole window repaints.
  void UpdateScale();
  std::shared_ptr<BoardControl> control_;
  Win32Forms& forms_;
  Owner& owner_;
  HWND hwnd_ = nullptr;
  Presenter presenter_;
  GdiPainter painter_;
  PointerInput pointer_;
  bool releasing_capture_ = false;
  com::ObjectCount* objects_ = nullptr;
  com::ComPtr<SurfaceAccessible> accessible_;
};

}  // namespace velmora
