#include "platform/win32/surface_accessible.h"

#include <new>
#include <optional>
#include <string_view>

#include "control/accessible_model.h"
#include "platform/win32/surface_window.h"
#include "view/accessible_parts.h"

namespace velmora {
namespace {

constexpr std::u16string_view kDefaultAction = u"Click";

// Runs a method's body with the object held, turning every exception into a status.
template <class Body>
HRESULT Guarded(SurfaceAccessible* self, Body&& body) noexcept {
  const com::ComPtr<SurfaceAccessible> keep_alive(self);
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT HandOutText(std::u16string_view text, BSTR* out) {
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                           static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, LONG child) {
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = child;
}

LONG RoleOf(AccessibleRole role) {
  // In the roles' order.
  constexpr LONG kRoles[] = {ROLE_SYSTEM_TABLE, ROLE_SYSTEM_CELL, ROLE_SYSTEM_STATICTEXT,
                             ROLE_SYSTEM_PUSHBUTTON};
  return kRoles[static_cast<std::size_t>(role)];
}

LONG StateOf(const AccessiblePart& part) {
  LONG state = 0;
  if (part.states.focusable) state |= STATE_SYSTEM_FOCUSABLE;
  if (part.states.focused) state |= STATE_SYSTEM_FOCUSED;
  if (part.states.selected) state |= STATE_SYSTEM_SELECTED;
  if (part.states.unavailable) state |= STATE_SYSTEM_UNAVAILABLE;
  if (part.states.pressed) state |= STATE_SYSTEM_PRESSED;
  if (part.role == AccessibleRole::kCell) state |= STATE_SYSTEM_SELECTABLE;
  if (part.role == AccessibleRole::kStaticText) state |= STATE_SYSTEM_READONLY;
  return state;
}

bool HasDefaultAction(std::int16_t part) {
  return IsSquarePart(part) || part >= kFirstChoicePart;
}

}  // namespace

HRESULT SurfaceAccessible::PartOf(const VARIANT& child, std::int16_t& part) const {
  if (window_ == nullptr) return CO_E_OBJNOTCONNECTED;
  if (child.vt != VT_I4) return E_INVALIDARG;
  if (child.lVal < kBoardPart || child.lVal > LastPart(window_->control()->surface())) {
    return E_INVALIDARG;
  }
  part = static_cast<std::int16_t>(child.lVal);
  return S_OK;
}

STDMETHODIMP SurfaceAccessible::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
STDMETHODIMP SurfaceAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP SurfaceAccessible::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  if (window_ == nullptr) return CO_E_OBJNOTCONNECTED;
  return CreateStdAccessibleObject(window_->hwnd(), OBJID_WINDOW, IID_IDispatch,
                                   reinterpret_cast<void**>(parent));
}

STDMETHODIMP SurfaceAccessible::get_accChildCount(LONG* count) {
  if (!count) return E_POINTER;
  if (window_ == nullptr) return CO_E_OBJNOTCONNECTED;
  *count = LastPart(window_->control()->surface());
  return S_OK;
}

STDMETHODIMP SurfaceAccessible::get_accChild(VARIANT child, IDispatch** dispatch) {
  if (!dispatch) return E_POINTER;
  *dispatch = nullptr;
  std::int16_t part = 0;
  if (const HRESULT bad = PartOf(child, part); FAILED(bad)) return bad;
  // Every part is a simple element of this object.
  return S_FALSE;
}

STDMETHODIMP SurfaceAccessible::get_accName(VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  std::int16_t part = 0;
  if (const HRESULT bad = PartOf(child, part); FAILED(bad)) return bad;
  return Guarded(this,
                 [&] { return HandOutText(DescribePart(*window_->control(), part)->name, name); });
}

STDMETHODIMP SurfaceAccessible::get_accValue(VARIANT child, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  std::int16_t part = 0;
  if (const HRESULT bad = PartOf(child, part); FAILED(bad)) return bad;
  if (part != kMoveDisplayPart) return S_FALSE;
  return Guarded(this, [&] { return HandOutText(window_->control()->GetMove(), value); });
}

STDMETHODIMP SurfaceAccessible::get_accDescription(VARIANT child, BSTR* description) {
  if (!description) return E_POINTER;
  *description = nullptr;
  std::int16_t part = 0;
  if (const HRESULT bad = PartOf(child, part); FAILED(bad)) return bad;
  return Guarded(this, [&] {
    return HandOutText(DescribePart(*window_->control(), part)->description, description);
  });
}

STDMETHODIMP SurfaceAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  VariantInit(role);
  std::int16_t part = 0;
  if (const HRESULT bad = PartOf(child, part); FAILED(bad)) return bad;
  return Guarded(this, [&] {
    SetChild(role, RoleOf(DescribePart(*window_->control(), part)->role));
    return S_OK;
  });
}

STDMETHODIMP SurfaceAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  VariantInit(state);
  std::int16_t part = 0;
  if (const HRESULT bad = PartOf(child, part); FAILED(bad)) return bad;
  return Guarded(this, [&] {
    SetChild(state, StateOf(*DescribePart(*window_->control(), part)));
    return S_OK;
  });
}

