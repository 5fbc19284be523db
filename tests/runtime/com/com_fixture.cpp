#include "com_fixture.h"

#include <algorithm>

namespace velmora::testing {
namespace {

std::wstring ProgramDirectory() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory = path;
  return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

HRESULT InvokeByName(IDispatch* control, const wchar_t* name, WORD flags, VARIANT* argument,
                     VARIANT* result, std::wstring* reason = nullptr) {
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{argument, argument && flags == DISPATCH_PROPERTYPUT ? &put : nullptr,
                    argument ? 1u : 0u, argument && flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
  EXCEPINFO exception{};
  UINT argument_error = 0;
  const HRESULT hr = control->Invoke(IdOf(control, name), IID_NULL, LOCALE_USER_DEFAULT, flags,
                                     &params, result, &exception, &argument_error);
  if (reason && exception.bstrDescription) *reason = exception.bstrDescription;
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr == DISP_E_EXCEPTION ? exception.scode : hr;
}

}  // namespace

std::wstring LibraryPath() {
  return ProgramDirectory() + L"VelmoraSW.ocx";
}
std::wstring BesideProgram(const std::wstring& name) {
  return ProgramDirectory() + name;
}

DWORD RunProgram(const std::wstring& command_line, std::string* output) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  CreatePipe(&read_end, &write_end, &inherit, 0);
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring command = command_line;
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  CloseHandle(write_end);
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (started && ReadFile(read_end, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    text.append(buffer, read);
  }
  CloseHandle(read_end);
  if (!started) return static_cast<DWORD>(-1);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  if (output) *output = text;
  return exit_code;
}

com::ObjectCount& TestObjects() {
  static com::ObjectCount objects;
  return objects;
}

void LibraryTest::SetUp() {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  module_ = LoadLibraryW(LibraryPath().c_str());
  ASSERT_NE(module_, nullptr);
}

void LibraryTest::TearDown() {
  // Everything a test made is released by now; the library must agree to go.
  EXPECT_EQ(CanUnloadNow(), S_OK);
  EXPECT_TRUE(TestObjects().Zero());
  if (module_) FreeLibrary(module_);
  CoUninitialize();
}

ComPtr<IDispatch> LibraryTest::CreateControl(REFCLSID class_id) const {
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  const auto get =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void (*)()>(Export("DllGetClassObject")));
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(get(class_id, IID_IClassFactory, factory.PutVoid()), S_OK);
  ComPtr<IDispatch> control;
  if (factory) {
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, control.PutVoid()), S_OK);
  }
  return control;
}

HRESULT LibraryTest::CanUnloadNow() const {
  using CanUnload = HRESULT(WINAPI*)();
  return reinterpret_cast<CanUnload>(reinterpret_cast<void (*)()>(Export("DllCanUnloadNow")))();
}

void RegisteredLibraryTest::SetUpTestSuite() {
  ASSERT_EQ(RunProgram(L"regsvr32 /s \"" + LibraryPath() + L"\""), 0u);
}

void RegisteredLibraryTest::TearDownTestSuite() {
  EXPECT_EQ(RunProgram(L"regsvr32 /u /s \"" + LibraryPath() + L"\""), 0u);
}

STDMETHODIMP EventSink::QueryInterface(REFIID iid, void** out) {
  if (iid != events_ && iid != IID_IDispatch && iid != IID_IUnknown) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  *out = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}
STDMETHODIMP EventSink::GetTypeInfo(UINT, LCID, ITypeInfo**) {
  return E_NOTIMPL;
}
STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                               EXCEPINFO*, UINT*) {
  Event event{id, {}};
  for (UINT i = params->cArgs; i-- > 0;) event.types.push_back(V_VT(&params->rgvarg[i]));
  events.push_back(event);
  if (on_event) on_event(id, *params);
  return S_OK;
}

int EventSink::Count(DISPID id) const {
  return static_cast<int>(
      std::count_if(events.begin(), events.end(), [id](const Event& e) { return e.id == id; }));
}

STDMETHODIMP NoticeSink::OnChanged(DISPID id) {
  changed.push_back(id);
  if (on_changed) on_changed(id);
  return S_OK;
}

MemoryPropertyBag::~MemoryPropertyBag() {
  for (auto& [name, value] : values) VariantClear(&value);
}

STDMETHODIMP MemoryPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  const auto found = values.find(name);
  if (found == values.end()) return E_INVALIDARG;
  return VariantCopy(value, &found->second);
}

STDMETHODIMP MemoryPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
  written.emplace_back(name);
  Set(name, *value);
  return S_OK;
}

void MemoryPropertyBag::Set(const std::wstring& name, const VARIANT& value) {
  VARIANT& slot = values[name];
  VariantClear(&slot);
  VariantCopy(&slot, const_cast<VARIANT*>(&value));
}

DWORD Connect(IUnknown* control, REFIID iid, IUnknown* sink) {
  ComPtr<IConnectionPointContainer> container;
  EXPECT_EQ(control->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()), S_OK);
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(iid, point.Put()), S_OK);
  DWORD cookie = 0;
  EXPECT_EQ(point->Advise(sink, &cookie), S_OK);
  return cookie;
}

void Disconnect(IUnknown* control, REFIID iid, DWORD cookie) {
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(control->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()), S_OK);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(container->FindConnectionPoint(iid, point.Put()), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
}

DISPID IdOf(IDispatch* control, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  EXPECT_EQ(control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK) << name;
  return id;
}

VARIANT TextVariant(const std::wstring& text) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return value;
}

HRESULT PutText(IDispatch* control, const wchar_t* name, const std::wstring& text,
                std::wstring* reason) {
  VARIANT value = TextVariant(text);
  const HRESULT hr = InvokeByName(control, name, DISPATCH_PROPERTYPUT, &value, nullptr, reason);
  VariantClear(&value);
  return hr;
}

HRESULT PutTruth(IDispatch* control, const wchar_t* name, bool truth) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_BOOL;
  V_BOOL(&value) = truth ? VARIANT_TRUE : VARIANT_FALSE;
  return InvokeByName(control, name, DISPATCH_PROPERTYPUT, &value, nullptr);
}

std::wstring GetText(IDispatch* control, const wchar_t* name) {
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(InvokeByName(control, name, DISPATCH_PROPERTYGET, nullptr, &result), S_OK) << name;
  EXPECT_EQ(V_VT(&result), VT_BSTR) << name;
  std::wstring text = V_VT(&result) == VT_BSTR && V_BSTR(&result)
                          ? std::wstring(V_BSTR(&result), SysStringLen(V_BSTR(&result)))
                          : std::wstring();
  VariantClear(&result);
  return text;
}

bool GetTruth(IDispatch* control, const wchar_t* name) {
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(InvokeByName(control, name, DISPATCH_PROPERTYGET, nullptr, &result), S_OK) << name;
  EXPECT_EQ(V_VT(&result), VT_BOOL) << name;
  return V_BOOL(&result) != VARIANT_FALSE;
}

HRESULT CallMethod(IDispatch* control, const wchar_t* name) {
  return InvokeByName(control, name, DISPATCH_METHOD, nullptr, nullptr);
}

}  // namespace velmora::testing
