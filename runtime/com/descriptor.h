#pragma once

#include "runtime/com/com_headers.h"

namespace velmora::com {

// What the library tells the runtime about itself: the one class it carries, its type library
// and the data its registry entries are made of. Read-only; every export hands it over.
struct ProjectDescriptor {
  const wchar_t* library_name;  // the type library's name and description
  GUID library_id;
  unsigned short major_version;
  unsigned short minor_version;

  const wchar_t* class_name;
  const wchar_t* prog_id;
  CLSID class_id;
  IID default_interface;
  IID source_interface;
  const wchar_t* threading_model;
  int toolbox_bitmap;  // resource id of the picture a form designer shows
  DWORD misc_status;   // OLEMISC_* flags a container reads before creating the control
};

}  // namespace velmora::com
