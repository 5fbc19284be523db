#pragma once

#include <windows.h>
//
#include <oleacc.h>

#include <cstdint>

#include "runtime/com_base/implements.h"

// Readers reach the board as a dispatch object first (a window's children, a parent's child).
VELMORA_COM_BASE_OF(IAccessible, IDispatch)

namespace velmora {

class SurfaceWindow;

// What a screen reader sees of the surface window: a table named "Chess board" whose simple
// children are the parts of the core's flat numbering (1 to 64 the squares, 65 the move
// display, 66 to 69 the prompt's choices while it is shown, or in edit mode 66 to 78 the spare
// pieces and the eraser, pressed while armed). Everything it says comes from the core's
// accessibility model; it only translates. It outlives its window when a client still
// holds it, and then answers that it is no longer connected.
class SurfaceAccessible : public com::Implements<IAccessible> {
 public:
  SurfaceAccessible(com::ObjectCount& objects, SurfaceWindow& window)
      : Implements(objects), window_(&window) {}

  // The window is going: from now on every call fails.
  void Disconnect() { window_ = nullptr; }

  // IDispatch: clients call IAccessible through its table, never late-bound.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    return E_NOTIMPL;
  }

  STDMETHODIMP get_accParent(IDispatch** parent) override;
  STDMETHODIMP get_accChildCount(LONG* count) override;
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** dispatch) override;
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  STDMETHODIMP get_accFocus(VARIANT* child) override;
  STDMETHODIMP get_accSelection(VARIANT* children) override;
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
  STDMETHODIMP accSelect(LONG flags, VARIANT child) override;
  STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                           VARIANT child) override;
  STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* child) override;
  STDMETHODIMP accDoDefaultAction(VARIANT child) override;
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  // The part a child id names, when it exists now; 0 is the board itself.
  HRESULT PartOf(const VARIANT& child, std::int16_t& part) const;

  SurfaceWindow* window_;
};

}  // namespace velmora
