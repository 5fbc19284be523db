#include "products/ocx/control_object.h"

#include <type_traits>

#include "products/ocx/property_bags.h"

namespace velmora::ocx {
namespace {

com::ComPtr<ITypeInfo> TypeInfoOf(ITypeLib& library, REFGUID guid) {
  com::ComPtr<ITypeInfo> info;
  if (FAILED(library.GetTypeInfoOfGuid(guid, info.Put()))) {
    throw Failure(Failure::kPlatform, "The type library does not describe the control");
  }
  return info;
}

// DispInvoke calls through the function table, so it needs a dual interface's interface half.
com::ComPtr<ITypeInfo> FunctionTableOf(ITypeInfo& dual) {
  HREFTYPE reference = 0;
  com::ComPtr<ITypeInfo> table;
  if (FAILED(dual.GetRefTypeOfImplType(-1, &reference)) ||
      FAILED(dual.GetRefTypeInfo(reference, table.Put()))) {
    throw Failure(Failure::kPlatform, "The control's interface is not dual");
  }
  return table;
}

com::ComPtr<ITypeLib> LoadOwnTypeLibrary(const com::Library& library) {
  com::ComPtr<ITypeLib> types;
  if (FAILED(LoadTypeLibEx(library.ModulePath().c_str(), REGKIND_NONE, types.Put()))) {
    throw Failure(Failure::kPlatform, "The control's type library cannot be loaded");
  }
  return types;
}

// The size a new control asks for, in HIMETRIC (2540 to the inch, 1440 twips).
constexpr LONG ToHimetric(std::int32_t twips) {
  return (twips * 2540 + 720) / 1440;
}
constexpr SIZEL kDesignExtent{ToHimetric(kDesignWidth), ToHimetric(kDesignHeight)};
constexpr SIZEL kBoardExtent{ToHimetric(SurfaceWindow::kBoardSideAt96 * kTwipsPerPixel),
                             ToHimetric(SurfaceWindow::kBoardSideAt96* kTwipsPerPixel)};

// A member's value as the dual interface carries it, and back. A Method's write takes no value.
template <class Value>
Value ToCom(const MemberValue& value) {
  if constexpr (std::is_same_v<Value, VARIANT_BOOL>) {
    return std::get<bool>(value) ? VARIANT_TRUE : VARIANT_FALSE;
  } else if constexpr (std::is_same_v<Value, BSTR>) {
    return com::ToBstr(std::get<std::u16string>(value));
  } else {
    return static_cast<Value>(std::get<std::int32_t>(value));  // LONG
  }
}

MemberValue FromCom(VARIANT_BOOL value) {
  return value != VARIANT_FALSE;
}
MemberValue FromCom(BSTR value) {
  return com::FromBstr(value);
}
MemberValue FromCom(LONG value) {
  return static_cast<std::int32_t>(value);
}
MemberValue FromCom() {
  return {};
}

// The core's class for a class of the library.
ControlClass ClassOf(const com::ClassDescriptor& which) {
  return which.class_id == __uuidof(::ChessBoard) ? ControlClass::kChessBoard
                                                  : ControlClass::kUserControl1;
}

}  // namespace

ControlObject::Descriptions ControlObject::Descriptions::Load(const com::Library& library,
                                                              const com::ClassDescriptor& which) {
  const auto types = LoadOwnTypeLibrary(library);
  const auto dual = TypeInfoOf(*types.get(), which.default_interface);
  auto functions = FunctionTableOf(*dual.get());
  auto shapes = com::ShapesOf(*functions.get());
  return {std::move(functions), TypeInfoOf(*types.get(), which.class_id), std::move(shapes)};
}

com::ComPtr<IUnknown> ControlObject::Make(com::Library& library,
                                          const com::ClassDescriptor& which) {
  const auto control = com::MakeObject<ControlObject>(library, which);
  return static_cast<_UserControl1*>(control.get());
}

ControlObject::ControlObject(com::Library& library, const com::ClassDescriptor& which)
    : Implements(library.objects()),
      library_(library),
      class_(which),
      types_(Descriptions::Load(library, which)),
      events_(*this, which.source_interface),
      notices_(*this, IID_IPropertyNotifySink),
      host_(events_, notices_, *types_.members.get(), [this] { dirty_ = true; }),
      forms_(library.descriptor().library_name),
      control_(BoardControl::Create(forms_, host_, ClassOf(which))),
      extent_(control_->surface().BoardAlone() ? kBoardExtent : kDesignExtent) {}

STDMETHODIMP ControlObject::QueryInterface(REFIID iid, void** out) {
  // ChessBoard's interface is no part of a UserControl1.
  if (iid == __uuidof(_ChessBoard) && iid != class_.default_interface) {
    if (out) *out = nullptr;
    return out ? E_NOINTERFACE : E_POINTER;
  }
  return Implements::QueryInterface(iid, out);
}

STDMETHODIMP ControlObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP ControlObject::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return com::HandOut(types_.members, out);
}

