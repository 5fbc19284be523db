// The control library's entry points. Each passes its call unchanged to the component runtime,
// together with the project: the data below, which is all the runtime knows of the control.
#include <initguid.h>  // defines the identifiers the generated header declares

#include "Project1.h"
#include "runtime/com/library.h"

namespace {

// Recompose on resize, cannot link inside, inside-out, activate when visible, set client site
// first.
constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE |
                              OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                              OLEMISC_SETCLIENTSITEFIRST;
static_assert(kMiscStatus == 0x20191);

const velmora::com::ProjectDescriptor kProject{
    .library_name = L"Project1",
    .library_id = LIBID_Project1,
    .major_version = 1,
    .minor_version = 0,
    .class_name = L"UserControl1",
    .prog_id = L"Project1.UserControl1",
    .class_id = CLSID_UserControl1,
    .default_interface = IID__UserControl1,
    .source_interface = DIID___UserControl1,
    .threading_model = L"Apartment",
    .toolbox_bitmap = 30000,
    .misc_status = kMiscStatus,
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
