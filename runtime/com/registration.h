#pragma once

#include "runtime/com_base/com_headers.h"

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

// Registers the type library that the module at `module_path` carries as resource 1 and writes
// each class's registry entries (under its class id, its ProgID and its version-independent one).
HRESULT RegisterLibrary(const LibraryDescriptor& library, const std::wstring& module_path,
                        Scope scope);
// Removes what RegisterLibrary wrote for this bitness. The keys both bitnesses share stay while
// the other bitness still needs them in the same scope: a class's ProgID while it registers
// that class, the type library and its interfaces while it registers any class of the library.
// Entries already gone are no failure.
HRESULT UnregisterLibrary(const LibraryDescriptor& library, const std::wstring& module_path,
                          Scope scope);

std::wstring GuidText(REFGUID guid);

}  // namespace velmora::com
