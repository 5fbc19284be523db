// The control library's entry points. Each passes its call unchanged to the component runtime,
// together with the project: the data below, which is all the runtime knows of the control.
#include <initguid.h>  // defines the identifiers the generated header declares

#include "Project1.h"
#include "project_data.h"
#include "runtime/com/library.h"

namespace {

// Recompose on resize, cannot link inside, inside-out, activate when visible, set client site
// first.
static_assert(velmora::ocx::kMiscStatus ==
              (OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
               OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST));

const velmora::com::ProjectDescriptor kProject{
    .library_name = velmora::ocx::kLibraryName,
    .library_id = LIBID_Project1,
    .major_version = velmora::ocx::kMajorVersion,
    .minor_version = velmora::ocx::kMinorVersion,
    .class_name = L"UserControl1",
    .prog_id = velmora::ocx::kProgId,
    .class_id = CLSID_UserControl1,
    .default_interface = IID__UserControl1,
    .source_interface = DIID___UserControl1,
    .threading_model = velmora::ocx::kThreadingModel,
    .toolbox_bitmap = velmora::ocx::kToolboxBitmap,
    .misc_status = velmora::ocx::kMiscStatus,
};

// The runtime's state for this library while it is loaded.
velmora::com::Library library(kProject);

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void* reserved) {
  return library.Notify(module, reason, reserved);
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
