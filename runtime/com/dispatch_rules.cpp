#include "runtime/com/dispatch_rules.h"

#include <algorithm>

#include "runtime/com_base/com_ptr.h"

namespace velmora::com {
namespace {

constexpr WORD kAnyCall =
    DISPATCH_METHOD | DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF;

UINT ArgumentsOf(const FUNCDESC& function) {
  UINT count = 0;
  for (SHORT i = 0; i < function.cParams; ++i) {
    if (!(function.lprgelemdescParam[i].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) ++count;
  }
  return count;
}

const MemberShape* Find(const std::vector<MemberShape>& shapes, DISPID member, int kinds) {
  const auto found = std::find_if(shapes.begin(), shapes.end(), [&](const MemberShape& shape) {
    return shape.id == member && (shape.kind & kinds) != 0;
  });
  return found == shapes.end() ? nullptr : &*found;
}

// An argument whose kind promises a pointer it does not carry cannot be read by anyone.
bool Readable(const VARIANT& argument) {
  const VARTYPE kind = V_VT(&argument);
  if (kind & VT_BYREF) return V_BYREF(&argument) != nullptr;
  if (kind == VT_DISPATCH || kind == VT_UNKNOWN) return V_UNKNOWN(&argument) != nullptr;
  if (kind & VT_ARRAY) return V_ARRAY(&argument) != nullptr;
  return true;
}

HRESULT CheckWrite(const MemberShape& shape, const DISPPARAMS& params) {
  if (params.cArgs != shape.arguments) return DISP_E_BADPARAMCOUNT;
  if (params.cNamedArgs != 1 || params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
    return DISP_E_PARAMNOTFOUND;
  }
  return S_OK;
}

HRESULT CheckCallOrRead(const MemberShape& shape, const DISPPARAMS& params) {
  if (params.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (params.cArgs != shape.arguments) return DISP_E_BADPARAMCOUNT;
  return S_OK;
}

// The table's own members, then its base's, up to the system's IDispatch.
void AddShapes(ITypeInfo& functions, std::vector<MemberShape>& shapes) {
  TYPEATTR* attributes = nullptr;
  if (FAILED(functions.GetTypeAttr(&attributes))) return;
  const WORD count = attributes->cFuncs;
  const bool own = attributes->guid != IID_IDispatch && attributes->guid != IID_IUnknown;
  const bool derived = attributes->cImplTypes > 0;
  functions.ReleaseTypeAttr(attributes);
  if (!own) return;
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* function = nullptr;
    if (FAILED(functions.GetFuncDesc(i, &function))) continue;
    shapes.push_back({function->memid, function->invkind, ArgumentsOf(*function)});
    functions.ReleaseFuncDesc(function);
  }
  HREFTYPE reference = 0;
  ComPtr<ITypeInfo> base;
  if (derived && SUCCEEDED(functions.GetRefTypeOfImplType(0, &reference)) &&
      SUCCEEDED(functions.GetRefTypeInfo(reference, base.Put()))) {
    AddShapes(*base.get(), shapes);
  }
}

}  // namespace

std::vector<MemberShape> ShapesOf(ITypeInfo& functions) {
  std::vector<MemberShape> shapes;
  AddShapes(functions, shapes);
  return shapes;
}

HRESULT CheckDispatchCall(const std::vector<MemberShape>& shapes, DISPID member, WORD flags,
                          const DISPPARAMS* params, UINT* argument_error) {
  if (!params) return E_POINTER;
  if (flags == 0 || (flags & ~kAnyCall) != 0) return E_INVALIDARG;
  if ((params->cArgs > 0 && !params->rgvarg) ||
      (params->cNamedArgs > 0 && !params->rgdispidNamedArgs) ||
      params->cNamedArgs > params->cArgs) {
    return E_INVALIDARG;
  }
  HRESULT verdict = DISP_E_MEMBERNOTFOUND;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (const auto* shape = Find(shapes, member, INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF)) {
      verdict = CheckWrite(*shape, *params);
    }
  } else if (const auto* method =
                 (flags & DISPATCH_METHOD) ? Find(shapes, member, INVOKE_FUNC) : nullptr) {
    verdict = CheckCallOrRead(*method, *params);
  } else if (const auto* read = (flags & DISPATCH_PROPERTYGET)
                                    ? Find(shapes, member, INVOKE_PROPERTYGET)
                                    : nullptr) {
    verdict = CheckCallOrRead(*read, *params);
  }
  if (FAILED(verdict)) return verdict;
  for (UINT i = 0; i < params->cArgs; ++i) {
    if (!Readable(params->rgvarg[i])) {
      if (argument_error) *argument_error = i;
      return DISP_E_TYPEMISMATCH;
    }
  }
  return S_OK;
}

HRESULT CheckNameLookup(const LPOLESTR* names, UINT count, const DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  if (count == 0) return E_INVALIDARG;
  if (std::any_of(names, names + count, [](LPOLESTR name) { return name == nullptr; })) {
    return E_POINTER;
  }
  return S_OK;
}

}  // namespace velmora::com
