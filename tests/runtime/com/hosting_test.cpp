// The control in a container nobody here wrote: the system's ATL host window creates it by its
// ProgID, sites it and activates it in place. Clicks go to the control's real window.
#include <algorithm>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "com_fixture.h"
#include "platform/win32/gdi_painter.h"
#include "resource_count.h"
#include "tests/platform/win32/window_fixture.h"
#include "view/board_look.h"
#include "view/layout.h"

namespace velmora::testing {
namespace {

constexpr wchar_t kFormClass[] = L"VelmoraHostingForm";

// The form the containers sit on. Wine takes seconds to destroy a top-level window, so the
// suite keeps one.
HWND Form() {
  static HWND form = nullptr;
  if (IsWindow(form)) return form;
  WNDCLASSW form_class{};
  form_class.lpfnWndProc = DefWindowProcW;
  form_class.hInstance = GetModuleHandleW(nullptr);
  form_class.lpszClassName = kFormClass;
  RegisterClassW(&form_class);
  const RECT size = SurfaceWindow::DefaultRect(0, 0);
  form = CreateWindowW(kFormClass, L"Velmora hosting form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                       size.right + 40, size.bottom + 60, nullptr, nullptr,
                       GetModuleHandleW(nullptr), nullptr);
  return form;
}

// The centre of square n's picture.
POINT SquareCentre(std::int16_t n) {
  const HDC screen = GetDC(nullptr);
  const PixelGrid grid(DeviceScaleOf(screen));
  ReleaseDC(nullptr, screen);
  const PixelBox square = grid.BoxOf(*FindControl({ControlName::kSquarePicture, n}));
  return {(square.left + square.right) / 2, (square.top + square.bottom) / 2};
}

// The centre of square n on a board alone in the window, worked out from its client area: eight
// squares of whole pixels across the smaller side, the board centred.
POINT FittedSquareCentre(HWND window, std::int16_t n) {
  RECT client;
  GetClientRect(window, &client);
  const int side = std::min(client.right, client.bottom) / 8;
  const int column = (n - 1) % 8, row = 7 - (n - 1) / 8;
  return {(client.right - 8 * side) / 2 + column * side + side / 2,
          (client.bottom - 8 * side) / 2 + row * side + side / 2};
}

class HostingTest : public RegisteredLibraryTest {
 protected:
  static void SetUpTestSuite() {
    RegisteredLibraryTest::SetUpTestSuite();
    atl_ = LoadLibraryW(L"atl100.dll");
    ASSERT_NE(atl_, nullptr);
    const auto init = reinterpret_cast<BOOL(WINAPI*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(atl_, "AtlAxWinInit")));
    ASSERT_NE(init, nullptr);
    ASSERT_TRUE(init());
  }

  void SetUp() override {
    RegisteredLibraryTest::SetUp();
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  }

  void TearDown() override {
    for (HWND container : containers_) DestroyWindow(container);
    Pump();
    OleUninitialize();
    RegisteredLibraryTest::TearDown();
  }

