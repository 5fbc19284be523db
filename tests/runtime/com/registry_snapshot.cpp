#include "registry_snapshot.h"

#include <initializer_list>

#include "Project1.h"
#include "runtime/com/registration.h"

namespace velmora::testing {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes\\";

// The keys the registration owns: everything under them is recorded.
std::vector<std::wstring> OwnedKeys() {
  return {L"CLSID\\" + com::GuidText(__uuidof(::UserControl1)), L"Project1.UserControl1",
          L"TypeLib\\" + com::GuidText(LIBID_Project1),
          L"Interface\\" + com::GuidText(__uuidof(_UserControl1)),
          L"Interface\\" + com::GuidText(__uuidof(__UserControl1))};
}

std::wstring Replaced(std::wstring text, const Replacements& replacements) {
  for (const auto& [from, to] : replacements) {
    for (auto at = text.find(from); at != std::wstring::npos;
         at = text.find(from, at + to.size())) {
      text.replace(at, from.size(), to);
    }
  }
  return text;
}

void Record(HKEY key, const std::wstring& path, const Replacements& replacements,
            RegistrySnapshot& out) {
  out[path] = L"";
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    BYTE data[2048];
    DWORD data_size = sizeof data;
    DWORD type = 0;
    if (RegEnumValueW(key, i, name, &name_size, nullptr, &type, data, &data_size) !=
        ERROR_SUCCESS) {
      break;
    }
    std::wstring text;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      text.assign(reinterpret_cast<const wchar_t*>(data), data_size / sizeof(wchar_t));
      while (!text.empty() && text.back() == L'\0') text.pop_back();
    } else if (type == REG_DWORD) {
      text = L"dword:" + std::to_wstring(*reinterpret_cast<const DWORD*>(data));
    } else {
      text = L"type " + std::to_wstring(type);
    }
    out[path + L":" + name] = Replaced(text, replacements);
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    if (RegEnumKeyExW(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    HKEY child = nullptr;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
      Record(child, path + L"\\" + name, replacements, out);
      RegCloseKey(child);
    }
  }
}

}  // namespace

RegistrySnapshot Snapshot(const std::vector<ClassesView>& views, const Replacements& replacements) {
  RegistrySnapshot snapshot;
  for (const ClassesView& view : views) {
    for (const std::wstring& owned : OwnedKeys()) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(view.hive, (kClasses + owned).c_str(), 0, KEY_READ | view.view, &key) !=
          ERROR_SUCCESS) {
        continue;
      }
      Record(key, std::wstring(view.name) + L"\\" + owned, replacements, snapshot);
      RegCloseKey(key);
    }
  }
  return snapshot;
}

std::string Difference(const RegistrySnapshot& expected, const RegistrySnapshot& actual) {
  std::string text;
  for (const auto& [key, value] : expected) {
    const auto found = actual.find(key);
    if (found == actual.end()) {
      text += "missing " + Narrow(key) + " = " + Narrow(value) + "\n";
    } else if (found->second != value) {
      text += "differs " + Narrow(key) + " = " + Narrow(found->second) + ", not " + Narrow(value) +
              "\n";
    }
  }
  for (const auto& [key, value] : actual) {
    if (!expected.count(key)) text += "extra " + Narrow(key) + " = " + Narrow(value) + "\n";
  }
  return text;
}

bool HasKey(const ClassesView& view, const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(view.hive, (kClasses + key).c_str(), 0, KEY_READ | view.view, &handle) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(handle);
  return true;
}

std::wstring ValueOf(const ClassesView& view, const std::wstring& key, const wchar_t* name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(view.hive, (kClasses + key).c_str(), 0, KEY_READ | view.view, &handle) !=
      ERROR_SUCCESS) {
    return L"<no key>";
  }
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  const LSTATUS status = RegGetValueW(handle, nullptr, name, RRF_RT_REG_SZ, nullptr, data, &size);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS ? std::wstring(data) : L"<no value>";
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow.push_back(c < 128 ? static_cast<char>(c) : '?');
  return narrow;
}

}  // namespace velmora::testing
