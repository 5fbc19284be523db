#include "window_fixture.h"
#include "platform/win32/dib.h"

#include <algorithm>
#include <cstdio>
#include <type_traits>

#include "platform/win32/dib.h"
#include "view/artwork.h"

namespace velmora::testing {
namespace {

constexpr wchar_t kParentClass[] = L"VelmoraTestParent";
constexpr DWORD kParentStyle = WS_OVERLAPPEDWINDOW;
constexpr UINT kRunAction = WM_APP + 1;
constexpr int kMessageTextId = 0xFFFF;

// A CBT hook gets no context of its own; the catcher of this thread is found here.
thread_local MessageBoxCatcher* current_catcher = nullptr;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kRunAction) {
    (*reinterpret_cast<std::function<void()>*>(lparam))();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void RegisterParentClass() {
  WNDCLASSW existing{};
  if (GetClassInfoW(GetModuleHandleW(nullptr), kParentClass, &existing)) return;
  WNDCLASSW parent_class{};
  parent_class.lpfnWndProc = ParentProc;
  parent_class.hInstance = GetModuleHandleW(nullptr);
  parent_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  parent_class.lpszClassName = kParentClass;
  RegisterClassW(&parent_class);
}

std::wstring WindowText(HWND hwnd) {
  wchar_t text[512] = {};
  GetWindowTextW(hwnd, text, 512);
  return text;
}

BOOL CALLBACK KeepFirstStaticText(HWND child, LPARAM out) {
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  auto& result = *reinterpret_cast<std::wstring*>(out);
  if (lstrcmpiW(name, L"Static") == 0) result = WindowText(child);
  return result.empty();
}

// The message text of a box: the static with the system's id, or else the first static
// with text (not every implementation numbers it the same).
std::wstring MessageText(HWND box) {
  wchar_t text[512] = {};
  if (GetDlgItemTextW(box, kMessageTextId, text, 512) > 0) return text;
  std::wstring found;
  EnumChildWindows(box, KeepFirstStaticText, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

void TestHost::RaiseEvent(EventId id, std::span<const EventArg> args) {
  Event event{id, {}};
  for (const EventArg& arg : args) {
    std::visit(
        [&event](auto* value) {
          // Texts are not among the numbers a window test compares.
          if constexpr (!std::is_same_v<decltype(value), const std::u16string*>) {
            event.args.push_back(static_cast<double>(*value));
          }
        },
        arg);
  }
  events.push_back(std::move(event));
  if (handler) handler(id, args);
}

std::vector<TestHost::Event> TestHost::SurfaceEvents() const {
  std::vector<Event> surface;
  std::copy_if(events.begin(), events.end(), std::back_inserter(surface),
               [](const Event& e) { return e.id != EventId::kChange; });
  return surface;
}

int TestHost::Count(EventId id) const {
  return static_cast<int>(
      std::count_if(events.begin(), events.end(), [id](const Event& e) { return e.id == id; }));
}

MessageBoxCatcher::MessageBoxCatcher()
    : hook_(SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId())) {
  current_catcher = this;
}

MessageBoxCatcher::~MessageBoxCatcher() {
  UnhookWindowsHookEx(hook_);
  current_catcher = nullptr;
}

LRESULT CALLBACK MessageBoxCatcher::OnCbt(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && current_catcher != nullptr) {
    const HWND box = reinterpret_cast<HWND>(wparam);
    wchar_t name[32] = {};
    GetClassNameW(box, name, 32);
    if (lstrcmpW(name, L"#32770") == 0) {
      current_catcher->boxes_.push_back(
          {MessageText(box), WindowText(box), GetWindow(box, GW_OWNER)});
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

Capture CapturePainted(int width, int height, const std::function<void(HDC)>& paint) {
  const Dib dib = CreateTopDownDib(width, height);
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, dib.bitmap);
  paint(dc);
  GdiFlush();
  Capture capture{width, height, {}};
  for (int i = 0; i < width * height; ++i) capture.pixels.push_back(FromDibPixel(dib.pixels[i]));
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(dib.bitmap);
  return capture;
}

Capture CaptureClient(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  Capture capture;
  capture.width = client.right;
  capture.height = client.bottom;
  const HDC window_dc = GetDC(hwnd);
  const Dib dib = CreateTopDownDib(capture.width, capture.height, window_dc);
  const HDC memory = CreateCompatibleDC(window_dc);
  const HGDIOBJ previous = SelectObject(memory, dib.bitmap);
  BitBlt(memory, 0, 0, capture.width, capture.height, window_dc, 0, 0, SRCCOPY);
  GdiFlush();
  for (int i = 0; i < capture.width * capture.height; ++i) {
    capture.pixels.push_back(FromDibPixel(dib.pixels[i]));
  }
  SelectObject(memory, previous);
  DeleteObject(dib.bitmap);
  DeleteDC(memory);
  ReleaseDC(hwnd, window_dc);
  return capture;
}

PixelGrid ScreenGrid() {
  const HDC screen = GetDC(nullptr);
  const DeviceScale scale = DeviceScaleOf(screen);
  ReleaseDC(nullptr, screen);
  return PixelGrid(scale);
}

int ExpectedDpi() {
  const wchar_t* dpi = _wgetenv(L"VELMORA_EXPECTED_DPI");
  return dpi != nullptr && *dpi != 0 ? _wtoi(dpi) : 96;
}

std::wstring DpiSuffix() {
  return L"-" + std::to_wstring(ExpectedDpi()) + L"dpi";
}

int WrongSquarePixels(const Capture& capture, const PixelGrid& grid, std::int16_t n,
                      Picture picture, const Surface& surface) {
  const PixelBox box = grid.BoxOf(*FindControl({ControlName::kSquarePicture, n}));
  const MaskSize size = grid.picture_size();
  const PieceImage piece = RasterizePiece(picture, size);
  const Rgb square = surface.SquareFill(n);
  // A fitted board has no lines between its squares.
  const bool lines = IsEmpty(grid.scale().area);
  int wrong = 0;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      const bool line = lines && (x == 0 || y == 0);
      const Rgb under = line ? Rgb{0, 0, 0} : square;
      int alpha = 0, white = 0;
      if (!piece.alpha.empty()) {
        alpha = piece.alpha[piece.Offset(x, y)];
        white = piece.white[piece.Offset(x, y)];
      }
      auto over = [alpha, white](int c) { return c * (255 - alpha) / 255 + white; };
      const COLORREF got = capture.At(box.left + x, box.top + y);
      wrong += std::abs(GetRValue(got) - over(under.r)) > 2 ||
               std::abs(GetGValue(got) - over(under.g)) > 2 ||
               std::abs(GetBValue(got) - over(under.b)) > 2;
    }
  }
  return wrong;
}

bool Capture::SaveBmp(const std::wstring& path) const {
  const int row_bytes = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // bottom row first
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(row_bytes * height);
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (out == nullptr) return false;
  fwrite(&file, sizeof(file), 1, out);
  fwrite(&info, sizeof(info), 1, out);
  std::vector<unsigned char> row(static_cast<std::size_t>(row_bytes));
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = At(x, y);
      row[static_cast<std::size_t>(x * 3)] = GetBValue(c);
      row[static_cast<std::size_t>(x * 3 + 1)] = GetGValue(c);
      row[static_cast<std::size_t>(x * 3 + 2)] = GetRValue(c);
    }
    fwrite(row.data(), row.size(), 1, out);
  }
  return fclose(out) == 0;
}