  // A container window of the ATL host, titled with the ProgID it is to create.
  ComPtr<IUnknown> Host(int left, const wchar_t* prog_id = L"Project1.UserControl1") {
    const RECT size = SurfaceWindow::DefaultRect(0, 0);
    const HWND container =
        CreateWindowW(L"AtlAxWin100", prog_id, WS_CHILD | WS_VISIBLE, left, 0, size.right,
                      size.bottom, Form(), nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(container, nullptr);
    containers_.push_back(container);
    Pump();
    const auto get_control = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(
        reinterpret_cast<void (*)()>(GetProcAddress(atl_, "AtlAxGetControl")));
    ComPtr<IUnknown> control;
    EXPECT_EQ(get_control(container, control.Put()), S_OK);
    return control;
  }

  static HWND WindowOf(const ComPtr<IUnknown>& control) {
    HWND window = nullptr;
    const auto in_place = control.As<IOleInPlaceObject>();
    EXPECT_TRUE(in_place);
    if (in_place) {
      EXPECT_EQ(in_place->GetWindow(&window), S_OK);
    }
    return window;
  }

  static void Click(HWND window, POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(window, WM_LBUTTONUP, 0, where);
    Pump();
  }

  static HMODULE atl_;
  std::vector<HWND> containers_;
};

HMODULE HostingTest::atl_ = nullptr;

TEST_F(HostingTest, ContainerActivatesTheControlInPlaceInItsOwnWindow) {
  const auto control = Host(0);
  ASSERT_TRUE(control);
  const HWND window = WindowOf(control);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetParent(window), containers_[0]);
  EXPECT_TRUE(IsWindowVisible(window));
  CaptureClient(Form()).SaveBmp(ScreenPath(L"atl-hosted.bmp"));
}

TEST_F(HostingTest, ClicksOnTheWindowMoveAPieceAndRaiseChange) {
  const auto control = Host(0);
  ASSERT_TRUE(control);
  const auto sink = com::MakeObject<EventSink>();
  std::vector<std::wstring> moves;
  const auto dispatch = control.As<IDispatch>();
  sink->on_event = [&](DISPID id, DISPPARAMS&) {
    if (id == kChangeEvent) moves.push_back(GetText(dispatch.get(), L"GetMove"));
  };
  const DWORD cookie = Connect(control.get(), __uuidof(__UserControl1), sink.get());
  const HWND window = WindowOf(control);

  Click(window, SquareCentre(13));  // E2
  Click(window, SquareCentre(29));  // E4
  EXPECT_EQ(moves, (std::vector<std::wstring>{L"E2", L"E2-E4"}));
  EXPECT_EQ(GetText(dispatch.get(), L"GetMove"), L"E2-E4");
  CaptureClient(window).SaveBmp(ScreenPath(L"atl-after-click-move.bmp"));
  Disconnect(control.get(), __uuidof(__UserControl1), cookie);
}

// ChessBoard asks its host before a person's move; a host that cancels keeps the piece picked,
// the board as it was, and hears no Change.
TEST_F(HostingTest, ChessBoardsBeforeMoveCancelledLeavesTheMoveUnmade) {
  const auto control = Host(0, L"Velmora.ChessBoard");
  ASSERT_TRUE(control);
  const auto sink = com::MakeObject<EventSink>(__uuidof(__ChessBoard));
  const auto dispatch = control.As<IDispatch>();
  std::vector<std::wstring> heard;
  sink->on_event = [&](DISPID id, DISPPARAMS& params) {
    if (id == kChangeEvent) heard.push_back(L"Change " + GetText(dispatch.get(), L"GetMove"));
    if (id != kBeforeMoveEvent) return;
    // Dispatch order is last first: Cancel, Promotion, ToSquare, FromSquare.
    std::wstring said = L"BeforeMove";
    for (UINT k = params.cArgs; k-- > 1;) {
      said += L" [" + std::wstring(V_BSTR(&params.rgvarg[k])) + L"]";
    }
    heard.push_back(said);
    *V_BOOLREF(&params.rgvarg[0]) = VARIANT_TRUE;
  };
  const DWORD cookie = Connect(control.get(), __uuidof(__ChessBoard), sink.get());
  const std::wstring position = GetText(dispatch.get(), L"Fen");
  const HWND window = WindowOf(control);

  Click(window, FittedSquareCentre(window, 13));  // E2
  Click(window, FittedSquareCentre(window, 29));  // E4
  EXPECT_EQ(heard, (std::vector<std::wstring>{L"Change E2", L"BeforeMove [E2] [E4] []"}));
  const auto before_move = std::find_if(sink->events.begin(), sink->events.end(),
                                        [](const auto& e) { return e.id == kBeforeMoveEvent; });
  ASSERT_NE(before_move, sink->events.end());
  EXPECT_EQ(before_move->types,
            (std::vector<VARTYPE>{VT_BSTR, VT_BSTR, VT_BSTR, VT_BYREF | VT_BOOL}));
  EXPECT_EQ(GetText(dispatch.get(), L"GetMove"), L"E2");
  EXPECT_EQ(GetText(dispatch.get(), L"Fen"), position);
  Disconnect(control.get(), __uuidof(__ChessBoard), cookie);
}

// A person's right click on a ChessBoard draws a circle and tells the host by MarksChanged,
// which has no arguments; a host's own write of the marks raises none.
TEST_F(HostingTest, ChessBoardsRightClickRaisesMarksChanged) {
  const auto control = Host(0, L"Velmora.ChessBoard");
  ASSERT_TRUE(control);
  const auto sink = com::MakeObject<EventSink>(__uuidof(__ChessBoard));
  const auto dispatch = control.As<IDispatch>();
  const DWORD cookie = Connect(control.get(), __uuidof(__ChessBoard), sink.get());
  const HWND window = WindowOf(control);
  const auto marks_changed = [&] {
    return std::count_if(sink->events.begin(), sink->events.end(),
                         [](const auto& e) { return e.id == kMarksChangedEvent; });
  };

  const POINT d5 = FittedSquareCentre(window, 36);
  PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(d5.x, d5.y));
  PostMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(d5.x, d5.y));
  Pump();
  EXPECT_EQ(GetText(dispatch.get(), L"UserMarks"), L"Gd5");
  EXPECT_EQ(marks_changed(), 1);
  const auto event = std::find_if(sink->events.begin(), sink->events.end(),
                                  [](const auto& e) { return e.id == kMarksChangedEvent; });
  ASSERT_NE(event, sink->events.end());
  EXPECT_TRUE(event->types.empty());

  ASSERT_EQ(PutText(dispatch.get(), L"UserMarks", L"Re4"), S_OK);
  EXPECT_EQ(marks_changed(), 1);
  Disconnect(control.get(), __uuidof(__ChessBoard), cookie);
}

