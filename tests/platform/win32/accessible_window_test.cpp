// What a screen reader finds in the surface window, in this process and from another one.
#include <windows.h>
//
#include <oleacc.h>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "control/accessible_model.h"
#include "view/accessible_parts.h"
#include "window_fixture.h"

namespace velmora::testing {
namespace {

// Rows 1 to 8: a white pawn on E2 and one on A7, one step from promoting.
constexpr std::u16string_view kReaderPosition =
    u"****K***"
    u"****P***"
    u"********"
    u"********"
    u"********"
    u"********"
    u"P*******"
    u"****k***";

VARIANT Child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring Text(BSTR text) {
  std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return out;
}

std::string Utf8(std::u16string_view text) {
  const std::wstring wide(text.begin(), text.end());
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, out.data(), size, nullptr, nullptr);
  return out;
}

class AccessibleWindowTest : public SurfaceTest {
 protected:
  void SetUp() override {
    SurfaceTest::SetUp();
    ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(
        window_->hwnd(), OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&acc_)));
  }
  void TearDown() override {
    if (acc_) acc_->Release();
    SurfaceTest::TearDown();
  }

  std::wstring Name(LONG id) const {
    BSTR name = nullptr;
    EXPECT_HRESULT_SUCCEEDED(acc_->get_accName(Child(id), &name));
    return Text(name);
  }
  LONG Role(LONG id) const {
    VARIANT role;
    EXPECT_EQ(acc_->get_accRole(Child(id), &role), S_OK);
    return role.lVal;
  }
  LONG State(LONG id) const {
    VARIANT state;
    EXPECT_EQ(acc_->get_accState(Child(id), &state), S_OK);
    return state.lVal;
  }
  RECT ScreenRect(std::int16_t part) const {
    RECT rect = window_->PartPixels(part);
    MapWindowPoints(window_->hwnd(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  // Where a reader is told a part lies, checked against `expected` in screen pixels; a hit test
  // at its middle finds the part again.
  void ExpectLocation(LONG part, const RECT& expected) const {
    LONG x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(acc_->accLocation(&x, &y, &w, &h, Child(part)), S_OK);
    EXPECT_EQ(x, expected.left) << part;
    EXPECT_EQ(y, expected.top) << part;
    EXPECT_EQ(w, expected.right - expected.left) << part;
    EXPECT_EQ(h, expected.bottom - expected.top) << part;
    VARIANT hit;
    EXPECT_EQ(acc_->accHitTest(x + w / 2, y + h / 2, &hit), S_OK);
    EXPECT_EQ(hit.lVal, part);
  }
  // Where a reader's step from `start` in `direction` leads; none past the edge.
  struct Step {
    LONG start, direction;
    std::optional<LONG> end;
  };
  void ExpectSteps(std::span<const Step> steps) const {
    for (const Step& c : steps) {
      VARIANT end;
      const HRESULT hr = acc_->accNavigate(c.direction, Child(c.start), &end);
      EXPECT_EQ(hr, c.end ? S_OK : S_FALSE) << c.start << " " << c.direction;
      if (c.end) {
        EXPECT_EQ(end.lVal, *c.end) << c.start << " " << c.direction;
      }
    }
  }

  IAccessible* acc_ = nullptr;
};

TEST_F(AccessibleWindowTest, TheBoardIsATableOfNamedCells) {
  LONG count = 0;
  EXPECT_EQ(acc_->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 65);
  EXPECT_EQ(Name(CHILDID_SELF), L"Chess board");
  EXPECT_EQ(Role(CHILDID_SELF), ROLE_SYSTEM_TABLE);
  struct Case {
    LONG id;
    const wchar_t* name;
    LONG role;
  };
  const Case cases[] = {{1, L"A1, white rook", ROLE_SYSTEM_CELL},
                        {13, L"E2, white pawn", ROLE_SYSTEM_CELL},
                        {29, L"E4, empty", ROLE_SYSTEM_CELL},
                        {60, L"D8, black queen", ROLE_SYSTEM_CELL},
                        {65, L"", ROLE_SYSTEM_STATICTEXT}};
  for (const Case& c : cases) {
    EXPECT_EQ(Name(c.id), c.name) << c.id;
    EXPECT_EQ(Role(c.id), c.role) << c.id;
  }
  for (const LONG bad : {-1L, 66L, 70L}) {
    BSTR name = nullptr;
    EXPECT_EQ(acc_->get_accName(Child(bad), &name), E_INVALIDARG) << bad;
  }
}

// A reader walking down from the window asks for the board as a dispatch object, then for
// its accessible face; both must lead to the one object.
TEST_F(AccessibleWindowTest, TheBoardIsTheSameObjectAsADispatchObject) {
  IDispatch* dispatch = nullptr;
  ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(
      window_->hwnd(), OBJID_CLIENT, __uuidof(IDispatch), reinterpret_cast<void**>(&dispatch)));
  IAccessible* again = nullptr;
  EXPECT_EQ(dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&again)),
            S_OK);
  dispatch->Release();
  ASSERT_NE(again, nullptr);
  IUnknown* identity = nullptr;
  IUnknown* first_identity = nullptr;
  again->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&identity));
  acc_->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&first_identity));
  EXPECT_EQ(identity, first_identity);
  identity->Release();
  first_identity->Release();
  again->Release();
}

