#pragma once

#include "runtime/com_base/com_headers.h"

#include <string>

#include "runtime/com/descriptor.h"
#include "runtime/com_base/implements.h"

namespace velmora::com {

// The toolkit's state for one loaded library: its module, its classes and the count of live
// objects and server locks. The library's exports pass their calls here unchanged.
class Library {
 public:
  // Makes one object of a class of the library, holding its first reference. Throws as a COM
  // method's body may (std::bad_alloc, Failure).
  using MakeInstance = ComPtr<IUnknown> (*)(Library& library, const ClassDescriptor& which);

  Library(const LibraryDescriptor& descriptor, MakeInstance make)
      : descriptor_(descriptor), make_(make) {}

  // The library entry point's notifications.
  BOOL Notify(HINSTANCE module, DWORD reason);

  HRESULT CanUnloadNow() const;
  HRESULT GetClassObject(REFCLSID class_id, REFIID iid, void** out);
  // Machine-wide registration, as DllRegisterServer and DllUnregisterServer do it.
  HRESULT Register() const;
  HRESULT Unregister() const;
  // DllInstall: registers (or removes) in the scope its command line names.
  HRESULT Install(bool install, const wchar_t* scope) const;

  ComPtr<IUnknown> NewInstance(const ClassDescriptor& which) { return make_(*this, which); }

  const LibraryDescriptor& descriptor() const { return descriptor_; }
  ObjectCount& objects() { return objects_; }
  ObjectCount& locks() { return locks_; }
  std::wstring ModulePath() const;

 private:
  const LibraryDescriptor& descriptor_;
  const MakeInstance make_;
  HINSTANCE module_ = nullptr;
  // Apart, so that a host unlocking more often than it locked cannot cancel a live object.
  ObjectCount objects_;
  ObjectCount locks_;  // IClassFactory::LockServer
};

}  // namespace velmora::com
