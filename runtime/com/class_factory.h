#pragma once

#include "runtime/com/descriptor.h"
#include "runtime/com_base/implements.h"

namespace velmora::com {

class Library;

// Makes instances of one class of the library.
class ClassFactory : public Implements<IClassFactory> {
 public:
  ClassFactory(Library& library, const ClassDescriptor& which);

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  Library& library_;
  const ClassDescriptor& class_;
};

}  // namespace velmora::com
