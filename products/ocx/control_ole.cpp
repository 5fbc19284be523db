// The OLE side of the control: how a container sites it, activates it in place in a window of
// its own, sizes, closes and draws it.
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>
#include <optional>

#include "control/presenter.h"
#include "platform/win32/dib.h"
#include "products/ocx/composition.h"
#include "products/ocx/control_object.h"
#include "view/display_list.h"
#include "view/pixel_grid.h"

namespace velmora::ocx {
namespace {

// Metafiles keep the bitmap they are given, and a printer's page runs to thousands of pixels:
// both get a smaller one, which they stretch.
bool RecordsOrPrints(HDC dc) {
  const DWORD kind = GetObjectType(dc);
  return kind == OBJ_ENHMETADC || kind == OBJ_METADC ||
         GetDeviceCaps(dc, TECHNOLOGY) != DT_RASDISPLAY;
}

// What the device can show, in its logical units: its clip box, empty when it shows nothing.
// None for a metafile, which records for whatever device plays it, and for a device that
// cannot say.
std::optional<PixelBox> ClipOf(HDC dc) {
  const DWORD kind = GetObjectType(dc);
  if (kind == OBJ_ENHMETADC || kind == OBJ_METADC) return std::nullopt;
  RECT clip{};
  switch (GetClipBox(dc, &clip)) {
    case ERROR:
      return std::nullopt;
    case NULLREGION:
      return PixelBox{0, 0, 0, 0};
    default:
      return PixelBox{clip.left, clip.top, clip.right, clip.bottom};
  }
}

// The device pixels a rectangle of logical units covers, each way.
SIZE DevicePixels(HDC dc, const PixelBox& box) {
  POINT corners[2] = {{box.left, box.top}, {box.right, box.bottom}};
  LPtoDP(dc, corners, 2);
  const auto span = [](LONG from, LONG to) {
    return static_cast<LONG>(std::min<long long>(std::llabs(static_cast<long long>(to) - from),
                                                 std::numeric_limits<LONG>::max()));
  };
  return {span(corners[0].x, corners[1].x), span(corners[0].y, corners[1].y)};
}

// Paints what the bitmap of the composition's size shows (what lies wholly outside costs the
// painter one box test) and copies it onto the device's `shown` rectangle.
void PaintComposed(GdiPainter& painter, HDC dc, const DisplayList& list,
                   const Composition& composition, const PixelBox& shown) {
  const PixelGrid grid(composition.scale);
  const Dib dib = CreateTopDownDib(composition.width, composition.height);
  if (!dib.bitmap) throw std::bad_alloc();
  const HDC memory = CreateCompatibleDC(nullptr);
  const HGDIOBJ previous = SelectObject(memory, dib.bitmap);
  // Released however the painting ends.
  const std::shared_ptr<void> release(nullptr, [&](void*) {
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(dib.bitmap);
  });
  painter.PaintDisplayList(memory, list, grid, {0, 0, composition.width, composition.height});
  GdiFlush();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = composition.width;
  info.bmiHeader.biHeight = -composition.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, shown.left, shown.top, shown.width(), shown.height(), 0, 0, composition.width,
                composition.height, dib.pixels, &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

std::shared_ptr<void> ControlObject::KeepAlive() {
  AddRef();
  return std::shared_ptr<void>(static_cast<_UserControl1*>(this),
                               [](void* self) { static_cast<_UserControl1*>(self)->Release(); });
}

STDMETHODIMP ControlObject::SetClientSite(IOleClientSite* site) {
  site_ = site;
  return S_OK;
}

STDMETHODIMP ControlObject::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = com::ComPtr<IOleClientSite>(site_).Detach();
  return S_OK;
}

STDMETHODIMP ControlObject::Close(DWORD save_option) {
  return Guarded([&] {
    InPlaceDeactivate();
    if (dirty_ && site_ && save_option == OLECLOSE_SAVEIFDIRTY) site_->SaveObject();
    if (advise_holder_) advise_holder_->SendOnClose();
  });
}

STDMETHODIMP ControlObject::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ControlObject::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

// A positive verb the control does not list acts as the primary one and says so; a negative
// one it does not know is refused and does nothing.
STDMETHODIMP ControlObject::DoVerb(LONG verb, LPMSG, IOleClientSite* active_site, LONG, HWND,
                                   LPCRECT) {
  const auto activate = [&] {
    return Guarded([&] { return ActivateInPlace(active_site ? active_site : site_.get()); });
  };
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
      return activate();
    case OLEIVERB_UIACTIVATE: {
      const HRESULT result = activate();
      // The focus brings the container's UI activation with it (FocusChanged).
      if (SUCCEEDED(result) && window_ && window_->hwnd()) SetFocus(window_->hwnd());
      return result;
    }
    case OLEIVERB_HIDE:
      if (window_ && window_->hwnd()) ShowWindow(window_->hwnd(), SW_HIDE);
      return S_OK;
    default:
      if (verb < 0) return E_NOTIMPL;
      const HRESULT result = activate();
      return FAILED(result) ? result : OLEOBJ_S_INVALIDVERB;
  }
}

// The standard in-place dance: the site agrees, tells where, and the surface window is made a
// child of the container's window there.
HRESULT ControlObject::ActivateInPlace(IOleClientSite* active_site) {
  if (window_ && window_->hwnd()) {
    ShowWindow(window_->hwnd(), SW_SHOW);
    return S_OK;
  }
  if (!active_site) return E_INVALIDARG;
  const auto site = com::ComPtr<IOleClientSite>(active_site).As<IOleInPlaceSite>();
  if (!site) return E_NOINTERFACE;
  if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
  HRESULT result = site->OnInPlaceActivate();
  if (FAILED(result)) return result;

  HWND parent = nullptr;
  com::ComPtr<IOleInPlaceFrame> frame;
  com::ComPtr<IOleInPlaceUIWindow> document;
  RECT position{}, clip{};
  OLEINPLACEFRAMEINFO frame_info{};
  frame_info.cb = sizeof frame_info;
  result = site->GetWindow(&parent);
  if (SUCCEEDED(result)) {
    result = site->GetWindowContext(frame.Put(), document.Put(), &position, &clip, &frame_info);
  }
  if (SUCCEEDED(result)) {
    window_ = SurfaceWindow::Create(control_, forms_, parent, position, *this);
    if (!window_) result = E_FAIL;
  }
  if (SUCCEEDED(result)) {
    frame_ = frame;
    document_ = document;
    window_->UseObjectCount(library_.objects());
  }
  if (FAILED(result)) {
    site->OnInPlaceDeactivate();
    return result;
  }
  in_place_site_ = site;
  return S_OK;
}

void ControlObject::FocusChanged(bool has_focus) {
  if (has_focus && !ui_active_ && in_place_site_) {
    ui_active_ = true;
    in_place_site_->OnUIActivate();
    auto* self = static_cast<IOleInPlaceActiveObject*>(this);
    if (frame_) frame_->SetActiveObject(self, nullptr);
    if (document_) document_->SetActiveObject(self, nullptr);
  }
  if (const auto control_site = site_.As<IOleControlSite>()) control_site->OnFocus(has_focus);
}

STDMETHODIMP ControlObject::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs) *verbs = nullptr;
  return OLE_S_USEREG;
}

