#pragma once

#include "runtime/com_base/com_headers.h"

#include <atomic>
#include <type_traits>

#include "runtime/com_base/com_ptr.h"

namespace velmora::com {

// A count of live objects or of locks, which decide whether the library may be unloaded. It
// never goes below zero: a removal with nothing counted is refused.
class ObjectCount {
 public:
  void Add() { ++count_; }
  bool Remove() {
    long now = count_.load();
    do {
      if (now == 0) return false;
    } while (!count_.compare_exchange_weak(now, now - 1));
    return true;
  }
  bool Zero() const { return count_ == 0; }

 private:
  std::atomic<long> count_{0};
};

// The interface an interface derives from, so that asking for a base finds the derived one.
// VELMORA_COM_BASE_OF names it for one interface, at namespace scope outside velmora.
template <class I>
struct BaseOf {
  using type = IUnknown;
};
#define VELMORA_COM_BASE_OF(Interface, Base) \
  template <>                                \
  struct velmora::com::BaseOf<Interface> {   \
    using type = Base;                       \
  };

}  // namespace velmora::com

VELMORA_COM_BASE_OF(IOleInPlaceObject, IOleWindow)
VELMORA_COM_BASE_OF(IOleInPlaceActiveObject, IOleWindow)
VELMORA_COM_BASE_OF(IViewObject2, IViewObject)
VELMORA_COM_BASE_OF(IProvideClassInfo2, IProvideClassInfo)
VELMORA_COM_BASE_OF(IPersistPropertyBag, IPersist)
VELMORA_COM_BASE_OF(IPersistStreamInit, IPersist)

namespace velmora::com {

template <class I>
bool IsOrDerivesFrom(REFIID iid) {
  if (iid == __uuidof(I)) return true;
  if constexpr (std::is_same_v<I, IUnknown>) {
    return false;
  } else {
    return IsOrDerivesFrom<typename BaseOf<I>::type>(iid);
  }
}

// QueryInterface over the listed interfaces; the first that is or derives from the requested
// one answers, with a reference taken through it. Dual interfaces name their dispatch base
// through BaseOf.
template <class... Interfaces>
class InterfaceList : public Interfaces... {
 public:
  InterfaceList(const InterfaceList&) = delete;
  InterfaceList& operator=(const InterfaceList&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = FindAmong<Interfaces...>(iid);
    if (!*out) return E_NOINTERFACE;
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
  }

 protected:
  InterfaceList() = default;

 private:
  template <class First, class... Rest>
  void* FindAmong(REFIID iid) {
    if (IsOrDerivesFrom<First>(iid)) return static_cast<First*>(this);
    if constexpr (sizeof...(Rest) > 0) {
      return FindAmong<Rest...>(iid);
    } else {
      return nullptr;
    }
  }
};

// IUnknown for a COM class, written once: a reference count that deletes the object at zero,
// and a live-object count for the library. Objects start with the one reference that
// MakeObject hands to their creator.
template <class... Interfaces>
class Implements : public InterfaceList<Interfaces...> {
 public:
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  explicit Implements(ObjectCount& objects) : objects_(objects) { objects_.Add(); }
  virtual ~Implements() { objects_.Remove(); }

  ObjectCount& objects() const { return objects_; }

 private:
  ObjectCount& objects_;
  std::atomic<ULONG> references_{1};
};

// IUnknown for a part of a larger object (one of its connection points): it answers for
// its own interfaces and keeps the whole object alive through the object's count.
template <class... Interfaces>
class PartOf : public InterfaceList<Interfaces...> {
 public:
  STDMETHODIMP_(ULONG) AddRef() override { return whole_.AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return whole_.Release(); }

 protected:
  explicit PartOf(IUnknown& whole) : whole_(whole) {}
  ~PartOf() = default;

  IUnknown& whole() const { return whole_; }

 private:
  IUnknown& whole_;
};

// Creates a COM object; the returned pointer owns its first reference.
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
  return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace velmora::com