// A ChessBoard shows no message box where the first class shows one, and a person's moves by
// the window's mouse end whole: one Change, then AfterMove through the sink, with the promotion
// letter.
TEST_F(HostingTest, AChessBoardShowsNoMessageBoxAndReportsMovesWhole) {
  const struct {
    const wchar_t* fen;
    const char* gesture;  // squares clicked ("E1 G1", the chooser's rook on A7), a drag ("E5>D6")
    const wchar_t* after;
    std::vector<std::wstring> heard;
  } cases[] = {
      {L"4k3/8/8/8/8/8/8/4K3", "A3", L"4k3/8/8/8/8/8/8/4K3", {}},
      {L"r3k2r/8/8/8/8/8/8/R3K2R",
       "E1 G1",
       L"r3k2r/8/8/8/8/8/8/R4RK1",
       {L"Change E1", L"Change E1-G1", L"AfterMove [E1] [G1] []"}},
      {L"4k3/8/8/3pP3/8/8/8/4K3",
       "E5>D6",
       L"4k3/8/3P4/8/8/8/8/4K3",
       {L"Change E5", L"Change E5-D6", L"AfterMove [E5] [D6] []"}},
      {L"4k3/P7/8/8/8/8/8/4K3",
       "A7 A8 A7",
       L"R3k3/8/8/8/8/8/8/4K3",
       {L"Change A7", L"Change A7-A8", L"AfterMove [A7] [A8] [R]"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gesture);
    const auto control = Host(0, L"Velmora.ChessBoard");
    const auto dispatch = control.As<IDispatch>();
    ASSERT_EQ(PutText(dispatch.get(), L"Fen", c.fen), S_OK);
    const auto sink = com::MakeObject<EventSink>(__uuidof(__ChessBoard));
    std::vector<std::wstring> heard;
    sink->on_event = [&](DISPID id, DISPPARAMS& params) {
      if (id == kChangeEvent) heard.push_back(L"Change " + GetText(dispatch.get(), L"GetMove"));
      if (id != kAfterMoveEvent) return;
      heard.push_back(L"AfterMove");
      for (UINT k = params.cArgs; k-- > 0;) {
        heard.back() += L" [" + std::wstring(V_BSTR(&params.rgvarg[k])) + L"]";
      }
    };
    const DWORD cookie = Connect(control.get(), __uuidof(__ChessBoard), sink.get());
    MessageBoxCatcher boxes;
    const HWND window = WindowOf(control);
    for (const char* at = c.gesture; *at != 0; at += at[2] != 0 ? 3 : 2) {
      const POINT p = FittedSquareCentre(
          window, static_cast<std::int16_t>((at[1] - '1') * 8 + at[0] - 'A' + 1));
      const bool dropped = at != c.gesture && at[-1] == '>';
      PostMessageW(window, dropped ? WM_MOUSEMOVE : WM_LBUTTONDOWN, MK_LBUTTON,
                   MAKELPARAM(p.x, p.y));
      if (at[2] != '>') PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    Pump();
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(GetText(dispatch.get(), L"Fen"), c.after);
    EXPECT_EQ(heard, c.heard);
    Disconnect(control.get(), __uuidof(__ChessBoard), cookie);
  }
}

// Where a ChessBoard in edit mode draws a place in the window: a spare place ("s0" to "s12") or
// a square ("E4") at the middle of the core's own box for it, laid out by a control of the
// test's on the window's client area; "off" is a point outside the window.
POINT EditModePoint(HWND window, std::string_view place) {
  if (place == "off") return {-40, -40};
  Win32Forms forms(L"Project1");
  TestHost host;
  const auto model = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  (void)model->EditMode(true);
  RECT client;
  GetClientRect(window, &client);
  const PixelGrid grid(ScaleOnArea(model->surface(), {0, 0, client.right, client.bottom},
                                   DpiOfWindow(window) / 96.0));
  const auto index = [](int n) { return static_cast<std::int16_t>(n); };
  const PixelBox box =
      place[0] == 's'
          ? grid.BoxOf({ControlName::kSpare, index(std::stoi(std::string(place.substr(1))))}, {})
          : grid.BoxOf(*FindControl(
                {ControlName::kSquarePicture, index((place[1] - '1') * 8 + place[0] - 'A' + 1)}));
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

// One key's press and release on the window: "K", with Shift held "+K", with Ctrl "^C", "Del",
// "Back"; "@" first hands the press to the control's in-place accelerator, as a container's
// message loop does, which must take it.
void PressKey(const ComPtr<IUnknown>& control, HWND window, std::string_view key) {
  const bool accelerator = key.starts_with('@');
  if (accelerator) key.remove_prefix(1);
  BYTE saved[256], state[256] = {};
  GetKeyboardState(saved);
  if (key.starts_with('+')) state[VK_SHIFT] = 0x80;
  if (key.starts_with('^')) state[VK_CONTROL] = 0x80;
  if (key.starts_with('+') || key.starts_with('^')) key.remove_prefix(1);
  SetKeyboardState(state);
  const WPARAM code = key == "Del" ? VK_DELETE : key == "Back" ? VK_BACK : key[0];
  if (accelerator) {
    MSG press{window, WM_KEYDOWN, code, 1, 0, {}};
    EXPECT_EQ(control.As<IOleInPlaceActiveObject>()->TranslateAccelerator(&press), S_OK) << key;
  } else {
    PostMessageW(window, WM_KEYDOWN, code, 1);
  }
  PostMessageW(window, WM_KEYUP, code, static_cast<LPARAM>(0xC0000001u));
  Pump();
  SetKeyboardState(saved);
}

void PutOnClipboard(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(Form()));
  EmptyClipboard();
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
  GlobalUnlock(memory);
  EXPECT_NE(SetClipboardData(CF_UNICODETEXT, memory), nullptr);
  CloseClipboard();
}

std::wstring ClipboardText() {
  if (!OpenClipboard(Form())) return L"(clipboard not opened)";
  std::wstring text = L"(no text)";
  if (const HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(memory));
    GlobalUnlock(memory);
  }
  CloseClipboard();
  return text;
}

// The spare part (66 to 78) the window's screen-reader object calls pressed; 0 for none.
LONG PressedPart(HWND window) {
  ComPtr<IAccessible> accessible;
  EXPECT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), accessible.PutVoid()),
            S_OK);
  if (!accessible) return -1;
  for (LONG part = 66; part <= 78; ++part) {
    VARIANT child, state;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = part;
    if (accessible->get_accState(child, &state) == S_OK && (state.lVal & STATE_SYSTEM_PRESSED)) {
      return part;
    }
  }
  return 0;
}