STDMETHODIMP SurfaceAccessible::get_accHelp(VARIANT, BSTR* help) {
  if (help) *help = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}
STDMETHODIMP SurfaceAccessible::get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) {
  if (file) *file = nullptr;
  if (topic) *topic = 0;
  return DISP_E_MEMBERNOTFOUND;
}
STDMETHODIMP SurfaceAccessible::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
  if (shortcut) *shortcut = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP SurfaceAccessible::get_accFocus(VARIANT* child) {
  if (!child) return E_POINTER;
  VariantInit(child);
  if (window_ == nullptr) return CO_E_OBJNOTCONNECTED;
  const auto focused = FocusedPart(*window_->control());
  if (!focused) return S_FALSE;
  SetChild(child, *focused);
  return S_OK;
}

STDMETHODIMP SurfaceAccessible::get_accSelection(VARIANT* children) {
  if (!children) return E_POINTER;
  VariantInit(children);
  if (window_ == nullptr) return CO_E_OBJNOTCONNECTED;
  const auto selected = SelectedPart(*window_->control());
  if (!selected) return S_FALSE;
  SetChild(children, *selected);
  return S_OK;
}

STDMETHODIMP SurfaceAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (!action) return E_POINTER;
  *action = nullptr;
  std::int16_t part = 0;
  if (const HRESULT bad = PartOf(child, part); FAILED(bad)) return bad;
  if (!HasDefaultAction(part)) return S_FALSE;
  return HandOutText(kDefaultAction, action);
}

STDMETHODIMP SurfaceAccessible::accSelect(LONG flags, VARIANT child) {
  std::int16_t part = 0;
  if (const HRESULT bad = PartOf(child, part); FAILED(bad)) return bad;
  if (flags != SELFLAG_TAKEFOCUS || !HasDefaultAction(part)) return E_INVALIDARG;
  return Guarded(this, [&] {
    if (GetFocus() != window_->hwnd()) SetFocus(window_->hwnd());
    window_->control()->FocusPart(part);
    return S_OK;
  });
}

STDMETHODIMP SurfaceAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                            VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  std::int16_t part = 0;
  if (const HRESULT bad = PartOf(child, part); FAILED(bad)) return bad;
  const RECT rect = window_->PartPixels(part);
  POINT corner{rect.left, rect.top};
  ClientToScreen(window_->hwnd(), &corner);
  *left = corner.x;
  *top = corner.y;
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
  return S_OK;
}

STDMETHODIMP SurfaceAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  VariantInit(end);
  std::int16_t part = 0;
  if (const HRESULT bad = PartOf(start, part); FAILED(bad)) return bad;
  const std::int16_t last = LastPart(window_->control()->surface());
  std::optional<std::int16_t> to;
  switch (direction) {
    case NAVDIR_FIRSTCHILD:
      if (part == kBoardPart) to = 1;
      break;
    case NAVDIR_LASTCHILD:
      if (part == kBoardPart) to = last;
      break;
    case NAVDIR_NEXT:
      if (part != kBoardPart && part < last) to = static_cast<std::int16_t>(part + 1);
      break;
    case NAVDIR_PREVIOUS:
      if (part > 1) to = static_cast<std::int16_t>(part - 1);
      break;
    case NAVDIR_UP:
    case NAVDIR_DOWN:
    case NAVDIR_LEFT:
    case NAVDIR_RIGHT:
      if (!IsSquarePart(part)) break;
      // The neighbour as the board is drawn, turned or not.
      to = SquareToward(part,
                        direction == NAVDIR_UP     ? 1
                        : direction == NAVDIR_DOWN ? -1
                                                   : 0,
                        direction == NAVDIR_RIGHT  ? 1
                        : direction == NAVDIR_LEFT ? -1
                                                   : 0,
                        window_->control()->surface().Orientation());
      break;
    default:
      return E_INVALIDARG;
  }
  if (!to) return S_FALSE;
  SetChild(end, *to);
  return S_OK;
}

STDMETHODIMP SurfaceAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (!child) return E_POINTER;
  VariantInit(child);
  if (window_ == nullptr) return CO_E_OBJNOTCONNECTED;
  POINT at{x, y};
  ScreenToClient(window_->hwnd(), &at);
  RECT client;
  GetClientRect(window_->hwnd(), &client);
  if (!PtInRect(&client, at)) return S_FALSE;
  // The choices lie over the board, so the highest part number under the point wins.
  for (std::int16_t part = LastPart(window_->control()->surface()); part >= 1; --part) {
    const RECT rect = window_->PartPixels(part);
    if (PtInRect(&rect, at)) {
      SetChild(child, part);
      return S_OK;
    }
  }
  SetChild(child, CHILDID_SELF);
  return S_OK;
}

STDMETHODIMP SurfaceAccessible::accDoDefaultAction(VARIANT child) {
  std::int16_t part = 0;
  if (const HRESULT bad = PartOf(child, part); FAILED(bad)) return bad;
  if (!HasDefaultAction(part)) return DISP_E_MEMBERNOTFOUND;
  // Queued, never run here: the click may open the prompt, whose wait must not hold a client.
  return window_->QueueActivation(part) ? S_OK : E_FAIL;
}

}  // namespace velmora
