#include "runtime/com/registration.h"

#include "runtime/com_base/com_headers.h"

#include <vector>

#include "runtime/com_base/com_ptr.h"

namespace velmora::com {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes\\";
// The system's marshallers: from the type library (dual and automation interfaces) and plain
// IDispatch (dispatch-only interfaces).
constexpr wchar_t kTypeLibraryProxy[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t kDispatchProxy[] = L"{00020420-0000-0000-C000-000000000046}";

// The registry view of the other bitness: a 64-bit library's twin is the 32-bit one.
constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
constexpr REGSAM kOwnView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

// A number as registry data. The system's formatter: the C library's wide one would bring a
// whole printf into the library for a few integers.
std::wstring Decimal(unsigned long number) {
  wchar_t text[16] = {};
  wsprintfW(text, L"%lu", number);
  return text;
}

HKEY Hive(Scope scope) {
  return scope == Scope::kUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::wstring ClassKey(const ClassDescriptor& row) {
  return L"CLSID\\" + GuidText(row.class_id);
}

// Creates the key under the scope's classes and sets one value (the key's own when name is
// null).
LSTATUS SetValue(Scope scope, const std::wstring& key, const wchar_t* name,
                 const std::wstring& value) {
  HKEY handle = nullptr;
  LSTATUS status = RegCreateKeyExW(Hive(scope), (kClasses + key).c_str(), 0, nullptr, 0,
                                   KEY_SET_VALUE, nullptr, &handle, nullptr);
  if (status != ERROR_SUCCESS) return status;
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  status =
      RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  RegCloseKey(handle);
  return status;
}

// Deletes a key of the scope's classes with everything under it, in the given registry view.
LSTATUS DeleteTree(Scope scope, const std::wstring& key, REGSAM view = 0) {
  HKEY classes = nullptr;
  LSTATUS status =
      RegOpenKeyExW(Hive(scope), kClasses, 0, KEY_READ | KEY_WRITE | DELETE | view, &classes);
  if (status == ERROR_SUCCESS) {
    status = RegDeleteTreeW(classes, key.c_str());
    RegCloseKey(classes);
  }
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  return status;
}

bool KeyExists(Scope scope, const std::wstring& key, REGSAM view = 0) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(Hive(scope), (kClasses + key).c_str(), 0, KEY_READ | view, &handle) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(handle);
  return true;
}

// A value to set: its key under the scope's classes, its name (null for the key's own) and text.
struct Entry {
  std::wstring key;
  const wchar_t* name;
  std::wstring value;
};

HRESULT WriteEntries(Scope scope, const std::vector<Entry>& entries) {
  for (const Entry& entry : entries) {
    const LSTATUS status = SetValue(scope, entry.key, entry.name, entry.value);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  }
  return S_OK;
}

HRESULT WriteClassEntries(const LibraryDescriptor& library, const ClassDescriptor& row,
                          const std::wstring& module_path, Scope scope) {
  const std::wstring key = ClassKey(row);
  const std::wstring version =
      Decimal(library.major_version) + L"." + Decimal(library.minor_version);
  const std::wstring misc_status = Decimal(row.misc_status);
  std::vector<Entry> entries = {
      {key, nullptr, row.prog_id},
      {key + L"\\ProgID", nullptr, row.prog_id},
      {key + L"\\InprocServer32", nullptr, module_path},
      {key + L"\\InprocServer32", L"ThreadingModel", row.threading_model},
      {key + L"\\Control", nullptr, L""},
      {key + L"\\ToolboxBitmap32", nullptr, module_path + L", " + Decimal(row.toolbox_bitmap)},
      {key + L"\\MiscStatus", nullptr, misc_status},
      {key + L"\\MiscStatus\\1", nullptr, misc_status},
      {key + L"\\TypeLib", nullptr, GuidText(library.library_id)},
      {key + L"\\Version", nullptr, version},
      {row.prog_id, nullptr, row.prog_id},
      {std::wstring(row.prog_id) + L"\\CLSID", nullptr, GuidText(row.class_id)},
  };
  if (const wchar_t* independent = row.version_independent_prog_id) {
    const std::wstring independent_key = independent;
    entries.insert(entries.end(), {{key + L"\\VersionIndependentProgID", nullptr, independent_key},
                                   {independent_key, nullptr, row.prog_id},
                                   {independent_key + L"\\CLSID", nullptr, GuidText(row.class_id)},
                                   {independent_key + L"\\CurVer", nullptr, row.prog_id}});
  }
  return WriteEntries(scope, entries);
}

std::wstring VersionKey(const TLIBATTR& attributes) {
  return L"TypeLib\\" + GuidText(attributes.guid) + L"\\" + Decimal(attributes.wMajorVerNum) +
         L"." + Decimal(attributes.wMinorVerNum);
}

// The type library's own version, locale and target, read from the module.
HRESULT TypeLibraryAttributes(const std::wstring& module_path, TLIBATTR& out) {
  ComPtr<ITypeLib> library;
  HRESULT result = LoadTypeLibEx(module_path.c_str(), REGKIND_NONE, library.Put());
  if (FAILED(result)) return result;
  TLIBATTR* attributes = nullptr;
  result = library->GetLibAttr(&attributes);
  if (FAILED(result)) return result;
  out = *attributes;
  library->ReleaseTLibAttr(attributes);
  return S_OK;
}

// This bitness's entry of the shared type-library key: "<locale>\win32" or "<locale>\win64".
std::wstring TargetKey(const TLIBATTR& attributes) {
  wchar_t locale[16] = {};
  wsprintfW(locale, L"%x", attributes.lcid);
  return VersionKey(attributes) + L"\\" + locale +
         (attributes.syskind == SYS_WIN64 ? L"\\win64" : L"\\win32");
}

std::wstring Documentation(ITypeLib* library, INT index) {
  BSTR name = nullptr;
  if (FAILED(library->GetDocumentation(index, &name, nullptr, nullptr, nullptr))) return L"";
  std::wstring text(name, SysStringLen(name));
  SysFreeString(name);
  return text;
}

// The per-user registration of the type library: the keys the machine-wide registration writes
// (version, flags, help folder, this bitness's file, and each automation interface marshalled
// from the library) under the user's classes. Written here because some systems' per-user
// call registers for the whole machine instead.
HRESULT WriteUserTypeLibrary(ITypeLib* library, const std::wstring& module_path) {
  TLIBATTR attributes{};
  TLIBATTR* read = nullptr;
  HRESULT result = library->GetLibAttr(&read);
  if (FAILED(result)) return result;
  attributes = *read;
  library->ReleaseTLibAttr(read);
  const std::wstring version = VersionKey(attributes);
  const std::wstring version_number =
      Decimal(attributes.wMajorVerNum) + L"." + Decimal(attributes.wMinorVerNum);
  std::vector<Entry> entries = {
      {version, nullptr, Documentation(library, -1)},
      {version + L"\\FLAGS", nullptr, Decimal(attributes.wLibFlags)},
      {version + L"\\HELPDIR", nullptr, L""},
      {TargetKey(attributes), nullptr, module_path},
  };
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    ComPtr<ITypeInfo> info;
    TYPEATTR* type = nullptr;
    if (FAILED(library->GetTypeInfo(i, info.Put())) || FAILED(info->GetTypeAttr(&type))) continue;
    const bool dispatch = type->typekind == TKIND_DISPATCH;
    const bool automation =
        type->typekind == TKIND_INTERFACE && (type->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    const bool from_library = automation || (type->wTypeFlags & TYPEFLAG_FDUAL);
    const std::wstring key = L"Interface\\" + GuidText(type->guid);
    info->ReleaseTypeAttr(type);
    if (!dispatch && !automation) continue;
    const wchar_t* proxy = from_library ? kTypeLibraryProxy : kDispatchProxy;
    entries.push_back({key, nullptr, Documentation(library, static_cast<INT>(i))});
    entries.push_back({key + L"\\ProxyStubClsid", nullptr, proxy});
    entries.push_back({key + L"\\ProxyStubClsid32", nullptr, proxy});
    entries.push_back({key + L"\\TypeLib", nullptr, GuidText(attributes.guid)});
    entries.push_back({key + L"\\TypeLib", L"Version", version_number});
  }
  return WriteEntries(Scope::kUser, entries);
}

HRESULT RegisterTypeLibrary(const std::wstring& module_path, Scope scope) {
  ComPtr<ITypeLib> library;
  const HRESULT result = LoadTypeLibEx(module_path.c_str(), REGKIND_NONE, library.Put());
  if (FAILED(result)) return result;
  if (scope == Scope::kUser) return WriteUserTypeLibrary(library.get(), module_path);
  std::wstring path = module_path;
  // No help file: an empty help folder, the same for both bitnesses sharing the key.
  wchar_t no_help[] = L"";
  return RegisterTypeLib(library.get(), path.data(), no_help);
}

// Removes everything of the type library: its registration, then whatever either bitness's
// interface keys of its classes and the version key still hold.
HRESULT RemoveTypeLibrary(const LibraryDescriptor& library, const TLIBATTR& attributes,
                          Scope scope) {
  if (scope == Scope::kMachine && KeyExists(scope, TargetKey(attributes))) {
    const HRESULT result =
        UnRegisterTypeLib(attributes.guid, attributes.wMajorVerNum, attributes.wMinorVerNum,
                          attributes.lcid, attributes.syskind);
    if (FAILED(result)) return result;
  }
  LSTATUS status = DeleteTree(scope, L"TypeLib\\" + GuidText(attributes.guid));
  for (const ClassDescriptor& row : library.classes) {
    for (const IID& iid : {row.default_interface, row.source_interface}) {
      for (const REGSAM view : {kOwnView, kOtherView}) {
        if (status == ERROR_SUCCESS) {
          status = DeleteTree(scope, L"Interface\\" + GuidText(iid), view);
        }
      }
    }
  }
  return HRESULT_FROM_WIN32(status);
}

// Whether the other bitness's library registers the class in the same scope.
bool OtherViewRegisters(const ClassDescriptor& row, Scope scope) {
  return KeyExists(scope, ClassKey(row) + L"\\InprocServer32", kOtherView);
}

// A class's ProgID keys: its own and the version-independent one.
HRESULT RemoveProgIds(const ClassDescriptor& row, Scope scope) {
  LSTATUS status = DeleteTree(scope, row.prog_id);
  if (status == ERROR_SUCCESS && row.version_independent_prog_id) {
    status = DeleteTree(scope, row.version_independent_prog_id);
  }
  return HRESULT_FROM_WIN32(status);
}

}  // namespace

std::optional<Scope> ScopeFromText(const wchar_t* text) {
  if (!text || !*text || lstrcmpiW(text, L"machine") == 0) return Scope::kMachine;
  if (lstrcmpiW(text, L"user") == 0) return Scope::kUser;
  return std::nullopt;
}

std::wstring GuidText(REFGUID guid) {
  wchar_t text[39] = {};
  StringFromGUID2(guid, text, 39);
  return text;
}

HRESULT RegisterLibrary(const LibraryDescriptor& library, const std::wstring& module_path,
                        Scope scope) {
  HRESULT result = RegisterTypeLibrary(module_path, scope);
  for (const ClassDescriptor& row : library.classes) {
    if (SUCCEEDED(result)) result = WriteClassEntries(library, row, module_path, scope);
  }
  if (FAILED(result)) UnregisterLibrary(library, module_path, scope);
  return result;
}

HRESULT UnregisterLibrary(const LibraryDescriptor& library, const std::wstring& module_path,
                          Scope scope) {
  for (const ClassDescriptor& row : library.classes) {
    const LSTATUS status = DeleteTree(scope, ClassKey(row));
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  }
  TLIBATTR attributes{};
  const HRESULT result = TypeLibraryAttributes(module_path, attributes);
  if (FAILED(result)) return result;
  bool shared_still_needed = false;
  for (const ClassDescriptor& row : library.classes) {
    if (OtherViewRegisters(row, scope)) {
      shared_still_needed = true;
    } else if (const HRESULT removed = RemoveProgIds(row, scope); FAILED(removed)) {
      return removed;
    }
  }
  // While the other bitness registers a class of the library, only this bitness's entry goes.
  if (shared_still_needed) return HRESULT_FROM_WIN32(DeleteTree(scope, TargetKey(attributes)));
  return RemoveTypeLibrary(library, attributes, scope);
}

}  // namespace velmora::com
