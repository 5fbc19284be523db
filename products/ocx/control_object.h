#pragma once

#include <memory>

#include "Project1.h"
#include "control/board_control.h"
#include "control/members.h"
#include "platform/win32/gdi_painter.h"
#include "platform/win32/surface_window.h"
#include "platform/win32/win32_forms.h"
#include "products/ocx/com_host.h"
#include "runtime/com/boundary.h"
#include "runtime/com/connection_point.h"
#include "runtime/com/descriptor.h"
#include "runtime/com/dispatch_rules.h"
#include "runtime/com/library.h"
#include "runtime/com_base/implements.h"

VELMORA_COM_BASE_OF(_UserControl1, IDispatch)
VELMORA_COM_BASE_OF(_ChessBoard, _UserControl1)

namespace velmora {
namespace ocx {

// Each enumeration member's type in the dual interface, for its methods below.
#define VELMORA_ENUMERATION(name, enumeration) using name##Enumeration = ::enumeration;
#include "control/member_rows.h"

// One instance of the control as COM sees it, of either class: its dual interface (late
// binding through the type library; a UserControl1 answers for _UserControl1 only, a ChessBoard
// for _ChessBoard and its base), its events and property-changed notices, persistence in
// property bags and streams, and the OLE interfaces a container uses to site, activate in
// place, size and draw it. It owns the core control and the ports the core reaches the platform
// through.
class ControlObject
    : public com::Implements<_ChessBoard, IProvideClassInfo2, IConnectionPointContainer,
                             IPersistPropertyBag, IPersistStreamInit, IOleObject, IOleInPlaceObject,
                             IOleInPlaceActiveObject, IOleControl, IViewObject2>,
      private SurfaceWindow::Owner {
 public:
  // An instance of the library's class `which`.
  ControlObject(com::Library& library, const com::ClassDescriptor& which);
  // The library's way of making one (Library::MakeInstance).
  static com::ComPtr<IUnknown> Make(com::Library& library, const com::ClassDescriptor& which);

  // IUnknown: the class's own interfaces only.
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argument_error) override;

  // IProvideClassInfo2
  STDMETHODIMP GetClassInfo(ITypeInfo** out) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

  // IPersist, IPersistPropertyBag, IPersistStreamInit
  STDMETHODIMP GetClassID(CLSID* class_id) override;
  // A new control is ready as it is made: the core initialised it, and its cells start empty.
  STDMETHODIMP InitNew() override { return S_OK; }
  STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
  STDMETHODIMP Save(IPropertyBag* bag, BOOL clear_dirty, BOOL save_all) override;
  STDMETHODIMP IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
  STDMETHODIMP Load(IStream* stream) override;
  STDMETHODIMP Save(IStream* stream, BOOL clear_dirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD save_option) override;
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG message, IOleClientSite* active_site, LONG index,
                      HWND parent, LPCRECT position) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* class_id) override { return GetClassID(class_id); }
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* user_type) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP Unadvise(DWORD connection) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }
  STDMETHODIMP TranslateAccelerator(LPMSG message) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

  // IOleControl
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(LPMSG) override { return S_OK; }
  STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
  STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

  // IViewObject, IViewObject2
  STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspect_info, DVTARGETDEVICE* device, HDC target,
                    HDC dc, LPCRECTL bounds, LPCRECTL window_bounds,
                    BOOL(STDMETHODCALLTYPE* keep_going)(ULONG_PTR), ULONG_PTR argument) override;
  STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspect_info, DVTARGETDEVICE* device,
                           HDC target, LOGPALETTE** colours) override;
  STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override {
    return GetExtent(aspect, size);
  }

  // _UserControl1 and _ChessBoard: each member's methods (control/member_rows.h), by its kind,
  // through Read and Write. control_object.cpp defines them the same way, so the kinds' macros
  // stay defined.
#define VELMORA_COM_Boolean(name) VELMORA_COM_PROPERTY(name, VARIANT_BOOL)
#define VELMORA_COM_Long(name) VELMORA_COM_PROPERTY(name, LONG)
#define VELMORA_COM_String(name) VELMORA_COM_PROPERTY(name, BSTR)
#define VELMORA_COM_Enumeration(name) VELMORA_COM_NUMBER(name, name##Enumeration)
#define VELMORA_COM_Colour(name) VELMORA_COM_NUMBER(name, OLE_COLOR)
#define VELMORA_COM_Method(name) VELMORA_COM_METHOD(name)
#define VELMORA_COM_PROPERTY(name, type)         \
  STDMETHODIMP get_##name(type* value) override; \
  STDMETHODIMP put_##name(type value) override;
#define VELMORA_COM_NUMBER(name, type) VELMORA_COM_PROPERTY(name, type)
#define VELMORA_COM_METHOD(name) STDMETHODIMP name() override;
#define VELMORA_MEMBER(name, id, kind, ...) VELMORA_COM_##kind(name)
#include "control/member_rows.h"
#undef VELMORA_COM_PROPERTY
#undef VELMORA_COM_NUMBER
#undef VELMORA_COM_METHOD

 private:
  HRESULT ActivateInPlace(IOleClientSite* active_site);
  // The surface window gained or lost the keyboard focus: the container hears of it.
  void FocusChanged(bool has_focus) override;
  // Holds this object for the length of a window message that may reach the control.
  std::shared_ptr<void> KeepAlive() override;
  // Runs a method's body as com::Call does, failures reported from the library's name.
  template <class Body>
  HRESULT Guarded(Body&& body) {
    return com::Call(this, std::forward<Body>(body), library_.descriptor().library_name);
  }
  // The one read and the one write behind every member's methods, between COM's types and the
  // core's. A Method's write takes no value.
  template <class Value>
  HRESULT Read(MemberId member, Value* value);
  template <class... Value>
  HRESULT Write(MemberId member, Value... value);
  // A refused write is E_INVALIDARG, with the reason in the thread's error information.
  HRESULT Answer(const Refused& refused) const;

  // What the type library says of the control, read once per instance.
  struct Descriptions {
    com::ComPtr<ITypeInfo> members;  // _UserControl1 as a function table, for DispInvoke
    com::ComPtr<ITypeInfo> class_info;
    std::vector<com::MemberShape> shapes;  // how each member may be called
    static Descriptions Load(const com::Library& library, const com::ClassDescriptor& which);
  };

  com::Library& library_;
  const com::ClassDescriptor& class_;
  const Descriptions types_;
  com::ConnectionPoint events_;
  com::ConnectionPoint notices_;
  ComHost host_;
  Win32Forms forms_;
  GdiPainter painter_;  // for containers that draw the control into their own device
  // The core control needs the ports above for as long as it lives, so it comes after them.
  std::shared_ptr<BoardControl> control_;

  com::ComPtr<IOleClientSite> site_;
  com::ComPtr<IOleInPlaceSite> in_place_site_;  // set while active in place
  com::ComPtr<IOleAdviseHolder> advise_holder_;
  com::ComPtr<IAdviseSink> view_sink_;
  DWORD view_aspects_ = 0;
  DWORD view_flags_ = 0;
  SIZEL extent_;  // HIMETRIC
  bool dirty_ = false;
  // Last, so the window is gone before anything it reaches.
  std::shared_ptr<SurfaceWindow> window_;
  bool ui_active_ = false;  // the container was told OnUIActivate and not yet deactivated
  // Where the container's loop finds its active object, to offer it keys first.
  com::ComPtr<IOleInPlaceFrame> frame_;
  com::ComPtr<IOleInPlaceUIWindow> document_;
};

}  // namespace ocx
}  // namespace velmora