// A ChessBoard in edit mode sets up a position from the window's mouse and keys and the system
// clipboard: each gesture raises PositionEdited, without arguments, through a real sink, and no
// move event; an armed spare place reads as a pressed button.
TEST_F(HostingTest, AChessBoardInEditModeTakesSetUpGesturesFromTheWindowAndTheClipboard) {
  const struct {
    const wchar_t* before;
    // Words in order: a click ("s11", "E4"), a drag ("s7>D4", "E8>off"), a key ("+K", "@Del").
    const char* input;
    const wchar_t* clipboard;  // put on the system clipboard first; null for nothing
    const wchar_t* after;
    int edited;
    const wchar_t* copied;  // what the clipboard holds after; null when not asked
    LONG pressed;           // the accessible part pressed after; 0 for none
  } cases[] = {
      {L"4k3/8/8/8/8/8/8/4K3", "s7>D4", nullptr, L"4k3/8/8/8/3Q4/8/8/4K3", 1, nullptr, 0},
      {L"4k3/8/8/8/8/8/8/4K3", "E1>C3", nullptr, L"4k3/8/8/8/8/2K5/8/8", 1, nullptr, 0},
      {L"4k3/8/8/8/8/8/8/4K3", "E8>off", nullptr, L"8/8/8/8/8/8/8/4K3", 1, nullptr, 0},
      {L"4k3/8/8/8/8/8/8/4K3", "s11 A2 B2", nullptr, L"4k3/8/8/8/8/8/PP6/4K3", 2, nullptr, 77},
      {L"4k3/8/8/8/8/8/8/4K3", "s12 E8", nullptr, L"8/8/8/8/8/8/8/4K3", 1, nullptr, 78},
      {L"4k3/8/8/8/8/8/8/4K3", "D4 Q", nullptr, L"4k3/8/8/8/3Q4/8/8/4K3", 1, nullptr, 0},
      {L"4k3/8/8/8/8/8/8/4K3", "D5 +N", nullptr, L"4k3/8/8/3n4/8/8/8/4K3", 1, nullptr, 0},
      {L"4k3/8/8/8/8/8/8/4K3", "A1 @+R", nullptr, L"4k3/8/8/8/8/8/8/r3K3", 1, nullptr, 0},
      {L"4k3/8/8/8/8/8/8/4K3", "E8 Del", nullptr, L"8/8/8/8/8/8/8/4K3", 1, nullptr, 0},
      {L"4k3/8/8/8/8/8/8/4K3", "E1 @Back", nullptr, L"4k3/8/8/8/8/8/8/8", 1, nullptr, 0},
      {L"r3k3/8/8/8/8/8/8/4K2R", "^C", L"stale", L"r3k3/8/8/8/8/8/8/4K2R", 0,
       L"r3k3/8/8/8/8/8/8/4K2R w Kq - 0 1", 0},
      {L"4k3/8/8/8/8/8/8/4K3", "@^V", L"8/8/8/8/8/8/8/K6k w - - 0 1", L"8/8/8/8/8/8/8/K6k", 1,
       nullptr, 0},
      {L"4k3/8/8/8/8/8/8/4K3", "^V", L"not a position", L"4k3/8/8/8/8/8/8/4K3", 0, nullptr, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    const auto control = Host(0, L"Velmora.ChessBoard");
    const auto dispatch = control.As<IDispatch>();
    ASSERT_EQ(PutTruth(dispatch.get(), L"EditMode", true), S_OK);
    ASSERT_EQ(PutText(dispatch.get(), L"Fen", c.before), S_OK);
    if (c.clipboard) PutOnClipboard(c.clipboard);
    const auto sink = com::MakeObject<EventSink>(__uuidof(__ChessBoard));
    const DWORD cookie = Connect(control.get(), __uuidof(__ChessBoard), sink.get());
    const HWND window = WindowOf(control);
    std::istringstream words(c.input);
    for (std::string word; words >> word;) {
      if (word.find_first_of("0123456789") == std::string::npos) {
        PressKey(control, window, word);
        continue;
      }
      const auto arrow = word.find('>');
      const POINT from = EditModePoint(window, std::string_view(word).substr(0, arrow));
      const POINT to =
          arrow == std::string::npos ? from : EditModePoint(window, word.substr(arrow + 1));
      PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
      if (arrow != std::string::npos) {
        PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
      }
      PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
      Pump();
    }
    EXPECT_EQ(GetText(dispatch.get(), L"Fen"), c.after);
    EXPECT_EQ(std::count_if(
                  sink->events.begin(), sink->events.end(),
                  [](const auto& e) { return e.id == kPositionEditedEvent && e.types.empty(); }),
              c.edited);
    EXPECT_EQ(sink->Count(kBeforeMoveEvent), 0);
    EXPECT_EQ(sink->Count(kChangeEvent), 0);
    if (c.copied) {
      EXPECT_EQ(ClipboardText(), c.copied);
    }
    EXPECT_EQ(PressedPart(window), c.pressed);
    Disconnect(control.get(), __uuidof(__ChessBoard), cookie);
  }
}

TEST_F(HostingTest, DisabledControlTakesNoClicks) {
  const auto control = Host(0);
  const auto dispatch = control.As<IDispatch>();
  ASSERT_EQ(PutTruth(dispatch.get(), L"Enabled", false), S_OK);
  const HWND window = WindowOf(control);
  EXPECT_FALSE(IsWindowEnabled(window));
  Click(window, SquareCentre(13));
  EXPECT_EQ(GetText(dispatch.get(), L"GetMove"), L"");
}

TEST_F(HostingTest, PropertyBagRoundTripsBetweenHostedControls) {
  const auto saved = Host(0);
  const auto bag = com::MakeObject<MemoryPropertyBag>();
  ASSERT_EQ(PutText(saved.As<IDispatch>().get(), L"PutMove", L"D2-D4"), S_OK);
  ASSERT_EQ(saved.As<IPersistPropertyBag>()->Save(bag.get(), TRUE, TRUE), S_OK);

  const RECT size = SurfaceWindow::DefaultRect(0, 0);
  const auto loaded = Host(size.right / 2);
  const auto sink = com::MakeObject<EventSink>();
  const DWORD cookie = Connect(loaded.get(), __uuidof(__UserControl1), sink.get());
  ASSERT_EQ(loaded.As<IPersistPropertyBag>()->Load(bag.get(), nullptr), S_OK);
  EXPECT_EQ(sink->Count(kChangeEvent), 1);
  EXPECT_EQ(GetText(loaded.As<IDispatch>().get(), L"GetMove"), L"D2-D4");
  EXPECT_EQ(GetText(loaded.As<IDispatch>().get(), L"PutMove"), L"D2-D4");
  Disconnect(loaded.get(), __uuidof(__UserControl1), cookie);
}

TEST_F(HostingTest, DrawPaintsWhatTheWindowShows) {
  const auto control = Host(0);
  const HWND window = WindowOf(control);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const Capture shown = CaptureClient(window);

  // The same surface drawn by the container into a bitmap of the window's size.
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, shown.width, shown.height);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  const RECTL bounds{0, 0, shown.width, shown.height};
  ASSERT_EQ(control.As<IViewObject2>()->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr,
                                             memory, &bounds, nullptr, nullptr, 0),
            S_OK);
  for (std::int16_t n : {1, 2, 13, 29, 64}) {
    const POINT at = SquareCentre(n);
    EXPECT_EQ(GetPixel(memory, at.x, at.y), shown.At(at.x, at.y)) << n;
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

TEST_F(HostingTest, ANewControlsExtentIsTheDesignInHimetricAtEveryDpi) {
  const auto control = CreateControl();
  SIZEL size{};
  ASSERT_EQ(control.As<IOleObject>()->GetExtent(DVASPECT_CONTENT, &size), S_OK);
  // 6735 x 7335 twips, 1440 a inch, 2540 HIMETRIC a inch.
  EXPECT_EQ(size.cx, 11880);
  EXPECT_EQ(size.cy, 12938);
  ASSERT_EQ(control.As<IViewObject2>()->GetExtent(DVASPECT_CONTENT, -1, nullptr, &size), S_OK);
  EXPECT_EQ(size.cx, 11880);
}

int CALLBACK NoteRecordType(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM types) {
  reinterpret_cast<std::vector<DWORD>*>(types)->push_back(record->iType);
  return 1;
}

// A container printing the control or keeping its picture records it into a metafile: the
// surface arrives composed, as one bitmap, and plays back as the window shows it.
TEST_F(HostingTest, DrawIntoAMetafilePlaysBackWhatTheWindowShows) {
  const auto control = Host(0);
  const HWND window = WindowOf(control);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const Capture shown = CaptureClient(window);
  const HDC recording = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(recording, nullptr);
  const RECTL bounds{0, 0, shown.width, shown.height};
  ASSERT_EQ(control.As<IViewObject2>()->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr,
                                             recording, &bounds, nullptr, nullptr, 0),
            S_OK);
  const HENHMETAFILE picture = CloseEnhMetaFile(recording);
  ASSERT_NE(picture, nullptr);
  // One bitmap copied in, no per-pixel alpha blend: a metafile cannot carry one.
  std::vector<DWORD> records;
  EnumEnhMetaFile(nullptr, picture, NoteRecordType, &records, nullptr);
  EXPECT_EQ(std::count(records.begin(), records.end(), EMR_STRETCHDIBITS), 1);
  EXPECT_EQ(std::count(records.begin(), records.end(), EMR_ALPHABLEND), 0);
  // Played back onto the pixels it covered (the header's bounds, last row and column
  // included), pixel for pixel.
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(picture, sizeof header, &header);
  const RECT covered{header.rclBounds.left, header.rclBounds.top, header.rclBounds.right + 1,
                     header.rclBounds.bottom + 1};
  EXPECT_EQ(covered.right - covered.left, shown.width);
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, shown.width, shown.height);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  PlayEnhMetaFile(memory, picture, &covered);
  // Playback maps the metafile's frame (hundredths of a millimetre) back onto the pixels, which
  // may round by a pixel: each sample must be within one pixel of the window's.
  auto within_a_pixel = [&](POINT at) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (GetPixel(memory, at.x + dx, at.y + dy) == shown.At(at.x, at.y)) return true;
      }
    }
    return false;
  };
  const POINT pawn = SquareCentre(13);
  for (const POINT at : {SquareCentre(1), SquareCentre(2), pawn, SquareCentre(29), SquareCentre(64),
                         POINT{pawn.x - 8, pawn.y + 14}}) {
    EXPECT_TRUE(within_a_pixel(at)) << at.x << "," << at.y;
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  DeleteEnhMetaFile(picture);
}