TEST_F(AccessibleWindowTest, StatesFocusAndSelectionFollowTheCore) {
  SetFocus(window_->hwnd());
  Pump();
  EXPECT_EQ(State(1), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSED);
  VARIANT focus;
  EXPECT_EQ(acc_->get_accFocus(&focus), S_OK);
  EXPECT_EQ(focus.lVal, 1);
  EXPECT_EQ(acc_->accSelect(SELFLAG_TAKEFOCUS, Child(20)), S_OK);
  EXPECT_EQ(control_->focus().Square(), 20);
  EXPECT_EQ(acc_->accSelect(SELFLAG_TAKESELECTION, Child(20)), E_INVALIDARG);
  Click(SquareCentre(13));
  VARIANT selection;
  EXPECT_EQ(acc_->get_accSelection(&selection), S_OK);
  EXPECT_EQ(selection.lVal, 13);
  EXPECT_EQ(Name(13), L"E2, white pawn, picked up");
  EXPECT_TRUE(State(13) & STATE_SYSTEM_SELECTED);
  control_->Enabled(false);
  EXPECT_TRUE(State(13) & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_TRUE(State(CHILDID_SELF) & STATE_SYSTEM_UNAVAILABLE);
}

TEST_F(AccessibleWindowTest, LocationsHitTestingAndNavigationAgree) {
  for (const std::int16_t part : {1, 13, 64, 65}) ExpectLocation(part, ScreenRect(part));
  EXPECT_EQ(ScreenRect(13).right - ScreenRect(13).left, MulDiv(48, ExpectedDpi(), 96))
      << "48 pixels a square at 96 dots per inch";
  const Step steps[] = {
      {13, NAVDIR_UP, 21},       {13, NAVDIR_DOWN, 5},      {13, NAVDIR_LEFT, 12},
      {13, NAVDIR_RIGHT, 14},    {57, NAVDIR_UP, {}},       {8, NAVDIR_RIGHT, {}},
      {13, NAVDIR_NEXT, 14},     {13, NAVDIR_PREVIOUS, 12}, {65, NAVDIR_NEXT, {}},
      {0, NAVDIR_FIRSTCHILD, 1}, {0, NAVDIR_LASTCHILD, 65}, {1, NAVDIR_PREVIOUS, {}},
      {65, NAVDIR_UP, {}},
  };
  ExpectSteps(steps);
}

// A ChessBoard turned to black's side: the squares keep their numbers and names, and are found
// where they are drawn, their neighbours as drawn.
class TurnedAccessibleWindowTest : public AccessibleWindowTest {
 protected:
  TurnedAccessibleWindowTest() { control_class_ = ControlClass::kChessBoard; }
  void SetUp() override {
    AccessibleWindowTest::SetUp();
    ASSERT_FALSE(control_->Orientation(1));
  }
};

TEST_F(TurnedAccessibleWindowTest, SquaresAreWhereTheyAreDrawnAndStepAsDrawn) {
  // Turning is a half turn: square n lies where square 65 - n lies with white at the bottom, so
  // A1 is at the top right.
  struct Place {
    LONG part;
    const wchar_t* name;
  };
  const Place places[] = {{1, L"A1, white rook"},
                          {8, L"H1, white rook"},
                          {13, L"E2, white pawn"},
                          {57, L"A8, black rook"}};
  const PixelGrid& grid = window_->grid();
  for (const Place& place : places) {
    const PixelBox drawn = grid.BoxOf(
        *FindControl({ControlName::kSquarePicture, static_cast<std::int16_t>(65 - place.part)}));
    RECT expected{drawn.left, drawn.top, drawn.right, drawn.bottom};
    MapWindowPoints(window_->hwnd(), nullptr, reinterpret_cast<POINT*>(&expected), 2);
    ExpectLocation(place.part, expected);
    EXPECT_EQ(Name(place.part), place.name);
  }
  const Step steps[] = {
      {13, NAVDIR_UP, 5},     {13, NAVDIR_DOWN, 21}, {13, NAVDIR_LEFT, 14},
      {13, NAVDIR_RIGHT, 12}, {1, NAVDIR_UP, {}},    {1, NAVDIR_RIGHT, {}},
      {64, NAVDIR_LEFT, {}},  {64, NAVDIR_DOWN, {}}, {13, NAVDIR_NEXT, 14},
  };
  ExpectSteps(steps);
}

TEST_F(AccessibleWindowTest, TheDefaultActionIsAClickQueuedToTheWindow) {
  BSTR action = nullptr;
  EXPECT_EQ(acc_->get_accDefaultAction(Child(13), &action), S_OK);
  EXPECT_EQ(Text(action), L"Click");
  EXPECT_EQ(acc_->get_accDefaultAction(Child(65), &action), S_FALSE);
  EXPECT_EQ(acc_->accDoDefaultAction(Child(65)), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(acc_->accDoDefaultAction(Child(13)), S_OK);
  EXPECT_EQ(control_->entry_state(), EntryState::kIdle) << "nothing runs inside the call";
  Pump();
  EXPECT_EQ(control_->GetMove(), u"E2");
  EXPECT_EQ(control_->focus().Square(), 13);
}

TEST_F(AccessibleWindowTest, AnObjectHeldPastItsWindowSaysItIsGone) {
  window_.reset();
  Pump();
  LONG count = 0;
  EXPECT_EQ(acc_->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(acc_->accDoDefaultAction(Child(13)), CO_E_OBJNOTCONNECTED);
  EXPECT_FALSE(objects_.Zero()) << "the client still holds it";
  acc_->Release();
  acc_ = nullptr;
  EXPECT_TRUE(objects_.Zero());
}

// Runs the screen reader of msaa_client.cpp against this window and returns what it printed.
std::vector<std::string> RunReader(HWND window) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring program(path);
  program = program.substr(0, program.find_last_of(L"\\/") + 1) + L"velmora_msaa_client.exe";
  wchar_t temp[MAX_PATH], file[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  GetTempFileNameW(temp, L"vlm", 0, file);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE out = CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = out;
  std::wstring command =
      L"\"" + program + L"\" " + std::to_wstring(reinterpret_cast<INT_PTR>(window));
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  CloseHandle(out);
  std::vector<std::string> lines;
  if (!started) return lines;
  // The reader's calls arrive through this thread's messages, so they are run while it waits.
  const DWORD until = GetTickCount() + 60000;
  while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT) !=
             WAIT_OBJECT_0 &&
         GetTickCount() < until) {
    Pump();
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  DeleteFileW(file);
  return lines;
}

std::vector<std::string> Starting(const std::vector<std::string>& lines, const std::string& head) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    if (line.rfind(head, 0) == 0) out.push_back(line);
  }
  return out;
}

