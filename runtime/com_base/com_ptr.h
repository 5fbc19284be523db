#pragma once

#include "runtime/com_base/com_headers.h"

#include <utility>

namespace velmora::com {

// Holds one reference to an interface for as long as it lives.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(T* pointer) : pointer_(pointer) {  // NOLINT: an interface pointer converts freely
    if (pointer_) pointer_->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.pointer_) {}
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Takes over a reference the caller already owns (a fresh object, an out parameter).
  static ComPtr Adopt(T* pointer) {
    ComPtr adopted;
    adopted.pointer_ = pointer;
    return adopted;
  }

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  void Reset() {
    if (T* old = std::exchange(pointer_, nullptr)) old->Release();
  }
  // For an out parameter: drops what is held and lets the callee fill in a new reference.
  T** Put() {
    Reset();
    return &pointer_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  // Hands the reference to the caller, as an out parameter of a COM method does.
  T* Detach() { return std::exchange(pointer_, nullptr); }

  template <class U>
  ComPtr<U> As() const {
    ComPtr<U> result;
    if (pointer_) pointer_->QueryInterface(__uuidof(U), result.PutVoid());
    return result;
  }

 private:
  T* pointer_ = nullptr;
};

// Fills an out parameter with a new reference, or null.
template <class T>
HRESULT HandOut(const ComPtr<T>& value, T** out) {
  if (!out) return E_POINTER;
  *out = ComPtr<T>(value).Detach();
  return *out ? S_OK : E_FAIL;
}

}  // namespace velmora::com
