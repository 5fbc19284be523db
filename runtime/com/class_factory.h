#pragma once

#include "runtime/com/implements.h"

namespace velmora::com {

class Library;

// Makes instances of the library's one control class.
class ClassFactory : public Implements<IClassFactory> {
 public:
  explicit ClassFactory(Library& library);

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  Library& library_;
};

}  // namespace velmora::com
