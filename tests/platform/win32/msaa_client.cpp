// A screen reader's side, in a process of its own: reads the surface window's accessible parts,
// moves a piece and answers a promotion prompt through them, and listens to the window's
// events. Prints what it read and heard, one line each, for the test in the window's process.
// Usage: velmora_msaa_client.exe <window handle in decimal>
#include <windows.h>
//
#include <oleacc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Heard {
  DWORD event;
  LONG child;
};

HWND g_target = nullptr;
std::vector<Heard>* g_heard = nullptr;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                      DWORD) {
  if (hwnd == g_target && object == OBJID_CLIENT && g_heard) g_heard->push_back({event, child});
}

VARIANT Child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::string Utf8(BSTR text) {
  if (!text) return "";
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  SysFreeString(text);
  return out;
}

[[noreturn]] void Fail(const char* what, HRESULT hr) {
  std::printf("fail %s 0x%08lx\n", what, static_cast<unsigned long>(hr));
  std::fflush(stdout);
  std::exit(1);
}

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) Fail(what, hr);
}

// Runs this thread's messages (the window's events arrive through them) until `done`.
void WaitFor(const std::function<bool()>& done, const char* what) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) Fail(what, E_FAIL);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string Name(IAccessible* acc, LONG id) {
  BSTR name = nullptr;
  Check(acc->get_accName(Child(id), &name), "get_accName");
  return Utf8(name);
}

LONG Count(IAccessible* acc) {
  LONG count = 0;
  Check(acc->get_accChildCount(&count), "get_accChildCount");
  return count;
}

bool HeardOf(const std::vector<Heard>& heard, DWORD event, LONG child) {
  for (const Heard& h : heard) {
    if (h.event == event && h.child == child) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  g_target = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(argv[1], nullptr, 10)));
  CoInitialize(nullptr);
  std::vector<Heard> heard;
  g_heard = &heard;
  DWORD process = 0;
  GetWindowThreadProcessId(g_target, &process);
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                             OnEvent, process, 0, WINEVENT_OUTOFCONTEXT);
  if (!hook) Fail("SetWinEventHook", E_FAIL);

  IAccessible* acc = nullptr;
  Check(AccessibleObjectFromWindow(g_target, OBJID_CLIENT, IID_IAccessible,
                                   reinterpret_cast<void**>(&acc)),
        "AccessibleObjectFromWindow");
  std::printf("count %ld\n", Count(acc));
  std::printf("board %s\n", Name(acc, CHILDID_SELF).c_str());
  for (LONG id = 1; id <= 65; ++id) {
    VARIANT role, state;
    Check(acc->get_accRole(Child(id), &role), "get_accRole");
    Check(acc->get_accState(Child(id), &state), "get_accState");
    LONG x = 0, y = 0, w = 0, h = 0;
    Check(acc->accLocation(&x, &y, &w, &h, Child(id)), "accLocation");
    std::printf("part %ld|%s|%ld|%lx|%ld %ld %ld %ld\n", id, Name(acc, id).c_str(), role.lVal,
                static_cast<unsigned long>(state.lVal), x, y, w, h);
  }

  // The focus to F3, then E2 to E4 by default actions; each returns before the click runs.
  Check(acc->accSelect(SELFLAG_TAKEFOCUS, Child(22)), "accSelect");
  WaitFor([&] { return HeardOf(heard, EVENT_OBJECT_FOCUS, 22); }, "focus event");
  Check(acc->accDoDefaultAction(Child(13)), "accDoDefaultAction E2");
  WaitFor([&] { return HeardOf(heard, EVENT_OBJECT_SELECTION, 13); }, "selection event");
  Check(acc->accDoDefaultAction(Child(29)), "accDoDefaultAction E4");
  WaitFor([&] { return Name(acc, 29) == "E4, white pawn"; }, "the move");
  WaitFor([&] { return HeardOf(heard, EVENT_OBJECT_NAMECHANGE, 65); }, "name change 65");
  std::printf("announced %s\n", Name(acc, 65).c_str());

  // A7 to A8 opens the prompt; its buttons answer it.
  Check(acc->accDoDefaultAction(Child(49)), "accDoDefaultAction A7");
  Check(acc->accDoDefaultAction(Child(57)), "accDoDefaultAction A8");
  WaitFor([&] { return Count(acc) == 69; }, "the prompt");
  VARIANT focus;
  Check(acc->get_accFocus(&focus), "get_accFocus");
  std::printf("prompt focus %ld\n", focus.lVal);
  for (LONG id = 66; id <= 69; ++id) {
    VARIANT role;
    Check(acc->get_accRole(Child(id), &role), "get_accRole button");
    BSTR action = nullptr;
    Check(acc->get_accDefaultAction(Child(id), &action), "get_accDefaultAction");
    std::printf("button %ld|%s|%ld|%s\n", id, Name(acc, id).c_str(), role.lVal,
                Utf8(action).c_str());
  }
  Check(acc->accDoDefaultAction(Child(67)), "accDoDefaultAction rook");
  WaitFor([&] { return Count(acc) == 65; }, "the prompt closing");
  WaitFor([&] { return HeardOf(heard, EVENT_OBJECT_NAMECHANGE, 57); }, "name change 57");
  std::printf("promoted %s|%s\n", Name(acc, 57).c_str(), Name(acc, 65).c_str());

  std::string events;
  for (const Heard& h : heard) {
    const char* kind = h.event == EVENT_OBJECT_FOCUS             ? "focus"
                       : h.event == EVENT_OBJECT_SELECTION       ? "selection"
                       : h.event == EVENT_OBJECT_SELECTIONREMOVE ? "unselection"
                       : h.event == EVENT_OBJECT_NAMECHANGE      ? "name"
                       : h.event == EVENT_OBJECT_SHOW            ? "show"
                       : h.event == EVENT_OBJECT_HIDE            ? "hide"
                       : h.event == EVENT_OBJECT_VALUECHANGE     ? "value"
                                                                 : nullptr;
    if (kind)
      events += std::string(events.empty() ? "" : " ") + kind + ":" + std::to_string(h.child);
  }
  std::printf("events %s\n", events.c_str());
  acc->Release();
  UnhookWinEvent(hook);
  CoUninitialize();
  std::printf("done\n");
  return 0;
}
