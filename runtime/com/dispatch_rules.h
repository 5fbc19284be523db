#pragma once

#include "runtime/com_base/com_headers.h"

#include <vector>

namespace velmora::com {

// How one member can be called late-bound: as a method, a property read or a property write
// (INVOKEKIND), with how many arguments the caller passes (a return value is not one).
struct MemberShape {
  DISPID id;
  INVOKEKIND kind;
  UINT arguments;
};

// The shapes of every member a function table describes, its base interfaces' included.
std::vector<MemberShape> ShapesOf(ITypeInfo& functions);

// Whether a late-bound call may go ahead, decided before anything is touched: S_OK, or the
// status Automation gives a caller that passed the wrong pointers, flags, argument count,
// named arguments or argument kinds. `argument_error`, when given, receives the index of a
// refused argument.
HRESULT CheckDispatchCall(const std::vector<MemberShape>& shapes, DISPID member, WORD flags,
                          const DISPPARAMS* params, UINT* argument_error);

// The same for a name lookup.
HRESULT CheckNameLookup(const LPOLESTR* names, UINT count, const DISPID* ids);

}  // namespace velmora::com
