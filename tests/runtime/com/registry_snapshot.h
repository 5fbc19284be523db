#pragma once

#include "runtime/com_base/com_headers.h"

#include <map>
#include <string>
#include <vector>

namespace velmora::testing {

// Which classes and which registry view: HKLM or HKCU's Software\Classes, 32- or 64-bit view.
struct ClassesView {
  HKEY hive;
  REGSAM view;  // KEY_WOW64_32KEY or KEY_WOW64_64KEY
  const wchar_t* name;
};

inline const ClassesView kMachine32{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"HKLM32"};
inline const ClassesView kMachine64{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"HKLM64"};
inline const ClassesView kUser32{HKEY_CURRENT_USER, KEY_WOW64_32KEY, L"HKCU32"};
inline const ClassesView kUser64{HKEY_CURRENT_USER, KEY_WOW64_64KEY, L"HKCU64"};

// Every key and value the control's registration can write, in one view of one hive's classes:
// "<view>\<key path>" for a key, "<view>\<key path>:<value name>" = data for a value. In the
// data, each replacement's first text is replaced by its second (a library's folder by a
// placeholder, say).
using RegistrySnapshot = std::map<std::wstring, std::wstring>;
using Replacements = std::vector<std::pair<std::wstring, std::wstring>>;
RegistrySnapshot Snapshot(const std::vector<ClassesView>& views,
                          const Replacements& replacements = {});

// The keys of one snapshot missing from or different in another, one a line, for a message.
std::string Difference(const RegistrySnapshot& expected, const RegistrySnapshot& actual);

// Whether a key under the view's classes exists, and a value under it.
bool HasKey(const ClassesView& view, const std::wstring& key);
std::wstring ValueOf(const ClassesView& view, const std::wstring& key,
                     const wchar_t* name = nullptr);

std::string Narrow(const std::wstring& text);

}  // namespace velmora::testing
