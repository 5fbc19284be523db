#include "runtime/com/library.h"

#include <algorithm>

#include "runtime/com/class_factory.h"
#include "runtime/com/registration.h"

namespace velmora::com {

BOOL Library::Notify(HINSTANCE module, DWORD reason) {
  if (reason == DLL_PROCESS_ATTACH) {
    module_ = module;
    DisableThreadLibraryCalls(module);
  }
  return TRUE;
}

HRESULT Library::CanUnloadNow() const {
  return objects_.Zero() && locks_.Zero() ? S_OK : S_FALSE;
}

HRESULT Library::GetClassObject(REFCLSID class_id, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  const auto& classes = descriptor_.classes;
  const auto which = std::find_if(classes.begin(), classes.end(), [&](const ClassDescriptor& row) {
    return row.class_id == class_id;
  });
  if (which == classes.end()) return CLASS_E_CLASSNOTAVAILABLE;
  try {
    const auto factory = MakeObject<ClassFactory>(*this, *which);
    return factory->QueryInterface(iid, out);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT Library::Register() const {
  return Install(true, nullptr);
}

HRESULT Library::Unregister() const {
  return Install(false, nullptr);
}

HRESULT Library::Install(bool install, const wchar_t* scope_text) const {
  try {
    const auto scope = ScopeFromText(scope_text);
    if (!scope) return E_INVALIDARG;
    return install ? RegisterLibrary(descriptor_, ModulePath(), *scope)
                   : UnregisterLibrary(descriptor_, ModulePath(), *scope);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

std::wstring Library::ModulePath() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module_, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace velmora::com
