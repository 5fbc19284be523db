#pragma once

#include <ocidl.h>
#include <oleauto.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace velmora::hostile {

// How many of the driver's own objects are alive: the control must let go of every one it
// was handed, so this is zero whenever the driver holds none.
std::atomic<long>& LiveCounter();

// An owning interface pointer, written here so that the driver shares no code with the library.
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(T* p) : p_(p) {  // NOLINT: takes a new reference, as the COM rules ask of a copy
    if (p_) p_->AddRef();
  }
  Ref(const Ref& other) : Ref(other.p_) {}
  Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  Ref& operator=(Ref other) {
    std::swap(p_, other.p_);
    return *this;
  }
  ~Ref() { Reset(); }
  static Ref Adopt(T* p) {
    Ref r;
    r.p_ = p;
    return r;
  }
  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  template <class U>
  Ref<U> As(REFIID iid) const {
    Ref<U> other;
    if (p_) p_->QueryInterface(iid, other.PutVoid());
    return other;
  }

 private:
  T* p_ = nullptr;
};

// IUnknown for the driver's objects: counted, and answering for `Interface` and what it
// derives from as listed in `Answers`.
template <class Interface>
class Counted : public Interface {
 public:
  Counted() { ++LiveCounter(); }
  virtual ~Counted() { --LiveCounter(); }
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = Answers(iid) ? static_cast<Interface*>(this) : nullptr;
    if (!*out) return E_NOINTERFACE;
    this->AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual bool Answers(REFIID iid) const { return iid == IID_IUnknown; }

 private:
  std::atomic<ULONG> references_{1};
};

// How a sink behaves when the control calls it.
enum class SinkMood { kPolite, kFails, kLeavesInside, kDropsTheControl };

// An event sink for the control's outgoing interface, or its property-changed notices.
class EventSink : public Counted<IDispatch> {
 public:
  EventSink(REFIID events, SinkMood mood) : events_(events), mood_(mood) {}
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override;

  // Run once inside the first event: the sink's way to disconnect itself or drop the control.
  std::function<void()> inside;
  long calls = 0;

 protected:
  bool Answers(REFIID iid) const override {
    return iid == IID_IUnknown || iid == IID_IDispatch || iid == events_;
  }

 private:
  IID events_;
  SinkMood mood_;
};

class NoticeSink : public Counted<IPropertyNotifySink> {
 public:
  explicit NoticeSink(SinkMood mood) : mood_(mood) {}
  STDMETHODIMP OnChanged(DISPID) override;
  STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }
  std::function<void()> inside;

 protected:
  bool Answers(REFIID iid) const override {
    return iid == IID_IUnknown || iid == IID_IPropertyNotifySink;
  }

 private:
  SinkMood mood_;
};

// An object passed where a value is expected: its default member answers with a text, fails,
// or answers with itself.
class ValueObject : public Counted<IDispatch> {
 public:
  explicit ValueObject(int mood) : mood_(mood) {}
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override;

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IUnknown || iid == IID_IDispatch; }

 private:
  int mood_;
};

// A property bag that breaks its contract in one chosen way.
enum class BagMood { kFails, kWrongKinds, kFillsThenFails, kFillsThenMissing, kEmptyOk, kGood };
class OddBag : public Counted<IPropertyBag> {
 public:
  OddBag(BagMood mood, std::uint32_t seed) : mood_(mood), seed_(seed) {}
  STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override;
  STDMETHODIMP Write(LPCOLESTR, VARIANT* value) override;

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IUnknown || iid == IID_IPropertyBag; }

 private:
  BagMood mood_;
  std::uint32_t seed_;
};

// A stream over bytes in memory that can refuse to tell its size, fail a read after some
// bytes, or hand out fewer bytes than asked.
enum class StreamMood { kPlain, kNoSize, kFailsPart, kShortReads };
class OddStream : public Counted<IStream> {
 public:
  OddStream(std::string bytes, StreamMood mood, std::size_t fail_at)
      : bytes_(std::move(bytes)), mood_(mood), fail_at_(fail_at) {}
  STDMETHODIMP Read(void* data, ULONG size, ULONG* read) override;
  STDMETHODIMP Write(const void* data, ULONG size, ULONG* written) override;
  STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
  STDMETHODIMP SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
  STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP Commit(DWORD) override { return S_OK; }
  STDMETHODIMP Revert() override { return E_NOTIMPL; }
  STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Stat(STATSTG* about, DWORD) override;
  STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

  const std::string& bytes() const { return bytes_; }

 protected:
  bool Answers(REFIID iid) const override {
    return iid == IID_IUnknown || iid == IID_IStream || iid == IID_ISequentialStream;
  }

 private:
  std::string bytes_;
  StreamMood mood_;
  std::size_t fail_at_;
  std::size_t position_ = 0;
};

// A client site that is nothing more: no in-place site behind it.
class BareSite : public Counted<IOleClientSite> {
 public:
  STDMETHODIMP SaveObject() override { return E_FAIL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** out) override {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

 protected:
  bool Answers(REFIID iid) const override {
    return iid == IID_IUnknown || iid == IID_IOleClientSite;
  }
};

template <class T, class... Args>
Ref<T> Make(Args&&... args) {
  return Ref<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace velmora::hostile
