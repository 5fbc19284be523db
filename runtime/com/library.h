#pragma once

#include "runtime/com/com_headers.h"

#include <string>

#include "runtime/com/descriptor.h"
#include "runtime/com/implements.h"

namespace velmora::com {

// The runtime's state for one loaded library: its module, its project and the count of live
// objects and server locks. The library's exports pass their calls here unchanged.
class Library {
 public:
  explicit Library(const ProjectDescriptor& project) : project_(project) {}

  // The library entry point's notifications; `reserved` is null for an unload by FreeLibrary.
  BOOL Notify(HINSTANCE module, DWORD reason, void* reserved);

  HRESULT CanUnloadNow() const;
  HRESULT GetClassObject(REFCLSID class_id, REFIID iid, void** out);
  // Machine-wide registration, as DllRegisterServer and DllUnregisterServer do it.
  HRESULT Register() const;
  HRESULT Unregister() const;
  // DllInstall: registers (or removes) in the scope its command line names.
  HRESULT Install(bool install, const wchar_t* scope) const;

  const ProjectDescriptor& project() const { return project_; }
  ObjectCount& objects() { return objects_; }
  ObjectCount& locks() { return locks_; }
  std::wstring ModulePath() const;

 private:
  const ProjectDescriptor& project_;
  HINSTANCE module_ = nullptr;
  // Apart, so that a host unlocking more often than it locked cannot cancel a live object.
  ObjectCount objects_;
  ObjectCount locks_;  // IClassFactory::LockServer
};

}  // namespace velmora::com
