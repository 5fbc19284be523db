#include "runtime/com/class_factory.h"

#include "runtime/com/boundary.h"
#include "runtime/com/library.h"

namespace velmora::com {

ClassFactory::ClassFactory(Library& library, const ClassDescriptor& which)
    : Implements(library.objects()), library_(library), class_(which) {}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  return Call(
      this,
      [&] {
        const ComPtr<IUnknown> instance = library_.NewInstance(class_);
        return instance->QueryInterface(iid, out);
      },
      library_.descriptor().library_name);
}

// An unlock without a lock to undo changes nothing.
STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    library_.locks().Add();
    return S_OK;
  }
  return library_.locks().Remove() ? S_OK : E_UNEXPECTED;
}

}  // namespace velmora::com
