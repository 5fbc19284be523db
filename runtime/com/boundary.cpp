#include "runtime/com/boundary.h"

#include "runtime/com_base/com_headers.h"

namespace velmora::com {
namespace {

// Leaves a reason where a late-bound caller fetches it (GetErrorInfo).
void SetErrorDescription(const std::wstring& description, const wchar_t* source) {
  ComPtr<ICreateErrorInfo> info;
  if (FAILED(CreateErrorInfo(info.Put()))) return;
  if (source) info->SetSource(const_cast<wchar_t*>(source));
  info->SetDescription(const_cast<wchar_t*>(description.c_str()));
  if (const auto error = info.As<IErrorInfo>()) SetErrorInfo(0, error.get());
}

}  // namespace

HRESULT RefusalResult(std::u16string_view reason, const wchar_t* source) {
  SetErrorDescription(std::wstring(reason.begin(), reason.end()), source);
  return E_INVALIDARG;
}

HRESULT FailureResult(const Failure& failure, const wchar_t* source) {
  const std::string& reason = failure.what();
  SetErrorDescription(std::wstring(reason.begin(), reason.end()), source);
  const auto code = static_cast<std::uint32_t>(failure.code());
  if (code == 0 || code > 0xFFFF) return E_FAIL;
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, code);
}

std::u16string FromBstr(BSTR text) {
  if (!text) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

BSTR ToBstr(std::u16string_view text) {
  BSTR result = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                  static_cast<UINT>(text.size()));
  if (!result) throw std::bad_alloc();
  return result;
}

}  // namespace velmora::com