STDMETHODIMP ControlObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (const HRESULT refused = com::CheckNameLookup(names, count, ids); FAILED(refused))
    return refused;
  return DispGetIDsOfNames(types_.members.get(), names, count, ids);
}

STDMETHODIMP ControlObject::Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argument_error) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  // The control checks the call itself: runtimes differ in what their dispatch lets through.
  const HRESULT refused =
      com::CheckDispatchCall(types_.shapes, member, flags, params, argument_error);
  if (FAILED(refused)) return refused;
  return Guarded([&] {
    return DispInvoke(static_cast<_ChessBoard*>(this), types_.members.get(), member, flags, params,
                      result, exception, argument_error);
  });
}

HRESULT ControlObject::Answer(const Refused& refused) const {
  if (!refused) return S_OK;
  return com::RefusalResult(refused->reason, library_.descriptor().library_name);
}

template <class Value>
HRESULT ControlObject::Read(MemberId member, Value* value) {
  if (!value) return E_POINTER;
  *value = Value();  // so a read that fails hands out no string
  return Guarded([&] { *value = ToCom<Value>(ReadMember(*control_, MemberOf(member))); });
}

template <class... Value>
HRESULT ControlObject::Write(MemberId member, Value... value) {
  return Guarded(
      [&] { return Answer(WriteMember(*control_, MemberOf(member), FromCom(value...))); });
}

#define VELMORA_COM_PROPERTY(name, type)                \
  STDMETHODIMP ControlObject::get_##name(type* value) { \
    return Read(MemberId::k##name, value);              \
  }                                                     \
  STDMETHODIMP ControlObject::put_##name(type value) {  \
    return Write(MemberId::k##name, value);             \
  }
// An enumeration's or a colour's methods pass it as a LONG, so they share LONG's Read and Write
// (a library kept small); a system colour turns negative, which the core refuses.
#define VELMORA_COM_NUMBER(name, type)                                         \
  STDMETHODIMP ControlObject::get_##name(type* value) {                        \
    LONG number = 0;                                                           \
    const HRESULT result = Read(MemberId::k##name, value ? &number : nullptr); \
    if (value) *value = static_cast<type>(number);                             \
    return result;                                                             \
  }                                                                            \
  STDMETHODIMP ControlObject::put_##name(type value) {                         \
    return Write(MemberId::k##name, static_cast<LONG>(value));                 \
  }
#define VELMORA_COM_METHOD(name)       \
  STDMETHODIMP ControlObject::name() { \
    return Write(MemberId::k##name);   \
  }
#define VELMORA_MEMBER(name, id, kind, ...) VELMORA_COM_##kind(name)
#include "control/member_rows.h"
#undef VELMORA_COM_PROPERTY
#undef VELMORA_COM_NUMBER
#undef VELMORA_COM_METHOD

STDMETHODIMP ControlObject::GetClassInfo(ITypeInfo** out) {
  if (!out) return E_POINTER;
  return com::HandOut(types_.class_info, out);
}

STDMETHODIMP ControlObject::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = class_.source_interface;
  return S_OK;
}

STDMETHODIMP ControlObject::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return Guarded([&] {
    *out = com::MakeObject<com::ConnectionPointList>(
               objects(), std::vector<com::ComPtr<IConnectionPoint>>{&events_, &notices_})
               .Detach();
  });
}

STDMETHODIMP ControlObject::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == class_.source_interface) return com::HandOut<IConnectionPoint>(&events_, out);
  if (iid == IID_IPropertyNotifySink) return com::HandOut<IConnectionPoint>(&notices_, out);
  return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ControlObject::GetClassID(CLSID* class_id) {
  if (!class_id) return E_POINTER;
  *class_id = class_.class_id;
  return S_OK;
}

STDMETHODIMP ControlObject::Load(IPropertyBag* bag, IErrorLog* log) {
  if (!bag) return E_POINTER;
  return Guarded([&] {
    ComPropertyBag saved(*bag, log);
    control_->LoadProperties(saved);
    dirty_ = false;
  });
}

STDMETHODIMP ControlObject::Save(IPropertyBag* bag, BOOL clear_dirty, BOOL) {
  if (!bag) return E_POINTER;
  return Guarded([&] {
    ComPropertyBag saved(*bag, nullptr);
    control_->SaveProperties(saved);
    if (clear_dirty) dirty_ = false;
  });
}

STDMETHODIMP ControlObject::Load(IStream* stream) {
  if (!stream) return E_POINTER;
  return Guarded([&] {
    StreamBag saved = StreamBag::Load(*stream);
    control_->LoadProperties(saved);
    dirty_ = false;
  });
}

STDMETHODIMP ControlObject::Save(IStream* stream, BOOL clear_dirty) {
  if (!stream) return E_POINTER;
  return Guarded([&] {
    StreamBag saved;
    control_->SaveProperties(saved);
    saved.Save(*stream);
    if (clear_dirty) dirty_ = false;
  });
}

STDMETHODIMP ControlObject::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  return Guarded([&] {
    StreamBag saved;
    control_->SaveProperties(saved);
    size->QuadPart = saved.SizeInBytes();
  });
}

}  // namespace velmora::ocx