TEST_F(AccessibleWindowTest, AReaderInAnotherProcessReadsMovesAndAnswersThePrompt) {
  control_->PutPosition(std::u16string(kReaderPosition));
  SetFocus(window_->hwnd());
  Pump();
  // What the reader must find, from this side of the window.
  std::vector<std::string> parts;
  for (std::int16_t part = 1; part <= 65; ++part) {
    const auto described = DescribePart(*control_, part);
    VARIANT role, state;
    acc_->get_accRole(Child(part), &role);
    acc_->get_accState(Child(part), &state);
    const RECT at = ScreenRect(part);
    std::ostringstream line;
    line << "part " << part << '|' << Utf8(described->name) << '|' << role.lVal << '|' << std::hex
         << state.lVal << std::dec << '|' << at.left << ' ' << at.top << ' ' << at.right - at.left
         << ' ' << at.bottom - at.top;
    parts.push_back(line.str());
  }
  const std::vector<std::string> lines = RunReader(window_->hwnd());
  ASSERT_FALSE(lines.empty()) << "the reader did not run";
  ASSERT_EQ(lines.back(), "done") << lines.back();
  EXPECT_EQ(Starting(lines, "count "), std::vector<std::string>{"count 65"});
  EXPECT_EQ(Starting(lines, "board "), std::vector<std::string>{"board Chess board"});
  EXPECT_EQ(Starting(lines, "part "), parts);
  EXPECT_EQ(Starting(lines, "announced "),
            std::vector<std::string>{"announced white pawn E2 to E4"});
  EXPECT_EQ(Starting(lines, "prompt "), std::vector<std::string>{"prompt focus 66"});
  EXPECT_EQ(Starting(lines, "button "),
            (std::vector<std::string>{
                "button 66|white queen|43|Click", "button 67|white rook|43|Click",
                "button 68|white bishop|43|Click", "button 69|white knight|43|Click"}));
  EXPECT_EQ(
      Starting(lines, "promoted "),
      std::vector<std::string>{"promoted A8, white rook|white pawn A7 to A8, promoted to rook"});
  EXPECT_EQ(control_->board().Cell({8, 1}), u'R');
  const auto events = Starting(lines, "events ");
  ASSERT_EQ(events.size(), 1u);
  for (const char* expected :
       {"focus:22", "selection:13", "unselection:13", "name:13", "name:29", "name:65", "value:65",
        "selection:49", "show:66", "focus:66", "hide:69", "name:57"}) {
    EXPECT_NE((" " + events[0] + " ").find(std::string(" ") + expected + " "), std::string::npos)
        << expected << " in " << events[0];
  }
}

}  // namespace
}  // namespace velmora::testing