STDMETHODIMP ControlObject::GetUserType(DWORD, LPOLESTR* user_type) {
  if (user_type) *user_type = nullptr;
  return OLE_S_USEREG;
}

STDMETHODIMP ControlObject::SetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  extent_ = *size;
  // An active control's window takes the new size from where it stands.
  if (window_ && window_->hwnd()) {
    const int dpi = DpiOfWindow(window_->hwnd());
    SetWindowPos(window_->hwnd(), nullptr, 0, 0, MulDiv(size->cx, dpi, 2540),
                 MulDiv(size->cy, dpi, 2540), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return S_OK;
}

STDMETHODIMP ControlObject::GetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP ControlObject::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!sink || !connection) return E_POINTER;
  if (!advise_holder_) {
    const HRESULT result = CreateOleAdviseHolder(advise_holder_.Put());
    if (FAILED(result)) return result;
  }
  return advise_holder_->Advise(sink, connection);
}

STDMETHODIMP ControlObject::Unadvise(DWORD connection) {
  if (!advise_holder_) return OLE_E_NOCONNECTION;
  return advise_holder_->Unadvise(connection);
}

STDMETHODIMP ControlObject::EnumAdvise(IEnumSTATDATA** advise) {
  if (!advise) return E_POINTER;
  *advise = nullptr;
  if (!advise_holder_) return S_OK;
  return advise_holder_->EnumAdvise(advise);
}

