#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "control/board_control.h"
#include "control/host.h"
#include "platform/win32/surface_window.h"
#include "platform/win32/win32_forms.h"

namespace velmora::testing {

// A host that writes down every event with its argument values as raised, and every
// property-changed notice. Its handler may act on an event, as a real host's would.
class TestHost : public HostPort {
 public:
  struct Event {
    EventId id;
    std::vector<double> args;
    friend bool operator==(const Event&, const Event&) = default;
  };
  using Handler = std::function<void(EventId, std::span<const EventArg>)>;

  void RaiseEvent(EventId id, std::span<const EventArg> args) override;
  void PropertyChanged(std::u16string_view property) override { notices.emplace_back(property); }

  // The events other than Change, which every click move raises on its way.
  std::vector<Event> SurfaceEvents() const;
  int Count(EventId id) const;

  Handler handler;
  std::vector<Event> events;
  std::vector<std::u16string> notices;
};

// Every message box this thread opens, recorded and closed with OK as soon as it shows.
struct MessageBoxRecord {
  std::wstring text;
  std::wstring caption;
  HWND owner;
};

class MessageBoxCatcher {
 public:
  MessageBoxCatcher();
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

  const std::vector<MessageBoxRecord>& boxes() const { return boxes_; }

 private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wparam, LPARAM lparam);

  HHOOK hook_;
  std::vector<MessageBoxRecord> boxes_;
};

// The pixels of a window's client area, copied from the screen.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;

  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  // A 24-bit bitmap file, for the screenshots of the test run.
  bool SaveBmp(const std::wstring& path) const;
};
Capture CaptureClient(HWND hwnd);
// What `paint` draws into a memory device context holding a top-down bitmap of that size.
Capture CapturePainted(int width, int height, const std::function<void(HDC)>& paint);

// The grid a window on the screen paints on, at the screen's pixels per inch.
PixelGrid ScreenGrid();
// The pixels per inch this run was started with (VELMORA_EXPECTED_DPI, else 96).
int ExpectedDpi();
// "-144dpi" for screenshot names.
std::wstring DpiSuffix();
// How many device pixels of square n's picture area are off the piece composited from the
// core's masks over the square's colour in the surface's look (or over the grid line on its
// top row and left column, where the grid has lines) by more than two levels in any channel.
int WrongSquarePixels(const Capture& capture, const PixelGrid& grid, std::int16_t n,
                      Picture picture, const Surface& surface = Surface());

// Parameterised cases carry their own names.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& param_info) {
  return param_info.param.name;
}

// What square n (1 to 64) of the control's board holds.
char16_t CellAt(const BoardControl& control, std::int16_t n);

// Runs the messages pending now. Returns the code of a WM_QUIT found among them.
std::optional<int> Pump();

// A control in a surface window inside a top-level parent window, as a host form holds it.
class SurfaceTest : public ::testing::Test, private SurfaceWindow::Owner {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::shared_ptr<void> KeepAlive() override {
    ++keep_alive_calls_;
    return control_;
  }
  void Invalidated(const RECT& rect) override {
    invalidated_rects_.push_back(rect);
    invalidated_pixels_ += static_cast<std::uint64_t>(rect.right - rect.left) *
                           static_cast<std::uint64_t>(rect.bottom - rect.top);
  }
  void KeyPassedOn(UINT message, WPARAM passed) override {
    if (message == WM_CHAR) passed_characters_ += static_cast<char16_t>(passed);
  }

  // Client-area pixel points of the centres of a square and of a promotion choice, where the
  // window lays them now.
  POINT SquareCentre(std::int16_t n) const;
  POINT ChoiceCentre(std::int16_t k) const;

  void Post(UINT message, WPARAM wparam, POINT at) const;
  void PostClick(POINT at) const;
  // A click delivered at once.
  void Click(POINT at) const;
  // Runs `action` when the message loop reaches it: from inside a waiting prompt, say.
  void PostAction(std::function<void()>* action) const;
  // Posts the keys' messages, then runs them: a prompt that a key opens takes the keys after it
  // from the message loop while it waits. Ctrl is held down for the whole batch when asked.
  void Type(const std::vector<WPARAM>& keys, bool ctrl = false) const;

  // The class the control is created as; a fixture of a ChessBoard sets it before SetUp.
  ControlClass control_class_ = ControlClass::kUserControl1;
  // Before the window, so the window's accessible object is gone before its count.
  com::ObjectCount objects_;
  HWND parent_ = nullptr;
  Win32Forms forms_{L"Project1"};
  TestHost host_;
  MessageBoxCatcher boxes_;
  std::shared_ptr<BoardControl> control_;
  std::shared_ptr<SurfaceWindow> window_;
  int keep_alive_calls_ = 0;
  // What the window reported since the test began: every rectangle it invalidated for a change
  // and their area, and the characters it went on with after the host's KeyPress saw them.
  std::vector<RECT> invalidated_rects_;
  std::uint64_t invalidated_pixels_ = 0;
  std::u16string passed_characters_;
};

// The same with the control created as a ChessBoard.
class ChessBoardSurfaceTest : public SurfaceTest {
 protected:
  ChessBoardSurfaceTest() { control_class_ = ControlClass::kChessBoard; }
};

// Where a screenshot of the run goes: the folder named by VELMORA_SCREENS, else the current one.
std::wstring ScreenPath(const std::wstring& name);

}  // namespace velmora::testing