// A memory bitmap of the given size, filled with one colour, selected into its own device.
class MemoryDevice {
 public:
  MemoryDevice(int width, int height, COLORREF fill) {
    const HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    previous_ = SelectObject(dc_, bitmap_);
    const HBRUSH brush = CreateSolidBrush(fill);
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  ~MemoryDevice() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryDevice(const MemoryDevice&) = delete;
  MemoryDevice& operator=(const MemoryDevice&) = delete;

  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

HRESULT DrawInto(const ComPtr<IUnknown>& control, HDC dc, const RECTL& bounds) {
  return control.As<IViewObject2>()->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc,
                                          &bounds, nullptr, nullptr, 0);
}

// The surface drawn shifted into a device that shows only part of it (a small bitmap, a clip
// rectangle): every pixel shown is the one a whole draw at the same size puts at that place on
// the surface, and every other pixel stays as it was.
TEST_F(HostingTest, DrawPaintsOnlyWhatTheDeviceShowsWhereTheSurfaceLies) {
  const auto control = Host(0);
  constexpr COLORREF kUntouched = RGB(1, 2, 3);
  const RECT size = SurfaceWindow::DefaultRect(0, 0);
  MemoryDevice whole(size.right, size.bottom, kUntouched);
  ASSERT_EQ(DrawInto(control, whole.dc(), {0, 0, size.right, size.bottom}), S_OK);
  // Around the top-left square's piece.
  const POINT corner{SquareCentre(57).x - 40, SquareCentre(57).y - 40};
  const struct {
    SIZE device;
    RECT clip;  // empty: none
  } cases[] = {{{64, 64}, {}}, {{100, 100}, {20, 30, 60, 90}}};
  for (const auto& c : cases) {
    MemoryDevice device(c.device.cx, c.device.cy, kUntouched);
    if (!IsRectEmpty(&c.clip)) {
      IntersectClipRect(device.dc(), c.clip.left, c.clip.top, c.clip.right, c.clip.bottom);
    }
    const RECTL bounds{-corner.x, -corner.y, size.right - corner.x, size.bottom - corner.y};
    ASSERT_EQ(DrawInto(control, device.dc(), bounds), S_OK);
    SelectClipRgn(device.dc(), nullptr);  // read every pixel back
    int wrong = 0;
    for (int y = 0; y < c.device.cy; ++y) {
      for (int x = 0; x < c.device.cx; ++x) {
        const bool visible = IsRectEmpty(&c.clip) || PtInRect(&c.clip, POINT{x, y});
        const COLORREF expected =
            visible ? GetPixel(whole.dc(), x + corner.x, y + corner.y) : kUntouched;
        if (GetPixel(device.dc(), x, y) != expected) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << c.device.cx << " x " << c.device.cy;
  }
}

// A rectangle far larger than the device costs only what the device shows: a small bitmap gets
// the surface's top-left corner at that scale; a device whose clip shows nothing gets nothing.
TEST_F(HostingTest, DrawWithAHugeRectangleOrAnEmptyClipPaintsOnlyWhatShows) {
  const auto control = Host(0);
  const HWND window = WindowOf(control);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const COLORREF form_corner = CaptureClient(window).At(0, 0);
  constexpr COLORREF kUntouched = RGB(1, 2, 3);
  const RECTL huge{0, 0, 100000, 100000 * kDesignHeight / kDesignWidth};
  {
    MemoryDevice device(64, 64, kUntouched);
    ASSERT_EQ(DrawInto(control, device.dc(), huge), S_OK);
    EXPECT_EQ(GetPixel(device.dc(), 0, 0), form_corner);
    EXPECT_EQ(GetPixel(device.dc(), 63, 63), form_corner);
  }
  {
    MemoryDevice device(64, 64, kUntouched);
    const HRGN nothing = CreateRectRgn(0, 0, 0, 0);
    SelectClipRgn(device.dc(), nothing);
    DeleteObject(nothing);
    ASSERT_EQ(DrawInto(control, device.dc(), {0, 0, 64, 64}), S_OK);
    SelectClipRgn(device.dc(), nullptr);
    EXPECT_EQ(GetPixel(device.dc(), 10, 10), kUntouched);
  }
}

// What a container's Draw of the control paints into a bitmap of the given size.
Capture Drawn(const ComPtr<IUnknown>& control, int width, int height) {
  return CapturePainted(width, height, [&](HDC dc) {
    EXPECT_EQ(DrawInto(control, dc, {0, 0, width, height}), S_OK);
  });
}

constexpr const wchar_t* kHostMoves[] = {L"E2-E4", L"E7-E5", L"G1-F3"};

// Host moves still sliding when the container deactivates the control in place land then: no
// clock would move them on. Activated again, it draws the position as a still board does.
TEST_F(HostingTest, SlidesLandWhenTheControlIsDeactivatedInPlace) {
  const auto sliding = Host(0, L"Velmora.ChessBoard");
  const RECT size = SurfaceWindow::DefaultRect(0, 0);
  const auto still = Host(size.right / 2, L"Velmora.ChessBoard");
  ASSERT_EQ(sliding.As<_ChessBoard>()->put_AnimationTime(2000), S_OK);
  ASSERT_EQ(still.As<_ChessBoard>()->put_AnimationTime(0), S_OK);
  for (const wchar_t* move : kHostMoves) {
    ASSERT_EQ(PutText(sliding.As<IDispatch>().get(), L"PutMove", move), S_OK);
    ASSERT_EQ(PutText(still.As<IDispatch>().get(), L"PutMove", move), S_OK);
  }
  ComPtr<IOleClientSite> site;
  ASSERT_EQ(sliding.As<IOleObject>()->GetClientSite(site.Put()), S_OK);
  ASSERT_EQ(sliding.As<IOleInPlaceObject>()->InPlaceDeactivate(), S_OK);
  ASSERT_EQ(sliding.As<IOleObject>()->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.get(), 0,
                                             nullptr, nullptr),
            S_OK);
  ASSERT_NE(WindowOf(sliding), nullptr);
  EXPECT_TRUE(Drawn(sliding, size.right, size.bottom).pixels ==
              Drawn(still, size.right, size.bottom).pixels);
}

// A container that only draws the control, never activating it, has no clock to run a slide:
// a Draw right after a host move shows the piece on its new square.
TEST_F(HostingTest, DrawOfAControlNeverActivatedShowsAHostMoveLanded) {
  const RECT size = SurfaceWindow::DefaultRect(0, 0);
  std::vector<Capture> drawn;
  for (const LONG animation_time : {2000, 0}) {
    const ComPtr<IDispatch> control = CreateControl(__uuidof(::ChessBoard));
    ASSERT_EQ(control.As<_ChessBoard>()->put_AnimationTime(animation_time), S_OK);
    ASSERT_EQ(PutText(control.get(), L"PutMove", L"E2-E4"), S_OK);
    drawn.push_back(Drawn(control.get(), size.right, size.bottom));
  }
  EXPECT_TRUE(drawn[0].pixels == drawn[1].pixels);
}

// A container that resizes its window resizes the control's, which lays its board out again:
// at each size a click move and a drag move land on the squares where they are drawn now.
TEST_F(HostingTest, AResizedChessBoardTakesClicksAndDragsWhereItsSquaresAreDrawn) {
  const auto control = Host(0, L"Velmora.ChessBoard");
  const auto dispatch = control.As<IDispatch>();
  const HWND container = containers_.back();
  const HWND window = WindowOf(control);
  const SIZE sizes[] = {{300, 500}, {523, 362}, {161, 161}, {640, 641}};
  for (const SIZE size : sizes) {
    SCOPED_TRACE(std::to_string(size.cx) + " x " + std::to_string(size.cy));
    MoveWindow(container, 0, 0, size.cx, size.cy, TRUE);
    Pump();
    RECT client;
    GetClientRect(window, &client);
    ASSERT_EQ(client.right, size.cx);
    ASSERT_EQ(client.bottom, size.cy);
    ASSERT_EQ(PutText(dispatch.get(), L"Fen", L"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"),
              S_OK);
    Click(window, FittedSquareCentre(window, 13));  // E2
    Click(window, FittedSquareCentre(window, 29));  // E4
    const POINT g1 = FittedSquareCentre(window, 7), f3 = FittedSquareCentre(window, 22);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(g1.x, g1.y));
    PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(f3.x, f3.y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(f3.x, f3.y));
    Pump();
    EXPECT_EQ(GetText(dispatch.get(), L"Fen"), L"rnbqkbnr/pppppppp/8/8/4P3/5N2/PPPP1PPP/RNBQKB1R");
  }
}

// Drawn into a tall rectangle a ChessBoard is a square board of eight 37-pixel squares across
// the width, centred: the board reaches its first and last rows and columns, and every pixel
// round it is the theme's background.
TEST_F(HostingTest, DrawFitsASquareBoardCentredInTheRectangle) {
  const ComPtr<IDispatch> control = CreateControl(__uuidof(::ChessBoard));
  constexpr int kWidth = 300, kHeight = 500, kSide = kWidth / 8;
  constexpr PixelBox kBoard{(kWidth - 8 * kSide) / 2, (kHeight - 8 * kSide) / 2,
                            (kWidth + 8 * kSide) / 2, (kHeight + 8 * kSide) / 2};
  const Capture drawn = Drawn(control.get(), kWidth, kHeight);
  drawn.SaveBmp(ScreenPath(L"chess-board-drawn-300x500.bmp"));
  const Rgb theme = ThemeBackground(Theme::kBrown);
  const COLORREF background = RGB(theme.r, theme.g, theme.b);
  int edge_as_background = 0, round_not_background = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool is_background = drawn.At(x, y) == background;
      if (!kBoard.Contains(x, y)) {
        round_not_background += !is_background;
      } else if (x == kBoard.left || x == kBoard.right - 1 || y == kBoard.top ||
                 y == kBoard.bottom - 1) {
        edge_as_background += is_background;
      }
    }
  }
  EXPECT_EQ(edge_as_background, 0);
  EXPECT_EQ(round_not_background, 0);
}

