// A host program as a customer writes one: it knows the control only by its ProgID. It finds
// the class, creates the control and the second class, drives them late-bound, looks up its type
// library, and with "host" also lets the system's ATL container create and site it. One line per
// step; "done" last. The tests run it with the library registered, installed, or beside it with a
// manifest.
#include "runtime/com_base/com_headers.h"

#include <cstdio>
#include <cwchar>

#include "Project1.h"
#include "runtime/com_base/com_ptr.h"

namespace {

using velmora::com::ComPtr;

constexpr wchar_t kProgId[] = L"Project1.UserControl1";
constexpr wchar_t kBoardProgId[] = L"Velmora.ChessBoard";

DISPID IdOf(IDispatch* control, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

HRESULT PutMove(IDispatch* control, const wchar_t* move) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(move);
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &put, 1, 1};
  const HRESULT hr = control->Invoke(IdOf(control, L"PutMove"), IID_NULL, LOCALE_USER_DEFAULT,
                                     DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
  VariantClear(&value);
  return hr;
}

void PrintGetMove(IDispatch* control, const char* step) {
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none{};
  const HRESULT hr = control->Invoke(IdOf(control, L"GetMove"), IID_NULL, LOCALE_USER_DEFAULT,
                                     DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
  if (FAILED(hr) || V_VT(&result) != VT_BSTR) {
    std::printf("%s failed 0x%08lx\n", step, static_cast<unsigned long>(hr));
  } else {
    std::printf("%s GetMove %ls\n", step, V_BSTR(&result));
  }
  VariantClear(&result);
}

// Creates the class and pushes a move through it late-bound.
void CreateAndMove(REFCLSID class_id, const char* step) {
  ComPtr<IDispatch> control;
  const HRESULT created =
      CoCreateInstance(class_id, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.PutVoid());
  if (SUCCEEDED(created) && SUCCEEDED(PutMove(control.get(), L"E2-E4"))) {
    PrintGetMove(control.get(), step);
  } else {
    std::printf("%s failed 0x%08lx\n", step, static_cast<unsigned long>(created));
  }
}

// Pumps what the container posts while it creates and activates the control.
void Pump() {
  MSG message;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

void Host() {
  const HMODULE atl = LoadLibraryW(L"atl100.dll");
  const auto init = reinterpret_cast<BOOL(WINAPI*)()>(
      reinterpret_cast<void (*)()>(GetProcAddress(atl, "AtlAxWinInit")));
  const auto get_control = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(
      reinterpret_cast<void (*)()>(GetProcAddress(atl, "AtlAxGetControl")));
  if (!init || !get_control || !init()) {
    std::printf("host failed: no container\n");
    return;
  }
  const HWND form = CreateWindowW(L"AtlAxWin100", kProgId, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  500, 540, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  Pump();
  ComPtr<IUnknown> control;
  ComPtr<IDispatch> dispatch;
  if (form && SUCCEEDED(get_control(form, control.Put())) &&
      SUCCEEDED(control->QueryInterface(IID_IDispatch, dispatch.PutVoid())) &&
      SUCCEEDED(PutMove(dispatch.get(), L"G1-F3"))) {
    PrintGetMove(dispatch.get(), "host");
  } else {
    std::printf("host failed\n");
  }
  dispatch = {};
  control = {};
  if (form) DestroyWindow(form);
  Pump();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (FAILED(OleInitialize(nullptr))) return 2;
  CLSID class_id{};
  const HRESULT found = CLSIDFromProgID(kProgId, &class_id);
  // Under an activation context the class id may be the context's alias of the class.
  std::printf("progid %s\n", SUCCEEDED(found) ? "found" : "missing");
  CreateAndMove(class_id, "create");
  // The second class, by its version-independent ProgID, through a member it inherits.
  CLSID board_id{};
  if (SUCCEEDED(CLSIDFromProgID(kBoardProgId, &board_id))) {
    CreateAndMove(board_id, "chessboard");
  } else {
    std::printf("chessboard missing\n");
  }
  ComPtr<ITypeLib> types;
  BSTR name = nullptr;
  if (SUCCEEDED(LoadRegTypeLib(LIBID_Project1, 1, 0, 0x409, types.Put())) &&
      SUCCEEDED(types->GetDocumentation(-1, &name, nullptr, nullptr, nullptr))) {
    std::printf("typelib %ls\n", name);
  } else {
    std::printf("typelib missing\n");
  }
  SysFreeString(name);
  types = {};
  if (argc > 1 && std::wcscmp(argv[1], L"host") == 0) Host();
  CoFreeUnusedLibraries();
  OleUninitialize();
  std::printf("done\n");
  return 0;
}