char16_t CellAt(const BoardControl& control, std::int16_t n) {
  return control.board().Cell(SquareOf(n));
}

std::optional<int> Pump() {
  std::optional<int> quit;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = static_cast<int>(msg.wParam);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return quit;
}

namespace {

// The host form. Wine takes seconds to destroy a visible top-level window, so the tests share
// one, made again only after a test has closed it.
HWND SharedParent() {
  static HWND parent = nullptr;
  if (IsWindow(parent)) return parent;
  RegisterParentClass();
  RECT frame = SurfaceWindow::DefaultRect(0, 0);
  AdjustWindowRect(&frame, kParentStyle, FALSE);
  parent = CreateWindowW(kParentClass, L"Velmora test form", kParentStyle | WS_VISIBLE, 0, 0,
                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  return parent;
}

}  // namespace

void SurfaceTest::SetUp() {
  parent_ = SharedParent();
  ASSERT_NE(parent_, nullptr);
  control_ = BoardControl::Create(forms_, host_, control_class_);
  window_ = SurfaceWindow::Create(control_, forms_, parent_,
                                  SurfaceWindow::DefaultRect(control_->surface(), 0, 0), *this);
  ASSERT_NE(window_, nullptr);
  window_->UseObjectCount(objects_);
  UpdateWindow(parent_);
  Pump();
}

void SurfaceTest::TearDown() {
  window_.reset();
  Pump();
}

namespace {

POINT Centre(PixelBox box) {
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

}  // namespace

POINT SurfaceTest::SquareCentre(std::int16_t n) const {
  return Centre(window_->grid().BoxOf(*FindControl({ControlName::kSquarePicture, n})));
}

POINT SurfaceTest::ChoiceCentre(std::int16_t k) const {
  return Centre(window_->grid().BoxOf(*FindControl({ControlName::kChoice, k})));
}

void SurfaceTest::Post(UINT message, WPARAM wparam, POINT at) const {
  PostMessageW(window_->hwnd(), message, wparam, MAKELPARAM(at.x, at.y));
}

void SurfaceTest::PostClick(POINT at) const {
  Post(WM_LBUTTONDOWN, MK_LBUTTON, at);
  Post(WM_LBUTTONUP, 0, at);
}

void SurfaceTest::Click(POINT at) const {
  PostClick(at);
  Pump();
}

void SurfaceTest::PostAction(std::function<void()>* action) const {
  PostMessageW(parent_, kRunAction, 0, reinterpret_cast<LPARAM>(action));
}

void SurfaceTest::Type(const std::vector<WPARAM>& keys, bool ctrl) const {
  BYTE saved[256], state[256] = {};
  GetKeyboardState(saved);
  if (ctrl) state[VK_CONTROL] = 0x80;
  SetKeyboardState(state);
  for (const WPARAM key : keys) {
    PostMessageW(window_->hwnd(), WM_KEYDOWN, key, 1);
    PostMessageW(window_->hwnd(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  }
  Pump();
  SetKeyboardState(saved);
}

std::wstring ScreenPath(const std::wstring& name) {
  const wchar_t* folder = _wgetenv(L"VELMORA_SCREENS");
  return (folder != nullptr && *folder != 0 ? std::wstring(folder) + L"\\" : std::wstring()) + name;
}

}  // namespace velmora::testing