STDMETHODIMP ControlObject::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = class_.misc_status;
  return S_OK;
}

STDMETHODIMP ControlObject::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = window_ ? window_->hwnd() : nullptr;
  return *window ? S_OK : E_FAIL;
}

STDMETHODIMP ControlObject::InPlaceDeactivate() {
  if (!in_place_site_) return S_OK;
  return Guarded([&] {
    // The window's own procedure may still hold it for the message being handled; it goes
    // when that message ends.
    UIDeactivate();
    window_.reset();
    frame_.Reset();
    document_.Reset();
    const auto site = std::move(in_place_site_);
    site->OnInPlaceDeactivate();
  });
}

STDMETHODIMP ControlObject::UIDeactivate() {
  if (!ui_active_) return S_OK;
  ui_active_ = false;
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (document_) document_->SetActiveObject(nullptr, nullptr);
  if (in_place_site_) return in_place_site_->OnUIDeactivate(FALSE);
  return S_OK;
}

STDMETHODIMP ControlObject::SetObjectRects(LPCRECT position, LPCRECT) {
  if (!position) return E_POINTER;
  if (window_ && window_->hwnd()) {
    MoveWindow(window_->hwnd(), position->left, position->top, position->right - position->left,
               position->bottom - position->top, TRUE);
  }
  return S_OK;
}

// A container's loop asks first for every key: the board's own keys go to its window, so no
// dialog navigation takes the arrows or Enter away from it.
STDMETHODIMP ControlObject::TranslateAccelerator(LPMSG msg) {
  if (!msg) return E_INVALIDARG;
  const HWND window = window_ ? window_->hwnd() : nullptr;
  if (window == nullptr || msg->hwnd != window || msg->message != WM_KEYDOWN) return S_FALSE;
  return Guarded([&] {
    if (!control_->TakesKey(static_cast<std::int16_t>(msg->wParam), KeyShift())) return S_FALSE;
    // Translated here, since the container's loop will not: the key's character follows it.
    TranslateMessage(msg);
    SendMessageW(window, msg->message, msg->wParam, msg->lParam);
    return S_OK;
  });
}
STDMETHODIMP ControlObject::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->cb = sizeof *info;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

// Paints the surface as it looks now at the scale of the bounds (each axis its own): a
// container prints the control, or renders it where no window of its own exists, this way.
// Only the part of the bounds the device can show is painted, composed in a bitmap of the
// device's pixels over that part and copied pixel for pixel; a metafile or a printer gets a
// bitmap of at most kMostRecordedPixels a side, which it stretches.
STDMETHODIMP ControlObject::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                 LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                 ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!dc || !bounds) return E_INVALIDARG;
  // A display's part is bounded by its own pixels; this only keeps an odd mapping in check.
  constexpr int kMostDisplayPixels = 4096;
  constexpr int kMostRecordedPixels = 2048;
  return Guarded([&] {
    const PixelBox area{bounds->left, bounds->top, bounds->right, bounds->bottom};
    const std::optional<PixelBox> clip = ClipOf(dc);
    const std::optional<PixelBox> shown = ShownPart(area, clip);
    if (!shown) return;
    const SIZE pixels = DevicePixels(dc, *shown);
    const int most = RecordsOrPrints(dc) || !clip ? kMostRecordedPixels : kMostDisplayPixels;
    const Composition composition =
        ComposeShownPart(control_->surface(), area, *shown, pixels.cx, pixels.cy, most);
    PaintComposed(painter_, dc, Presenter::DisplayOf(*control_), composition, *shown);
  });
}

STDMETHODIMP ControlObject::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                        LOGPALETTE** colours) {
  if (!colours) return E_POINTER;
  *colours = nullptr;
  return S_FALSE;
}

STDMETHODIMP ControlObject::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  view_aspects_ = aspects;
  view_flags_ = flags;
  view_sink_ = sink;
  return S_OK;
}

STDMETHODIMP ControlObject::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = view_aspects_;
  if (flags) *flags = view_flags_;
  if (sink) *sink = com::ComPtr<IAdviseSink>(view_sink_).Detach();
  return S_OK;
}

}  // namespace velmora::ocx