// A new ChessBoard asks for 400 x 400 pixels at 96 dots per inch; an extent set on the active
// control sizes its window at the window's DPI.
TEST_F(HostingTest, AChessBoardsExtentIsFourHundredPixelsSquareAndSizesItsActiveWindow) {
  const ComPtr<IDispatch> created = CreateControl(__uuidof(::ChessBoard));
  SIZEL size{};
  ASSERT_EQ(created.As<IOleObject>()->GetExtent(DVASPECT_CONTENT, &size), S_OK);
  EXPECT_EQ(size.cx, MulDiv(400, 2540, 96));
  EXPECT_EQ(size.cy, MulDiv(400, 2540, 96));

  const auto control = Host(0, L"Velmora.ChessBoard");
  SIZEL wanted{MulDiv(300, 2540, 96), MulDiv(200, 2540, 96)};
  ASSERT_EQ(control.As<IOleObject>()->SetExtent(DVASPECT_CONTENT, &wanted), S_OK);
  RECT client;
  GetClientRect(WindowOf(control), &client);
  EXPECT_EQ(client.right, MulDiv(300, ExpectedDpi(), 96));
  EXPECT_EQ(client.bottom, MulDiv(200, ExpectedDpi(), 96));
  ASSERT_EQ(control.As<IOleObject>()->GetExtent(DVASPECT_CONTENT, &size), S_OK);
  EXPECT_EQ(size.cx, wanted.cx);
  EXPECT_EQ(size.cy, wanted.cy);
}

