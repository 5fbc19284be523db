#include "products/ocx/com_host.h"

#include <string>
#include <vector>

#include "board/failure.h"

namespace velmora::ocx {
namespace {

// One event's arguments as a sink receives them, listed last to first. A text goes by value as
// a string of its own; a truth value by reference to a VARIANT_BOOL that is copied back once the
// sinks have run. Numbers go by reference to the control's own storage.
class DispatchArguments {
 public:
  explicit DispatchArguments(std::span<const EventArg> args)
      : args_(args), truths_(args.size(), VARIANT_FALSE) {
    for (std::size_t k = args.size(); k-- > 0;) variants_.push_back(Marshal(k));
  }
  ~DispatchArguments() {
    for (VARIANTARG& variant : variants_) VariantClear(&variant);
  }
  DispatchArguments(const DispatchArguments&) = delete;
  DispatchArguments& operator=(const DispatchArguments&) = delete;

  DISPPARAMS Params() {
    return {variants_.data(), nullptr, static_cast<UINT>(variants_.size()), 0};
  }

  // What the sinks left in the truth values goes back to the control.
  void CopyBack() const {
    for (std::size_t k = 0; k < args_.size(); ++k) {
      if (bool* const* truth = std::get_if<bool*>(&args_[k])) **truth = truths_[k] != VARIANT_FALSE;
    }
  }

 private:
  VARIANTARG Marshal(std::size_t k) {
    const EventArg& arg = args_[k];
    VARIANTARG variant;
    VariantInit(&variant);
    if (const auto* integer = std::get_if<std::int16_t*>(&arg)) {
      V_VT(&variant) = VT_BYREF | VT_I2;
      V_I2REF(&variant) = *integer;
    } else if (const auto* real = std::get_if<float*>(&arg)) {
      V_VT(&variant) = VT_BYREF | VT_R4;
      V_R4REF(&variant) = *real;
    } else if (const auto* truth = std::get_if<bool*>(&arg)) {
      truths_[k] = **truth ? VARIANT_TRUE : VARIANT_FALSE;
      V_VT(&variant) = VT_BYREF | VT_BOOL;
      V_BOOLREF(&variant) = &truths_[k];
    } else {
      const std::u16string& text = *std::get<const std::u16string*>(arg);
      const std::wstring wide(text.begin(), text.end());
      V_VT(&variant) = VT_BSTR;
      V_BSTR(&variant) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    }
    return variant;
  }

  std::span<const EventArg> args_;
  std::vector<VARIANT_BOOL> truths_;  // sized once: the variants point into it
  std::vector<VARIANTARG> variants_;
};

}  // namespace

ComHost::ComHost(const com::ConnectionPoint& events, const com::ConnectionPoint& notices,
                 ITypeInfo& members, std::function<void()> changed)
    : events_(events), notices_(notices), members_(members), changed_(std::move(changed)) {}

void ComHost::RaiseEvent(EventId id, std::span<const EventArg> args) {
  DispatchArguments arguments(args);
  DISPPARAMS params = arguments.Params();
  events_.ForEachSink([&](IUnknown& sink) {
    static_cast<IDispatch&>(sink).Invoke(static_cast<DISPID>(id), IID_NULL, LOCALE_USER_DEFAULT,
                                         DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  });
  arguments.CopyBack();
}

void ComHost::PropertyChanged(std::u16string_view property) {
  changed_();
  std::wstring name(property.begin(), property.end());
  LPOLESTR names[] = {name.data()};
  MEMBERID member = DISPID_UNKNOWN;
  if (FAILED(members_.GetIDsOfNames(names, 1, &member))) {
    throw Failure(Failure::kPlatform, "No such property");
  }
  notices_.ForEachSink(
      [member](IUnknown& sink) { static_cast<IPropertyNotifySink&>(sink).OnChanged(member); });
}

}  // namespace velmora::ocx
