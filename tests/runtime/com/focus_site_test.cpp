// The control inside a container's site that writes down what the control tells it: UI
// activation with the focus, the focus itself, the active object, and the keys the container's
// loop offers the control first.
#include <string>
#include <vector>

#include "com_fixture.h"
#include "tests/platform/win32/window_fixture.h"

namespace velmora::com {
template <>
struct BaseOf<IOleInPlaceSite> {
  using type = IOleWindow;
};
template <>
struct BaseOf<IOleInPlaceUIWindow> {
  using type = IOleWindow;
};
template <>
struct BaseOf<IOleInPlaceFrame> {
  using type = IOleInPlaceUIWindow;
};
}  // namespace velmora::com

namespace velmora::testing {
namespace {

constexpr wchar_t kSiteFormClass[] = L"VelmoraFocusSiteForm";

HWND SiteForm() {
  static HWND form = nullptr;
  if (IsWindow(form)) return form;
  WNDCLASSW form_class{};
  form_class.lpfnWndProc = DefWindowProcW;
  form_class.hInstance = GetModuleHandleW(nullptr);
  form_class.lpszClassName = kSiteFormClass;
  RegisterClassW(&form_class);
  const RECT size = SurfaceWindow::DefaultRect(0, 0);
  form = CreateWindowW(kSiteFormClass, L"Velmora focus site", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                       0, size.right + 40, size.bottom + 60, nullptr, nullptr,
                       GetModuleHandleW(nullptr), nullptr);
  return form;
}

// A container's site and frame in one: every call the control makes is written down.
class RecordingSite
    : public com::Implements<IOleClientSite, IOleInPlaceSite, IOleControlSite, IOleInPlaceFrame> {
 public:
  RecordingSite() : Implements(TestObjects()) {}

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) override {
    *window = SiteForm();
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override {
    calls.push_back("OnUIActivate");
    return S_OK;
  }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO) override {
    *frame = this;
    AddRef();
    *document = nullptr;
    *position = *clip = SurfaceWindow::DefaultRect(0, 0);
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override {
    calls.push_back("OnUIDeactivate");
    return S_OK;
  }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }
  // IOleControlSite
  STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
  STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
  STDMETHODIMP GetExtendedControl(IDispatch** control) override {
    *control = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
  STDMETHODIMP OnFocus(BOOL has_focus) override {
    calls.push_back(has_focus ? "OnFocus(TRUE)" : "OnFocus(FALSE)");
    return S_OK;
  }
  STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }
  // IOleInPlaceUIWindow
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
    active = object;
    calls.push_back(object ? "SetActiveObject" : "SetActiveObject(null)");
    return S_OK;
  }
  // IOleInPlaceFrame
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  std::vector<std::string> calls;
  ComPtr<IOleInPlaceActiveObject> active;
};

class FocusSiteTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    control_ = CreateControl();
    ASSERT_TRUE(control_);
    object_ = control_.As<IOleObject>();
    ASSERT_EQ(object_->SetClientSite(site_.get()), S_OK);
    RECT rect = SurfaceWindow::DefaultRect(0, 0);
    ASSERT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, SiteForm(), &rect),
              S_OK);
    ASSERT_EQ(control_.As<IOleInPlaceObject>()->GetWindow(&window_), S_OK);
    SetFocus(SiteForm());
    Pump();
  }
  void TearDown() override {
    if (object_) {
      object_->Close(OLECLOSE_NOSAVE);
      object_->SetClientSite(nullptr);
    }
    site_->active.Reset();
    object_.Reset();
    control_.Reset();
    site_.Reset();
    Pump();
    OleUninitialize();
    LibraryTest::TearDown();
  }

  ComPtr<RecordingSite> site_ = com::MakeObject<RecordingSite>();
  ComPtr<IDispatch> control_;
  ComPtr<IOleObject> object_;
  HWND window_ = nullptr;
};

TEST_F(FocusSiteTest, TheFocusUIActivatesOnceAndTellsTheSiteEachTime) {
  EXPECT_TRUE(site_->calls.empty()) << "in-place activation alone is no UI activation";
  SetFocus(window_);
  SetFocus(SiteForm());
  SetFocus(window_);
  Pump();
  EXPECT_EQ(site_->calls,
            (std::vector<std::string>{"OnUIActivate", "SetActiveObject", "OnFocus(TRUE)",
                                      "OnFocus(FALSE)", "OnFocus(TRUE)"}));
  ASSERT_EQ(control_.As<IOleInPlaceObject>()->UIDeactivate(), S_OK);
  EXPECT_EQ(site_->calls.back(), "OnUIDeactivate");
  EXPECT_FALSE(site_->active);
}

TEST_F(FocusSiteTest, TheUIActivateVerbTakesTheFocus) {
  RECT rect = SurfaceWindow::DefaultRect(0, 0);
  ASSERT_EQ(object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.get(), 0, SiteForm(), &rect), S_OK);
  EXPECT_EQ(GetFocus(), window_);
  EXPECT_EQ(site_->calls.front(), "OnUIActivate");
}

TEST_F(FocusSiteTest, TheActiveObjectTakesTheBoardsKeysFromTheContainersLoop) {
  SetFocus(window_);
  Pump();
  ASSERT_TRUE(site_->active);
  struct Case {
    const char* what;
    HWND hwnd;
    UINT message;
    WPARAM key;
    HRESULT expected;
  };
  const Case cases[] = {
      {"Up", window_, WM_KEYDOWN, VK_UP, S_OK},
      {"Right", window_, WM_KEYDOWN, VK_RIGHT, S_OK},
      {"Enter", window_, WM_KEYDOWN, VK_RETURN, S_OK},
      {"Tab", window_, WM_KEYDOWN, VK_TAB, S_FALSE},
      {"Escape", window_, WM_KEYDOWN, VK_ESCAPE, S_FALSE},
      {"a letter", window_, WM_KEYDOWN, 'A', S_FALSE},
      {"a release", window_, WM_KEYUP, VK_UP, S_FALSE},
      {"another window", SiteForm(), WM_KEYDOWN, VK_UP, S_FALSE},
  };
  for (const Case& c : cases) {
    MSG msg{c.hwnd, c.message, c.key, 1, 0, {}};
    EXPECT_EQ(site_->active->TranslateAccelerator(&msg), c.expected) << c.what;
    Pump();
  }
  // Up and Right took the focus from A1 to B2, where Enter picked the pawn up.
  EXPECT_EQ(GetText(control_.get(), L"GetMove"), L"B2");
}

}  // namespace
}  // namespace velmora::testing