// Every mark a board can show (a circle on each square, an arrow on each ordered pair, written as
// 10,000 marks) drawn into a rectangle far larger than the form: the draw finishes, marks shown.
TEST_F(HostingTest, DrawOfEveryMarkIntoALargeRectangleFinishes) {
  const auto name = [](int square) {
    return std::wstring{static_cast<wchar_t>(L'a' + square % 8),
                        static_cast<wchar_t>(L'1' + square / 8)};
  };
  std::wstring marks;
  for (int i = 0; i < 10000; ++i) {
    const int from = i % 4096 / 64, to = i % 64;
    marks += L"GRYB"[(i + i / 4096) % 4] + name(from) + (to != from ? name(to) : L"") + L" ";
  }
  std::vector<Capture> drawn;
  for (const wchar_t* text : {L"", marks.c_str()}) {
    const ComPtr<IDispatch> control = CreateControl(__uuidof(::ChessBoard));
    ASSERT_EQ(PutText(control.get(), L"Marks", text), S_OK);
    drawn.push_back(Drawn(control.get(), 4000, 4000));
  }
  EXPECT_FALSE(drawn[0].pixels == drawn[1].pixels);
}

// A window sized far past its container, an arrow on it: painting the part on screen holds
// little memory, and the control goes on working.
TEST_F(HostingTest, AHugeWindowWithAnArrowPaintsItsVisiblePart) {
  const auto control = Host(0, L"Velmora.ChessBoard");
  const auto dispatch = control.As<IDispatch>();
  ASSERT_EQ(PutText(dispatch.get(), L"Marks", L"Ga1h8"), S_OK);
  const RECT position{0, 0, 16000, 16000}, clip{0, 0, 700, 600};
  const ResourceCount before = ResourceCount::Now();
  ASSERT_EQ(control.As<IOleInPlaceObject>()->SetObjectRects(&position, &clip), S_OK);
  RedrawWindow(WindowOf(control), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  EXPECT_LT(ResourceCount::Now().private_bytes, before.private_bytes + (std::uint64_t{50} << 20));
  ASSERT_EQ(PutText(dispatch.get(), L"PutMove", L"E2-E4"), S_OK);
  EXPECT_EQ(GetText(dispatch.get(), L"GetMove"), L"E2-E4");
}

// An unknown positive verb acts as the primary one (showing the hidden window again) and says
// the verb was unknown; an unknown negative verb is refused and leaves the window hidden.
TEST_F(HostingTest, UnknownVerbsFollowTheirSign) {
  const auto control = Host(0);
  const auto object = control.As<IOleObject>();
  ComPtr<IOleClientSite> site;
  ASSERT_EQ(object->GetClientSite(site.Put()), S_OK);
  const HWND window = WindowOf(control);
  const struct {
    LONG verb;
    HRESULT answer;
    bool shown;
  } verbs[] = {{7, OLEOBJ_S_INVALIDVERB, true},
               {-17, E_NOTIMPL, false},
               {0x7FFFFFFF, OLEOBJ_S_INVALIDVERB, true},
               {-0x7FFFFFFF - 1, E_NOTIMPL, false}};
  for (const auto& call : verbs) {
    ASSERT_EQ(object->DoVerb(OLEIVERB_HIDE, nullptr, site.get(), 0, nullptr, nullptr), S_OK);
    EXPECT_EQ(object->DoVerb(call.verb, nullptr, site.get(), 0, nullptr, nullptr), call.answer)
        << call.verb;
    EXPECT_EQ(IsWindowVisible(window) != FALSE, call.shown) << call.verb;
  }
}

TEST_F(HostingTest, CloseTakesTheWindowAway) {
  const auto control = Host(0);
  const HWND window = WindowOf(control);
  ASSERT_TRUE(IsWindow(window));
  ASSERT_EQ(control.As<IOleObject>()->Close(OLECLOSE_NOSAVE), S_OK);
  Pump();
  EXPECT_FALSE(IsWindow(window));
  HWND none = nullptr;
  EXPECT_EQ(control.As<IOleInPlaceObject>()->GetWindow(&none), E_FAIL);
}

}  // namespace
}  // namespace velmora::testing
