// The control library's entry points. Each passes its call unchanged to the component toolkit,
// together with the library's class table and the way to make an instance of a class.
#include "platform/win32/surface_window.h"
#include "products/ocx/control_object.h"
#include "project_data.h"
#include "runtime/com/library.h"

namespace {

// The generator's flag names agree with the system's: recompose on resize, cannot link inside,
// inside-out, activate when visible, set client site first.
static_assert(velmora::ocx::kClasses[0].misc_status ==
              (OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
               OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST));

// The toolkit's state for this library while it is loaded.
velmora::com::Library library(velmora::ocx::kLibrary, &velmora::ocx::ControlObject::Make);

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void* reserved) {
  // A process that ends takes the window class with it; a library unloaded before that must
  // not leave the class pointing into code that is gone.
  if (reason == DLL_PROCESS_DETACH && !reserved) velmora::SurfaceWindow::UnregisterWindowClass();
  return library.Notify(module, reason);
}

STDAPI DllCanUnloadNow() {
  return library.CanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID class_id, REFIID iid, void** out) {
  return library.GetClassObject(class_id, iid, out);
}

STDAPI DllRegisterServer() {
  return library.Register();
}

STDAPI DllUnregisterServer() {
  return library.Unregister();
}

// regsvr32 /n /i:user registers for the current user only ("" or "machine": machine-wide).
STDAPI DllInstall(BOOL install, LPCWSTR scope) {
  return library.Install(install != FALSE, scope);
}
