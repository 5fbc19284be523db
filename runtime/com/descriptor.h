#pragma once

#include "runtime/com_base/com_headers.h"

#include <span>

namespace velmora::com {

// One class a library carries: the data its registry entries are made of. Read-only.
struct ClassDescriptor {
  const wchar_t* prog_id;
  const wchar_t* version_independent_prog_id;  // null for a class without one
  CLSID class_id;
  IID default_interface;
  IID source_interface;
  const wchar_t* threading_model;
  int toolbox_bitmap;  // resource id of the picture a form designer shows
  DWORD misc_status;   // OLEMISC_* flags a container reads before creating the control
};

// What a library tells the toolkit about itself: its type library and its classes, one row
// each. Read-only; every export hands it over.
struct LibraryDescriptor {
  const wchar_t* library_name;  // the type library's name, the source of the errors it reports
  GUID library_id;
  unsigned short major_version;
  unsigned short minor_version;
  std::span<const ClassDescriptor> classes;
};

}  // namespace velmora::com
