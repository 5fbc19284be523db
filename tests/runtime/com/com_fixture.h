#pragma once

#include "runtime/com_base/com_headers.h"
//
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Project1.h"
#include "runtime/com_base/com_ptr.h"
#include "runtime/com_base/implements.h"

namespace velmora::com {
template <>
struct BaseOf<__UserControl1> {
  using type = IDispatch;
};
}  // namespace velmora::com

namespace velmora::testing {

using com::ComPtr;

// Where the control library lies: beside the test program.
std::wstring LibraryPath();
// A file beside the test program, as Windows names it.
std::wstring BesideProgram(const std::wstring& name);

// Runs a program and waits for it; its output (stdout and stderr) goes to `output`.
DWORD RunProgram(const std::wstring& command_line, std::string* output = nullptr);

// The objects the tests make themselves (sinks, bags), counted apart from the library's.
com::ObjectCount& TestObjects();

// Loads the control library for one test and, when the test has released everything, checks
// that the library agrees to be unloaded.
class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new control of a class from the library's own class factory: no registration needed.
  ComPtr<IDispatch> CreateControl(REFCLSID class_id = __uuidof(::UserControl1)) const;
  HRESULT CanUnloadNow() const;
  FARPROC Export(const char* name) const { return GetProcAddress(module_, name); }
  HMODULE module() const { return module_; }

 private:
  HMODULE module_ = nullptr;
};

// Registers the library for a suite of tests that create the control by its ProgID.
class RegisteredLibraryTest : public LibraryTest {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
};

// An event sink: records every event with its arguments' types, and lets a test act on one.
class EventSink : public com::Implements<__UserControl1> {
 public:
  // A sink of the event interface `event_interface`: UserControl1's, or ChessBoard's.
  explicit EventSink(REFIID event_interface = __uuidof(__UserControl1))
      : Implements(TestObjects()), events_(event_interface) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;

  struct Event {
    DISPID id;
    std::vector<VARTYPE> types;  // first argument first
  };

  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override;

  int Count(DISPID id) const;

  std::vector<Event> events;
  // Runs inside Invoke; arguments are in the dispatch order, last first.
  std::function<void(DISPID, DISPPARAMS&)> on_event;

 private:
  IID events_;
};

// A property-changed sink: records the member ids in the order they come.
class NoticeSink : public com::Implements<IPropertyNotifySink> {
 public:
  NoticeSink() : Implements(TestObjects()) {}

  STDMETHODIMP OnChanged(DISPID id) override;
  STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

  std::vector<DISPID> changed;
  std::function<void(DISPID)> on_changed;
};

// A container's property bag in memory; a name it lacks reads as E_INVALIDARG.
class MemoryPropertyBag : public com::Implements<IPropertyBag> {
 public:
  MemoryPropertyBag() : Implements(TestObjects()) {}
  ~MemoryPropertyBag() override;

  STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override;
  STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

  void Set(const std::wstring& name, const VARIANT& value);
  std::map<std::wstring, VARIANT> values;
  std::vector<std::wstring> written;  // names in the order they were written
};

// Connects a sink to the control's connection point for `iid`; returns the cookie.
DWORD Connect(IUnknown* control, REFIID iid, IUnknown* sink);
void Disconnect(IUnknown* control, REFIID iid, DWORD cookie);

// Late binding by name, as a script host does it.
DISPID IdOf(IDispatch* control, const wchar_t* name);
// A refused write's reason, from its EXCEPINFO, goes to `reason` when given.
HRESULT PutText(IDispatch* control, const wchar_t* name, const std::wstring& text,
                std::wstring* reason = nullptr);
HRESULT PutTruth(IDispatch* control, const wchar_t* name, bool value);
std::wstring GetText(IDispatch* control, const wchar_t* name);
bool GetTruth(IDispatch* control, const wchar_t* name);
HRESULT CallMethod(IDispatch* control, const wchar_t* name);

VARIANT TextVariant(const std::wstring& text);

// The ids of the members, as the type library gives them.
inline constexpr DISPID kEnabledId = 0x68030003;
inline constexpr DISPID kGetMoveId = 0x68030002;
inline constexpr DISPID kPutMoveId = 0x68030001;
inline constexpr DISPID kPutPositionId = 0x68030000;
inline constexpr DISPID kRefreshId = 0x6003000E;
inline constexpr DISPID kChangeEvent = 9;
inline constexpr DISPID kBeforeMoveEvent = 10;
inline constexpr DISPID kMarksChangedEvent = 11;
inline constexpr DISPID kAfterMoveEvent = 12;
inline constexpr DISPID kPositionEditedEvent = 13;

}  // namespace velmora::testing
