#include "runtime/com/class_factory.h"

#include "runtime/com/boundary.h"
#include "runtime/com/control_object.h"
#include "runtime/com/library.h"

namespace velmora::com {

ClassFactory::ClassFactory(Library& library) : Implements(library.objects()), library_(library) {}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  return Call(this, [&] {
    const auto control = MakeObject<ControlObject>(library_);
    return control->QueryInterface(iid, out);
  });
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
