#include "runtime/com/registration.h"

#include "runtime/com/com_headers.h"

#include "runtime/com/com_ptr.h"

namespace velmora::com {
namespace {

std::wstring ClassKey(const ProjectDescriptor& project) {
  return L"CLSID\\" + GuidText(project.class_id);
}

// Creates the key under HKEY_CLASSES_ROOT and sets one value (the key's own when name is null).
LSTATUS SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                   nullptr, &handle, nullptr);
  if (status != ERROR_SUCCESS) return status;
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  status =
      RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  RegCloseKey(handle);
  return status;
}

LSTATUS DeleteTree(const std::wstring& key) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  return status;
}

HRESULT WriteClassEntries(const ProjectDescriptor& project, const std::wstring& module_path) {
  const std::wstring key = ClassKey(project);
  const std::wstring version =
      std::to_wstring(project.major_version) + L"." + std::to_wstring(project.minor_version);
  const std::wstring misc_status = std::to_wstring(project.misc_status);
  const struct {
    std::wstring key;
    const wchar_t* name;
    std::wstring value;
  } entries[] = {
      {key, nullptr, project.prog_id},
      {key + L"\\ProgID", nullptr, project.prog_id},
      {key + L"\\InprocServer32", nullptr, module_path},
      {key + L"\\InprocServer32", L"ThreadingModel", project.threading_model},
      {key + L"\\Control", nullptr, L""},
      {key + L"\\ToolboxBitmap32", nullptr,
       module_path + L", " + std::to_wstring(project.toolbox_bitmap)},
      {key + L"\\MiscStatus", nullptr, misc_status},
      {key + L"\\MiscStatus\\1", nullptr, misc_status},
      {key + L"\\TypeLib", nullptr, GuidText(project.library_id)},
      {key + L"\\Version", nullptr, version},
      {project.prog_id, nullptr, project.prog_id},
      {std::wstring(project.prog_id) + L"\\CLSID", nullptr, GuidText(project.class_id)},
  };
  for (const auto& entry : entries) {
    const LSTATUS status = SetValue(entry.key, entry.name, entry.value);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  }
  return S_OK;
}

bool KeyExists(const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(handle);
  return true;
}

// The type library is registered under its own version, locale and target, so they are read
// from it. One that was never registered, or is gone already, leaves nothing to undo.
HRESULT UnregisterTypeLibrary(const std::wstring& module_path) {
  ComPtr<ITypeLib> library;
  HRESULT result = LoadTypeLibEx(module_path.c_str(), REGKIND_NONE, library.Put());
  if (FAILED(result)) return result;
  TLIBATTR* attributes = nullptr;
  result = library->GetLibAttr(&attributes);
  if (FAILED(result)) return result;
  const TLIBATTR copy = *attributes;
  library->ReleaseTLibAttr(attributes);
  const std::wstring version_key = L"TypeLib\\" + GuidText(copy.guid) + L"\\" +
                                   std::to_wstring(copy.wMajorVerNum) + L"." +
                                   std::to_wstring(copy.wMinorVerNum);
  if (!KeyExists(version_key)) return S_OK;
  return UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid,
                           copy.syskind);
}

}  // namespace

std::wstring GuidText(REFGUID guid) {
  wchar_t text[39] = {};
  StringFromGUID2(guid, text, 39);
  return text;
}

HRESULT RegisterProject(const ProjectDescriptor& project, const std::wstring& module_path) {
  ComPtr<ITypeLib> library;
  HRESULT result = LoadTypeLibEx(module_path.c_str(), REGKIND_NONE, library.Put());
  if (FAILED(result)) return result;
  std::wstring path = module_path;
  result = RegisterTypeLib(library.get(), path.data(), nullptr);
  if (FAILED(result)) return result;
  result = WriteClassEntries(project, module_path);
  if (FAILED(result)) UnregisterProject(project, module_path);
  return result;
}

HRESULT UnregisterProject(const ProjectDescriptor& project, const std::wstring& module_path) {
  LSTATUS status = DeleteTree(ClassKey(project));
  if (status == ERROR_SUCCESS) status = DeleteTree(project.prog_id);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  return UnregisterTypeLibrary(module_path);
}

}  // namespace velmora::com
