#pragma once

#include "runtime/com/com_headers.h"

#include <optional>
#include <string>

#include "runtime/com/descriptor.h"

namespace velmora::com {

// Where a registration goes: the machine's classes (for every user, needs an administrator) or
// the current user's (HKEY_CURRENT_USER\Software\Classes, needs no rights).
enum class Scope { kMachine, kUser };

// DllInstall's command line: "user" is per user, "" (or none) and "machine" per machine, in any
// case; anything else is no scope.
std::optional<Scope> ScopeFromText(const wchar_t* text);

// Writes the class's registry entries (under its class id and its ProgID) and registers the
// type library that the module at `module_path` carries as resource 1.
HRESULT RegisterProject(const ProjectDescriptor& project, const std::wstring& module_path,
                        Scope scope);
// Removes what RegisterProject wrote for this bitness. The keys both bitnesses share (ProgID,
// type library, interfaces) stay while the other bitness still registers the class in the same
// scope. Entries already gone are no failure.
HRESULT UnregisterProject(const ProjectDescriptor& project, const std::wstring& module_path,
                          Scope scope);

std::wstring GuidText(REFGUID guid);

}  // namespace velmora::com
