#include "host_objects.h"

#include <algorithm>
#include <cstring>

namespace velmora::hostile {
namespace {

BSTR Text(const wchar_t* text) {
  return SysAllocString(text);
}

}  // namespace

std::atomic<long>& LiveCounter() {
  static std::atomic<long> live{0};
  return live;
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP EventSink::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                               UINT*) {
  ++calls;
  if (inside) std::exchange(inside, nullptr)();
  return mood_ == SinkMood::kFails ? E_FAIL : S_OK;
}

STDMETHODIMP NoticeSink::OnChanged(DISPID) {
  if (inside) std::exchange(inside, nullptr)();
  return mood_ == SinkMood::kFails ? E_FAIL : S_OK;
}

STDMETHODIMP ValueObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP ValueObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                 EXCEPINFO*, UINT*) {
  if (!result) return E_POINTER;
  switch (mood_ % 3) {
    case 0:
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = Text(L"E2-E4");
      return S_OK;
    case 1:
      return E_FAIL;
    default:
      V_VT(result) = VT_DISPATCH;
      V_DISPATCH(result) = this;
      AddRef();
      return S_OK;
  }
}

STDMETHODIMP OddBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!value) return E_POINTER;
  seed_ = seed_ * 1103515245u + 12345u;
  const std::wstring key = name ? name : L"";
  const bool truth = key == L"Enabled";
  switch (mood_) {
    case BagMood::kFails:
      return E_FAIL;
    case BagMood::kEmptyOk:
      return S_OK;
    case BagMood::kGood:
      if (truth) {
        V_VT(value) = VT_BOOL;
        V_BOOL(value) = VARIANT_TRUE;
      } else {
        V_VT(value) = VT_BSTR;
        V_BSTR(value) = Text(key == L"PutPosition" ? L"" : L"E2-E4");
      }
      return S_OK;
    case BagMood::kWrongKinds:
      switch ((seed_ >> 16) % 5) {
        case 0:
          V_VT(value) = VT_I4;
          V_I4(value) = -7;
          return S_OK;
        case 1:
          V_VT(value) = VT_ARRAY | VT_I4;
          V_ARRAY(value) = SafeArrayCreateVector(VT_I4, 0, 3);
          return S_OK;
        case 2:
          V_VT(value) = VT_DISPATCH;
          V_DISPATCH(value) = new ValueObject(static_cast<int>(seed_ >> 8));
          return S_OK;
        case 3:
          V_VT(value) = VT_R8;
          V_R8(value) = 1e300;
          return S_OK;
        default:
          V_VT(value) = VT_ERROR;
          V_ERROR(value) = E_FAIL;
          return S_OK;
      }
    case BagMood::kFillsThenFails:
    case BagMood::kFillsThenMissing:
      V_VT(value) = VT_DISPATCH;
      V_DISPATCH(value) = new ValueObject(0);
      return mood_ == BagMood::kFillsThenFails ? E_FAIL : E_INVALIDARG;
  }
  return E_FAIL;
}

STDMETHODIMP OddBag::Write(LPCOLESTR, VARIANT* value) {
  if (!value) return E_POINTER;
  return mood_ == BagMood::kGood || mood_ == BagMood::kEmptyOk ? S_OK : E_FAIL;
}

STDMETHODIMP OddStream::Read(void* data, ULONG size, ULONG* read) {
  if (!data) return STG_E_INVALIDPOINTER;
  std::size_t give =
      std::min<std::size_t>(size, bytes_.size() - std::min(position_, bytes_.size()));
  if (mood_ == StreamMood::kShortReads) give = std::min<std::size_t>(give, 3);
  if (mood_ == StreamMood::kFailsPart && position_ + give > fail_at_) {
    if (read) *read = 0;
    return STG_E_READFAULT;
  }
  std::memcpy(data, bytes_.data() + position_, give);
  position_ += give;
  if (read) *read = static_cast<ULONG>(give);
  return give == size ? S_OK : S_FALSE;
}

STDMETHODIMP OddStream::Write(const void* data, ULONG size, ULONG* written) {
  if (!data) return STG_E_INVALIDPOINTER;
  if (mood_ == StreamMood::kFailsPart && position_ + size > fail_at_) return STG_E_MEDIUMFULL;
  if (bytes_.size() < position_ + size) bytes_.resize(position_ + size);
  std::memcpy(bytes_.data() + position_, data, size);
  position_ += size;
  if (written) *written = size;
  return S_OK;
}

STDMETHODIMP OddStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  if (mood_ == StreamMood::kNoSize && origin != STREAM_SEEK_CUR) return STG_E_INVALIDFUNCTION;
  const long long base = origin == STREAM_SEEK_SET   ? 0
                         : origin == STREAM_SEEK_CUR ? static_cast<long long>(position_)
                                                     : static_cast<long long>(bytes_.size());
  const long long target = base + move.QuadPart;
  if (target < 0) return STG_E_INVALIDFUNCTION;
  position_ = static_cast<std::size_t>(target);
  if (position) position->QuadPart = position_;
  return S_OK;
}

STDMETHODIMP OddStream::Stat(STATSTG* about, DWORD) {
  if (!about) return STG_E_INVALIDPOINTER;
  if (mood_ == StreamMood::kNoSize) return E_NOTIMPL;
  *about = {};
  about->type = STGTY_STREAM;
  about->cbSize.QuadPart = bytes_.size();
  return S_OK;
}

}  // namespace velmora::hostile
