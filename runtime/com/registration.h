#pragma once

#include "runtime/com/com_headers.h"

#include <string>

#include "runtime/com/descriptor.h"

namespace velmora::com {

// Writes the class's registry entries (under its class id and its ProgID) and registers the
// type library that the module at `module_path` carries as resource 1.
HRESULT RegisterProject(const ProjectDescriptor& project, const std::wstring& module_path);
// Removes everything RegisterProject wrote. Entries already gone are no failure.
HRESULT UnregisterProject(const ProjectDescriptor& project, const std::wstring& module_path);

std::wstring GuidText(REFGUID guid);

}  // namespace velmora::com
