#pragma once

#include "runtime/com_base/com_headers.h"

#include <new>
#include <string>
#include <string_view>
#include <type_traits>

#include "board/failure.h"
#include "runtime/com_base/com_ptr.h"

namespace velmora::com {

// The status a host sees for a failure of the core: the automation error of its code, with
// the reason left in the thread's error information for the host to read, from `source` (a
// library's name) when there is one.
HRESULT FailureResult(const Failure& failure, const wchar_t* source);

// The status a host sees for a value a member would not take: E_INVALIDARG, with the reason
// left in the thread's error information, from `source` when there is one.
HRESULT RefusalResult(std::u16string_view reason, const wchar_t* source);

// Runs the body of a COM method: holds a reference to the object for the whole call and turns
// every exception into a status, so none ever reaches the caller. A body returns nothing (it
// succeeded) or its own status; a failure it throws is reported from `error_source`.
template <class Object, class Body>
HRESULT Call(Object* self, Body&& body, const wchar_t* error_source = nullptr) noexcept {
  const ComPtr<Object> keep_alive(self);
  try {
    if constexpr (std::is_void_v<std::invoke_result_t<Body>>) {
      body();
      return S_OK;
    } else {
      return body();
    }
  } catch (const Failure& failure) {
    return FailureResult(failure, error_source);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// UTF-16 on both sides; a null string is the empty text.
std::u16string FromBstr(BSTR text);
// Throws std::bad_alloc when the string cannot be made.
BSTR ToBstr(std::u16string_view text);

}  // namespace velmora::com
