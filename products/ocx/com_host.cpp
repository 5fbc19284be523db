#include "products/ocx/com_host.h"

#include <string>
#include <vector>

#include "board/failure.h"

namespace velmora::ocx {
namespace {

VARIANTARG ByReference(const EventArg& arg) {
  VARIANTARG variant;
  VariantInit(&variant);
  if (const auto* integer = std::get_if<std::int16_t*>(&arg)) {
    V_VT(&variant) = VT_BYREF | VT_I2;
    V_I2REF(&variant) = *integer;
  } else {
    V_VT(&variant) = VT_BYREF | VT_R4;
    V_R4REF(&variant) = std::get<float*>(arg);
  }
  return variant;
}

}  // namespace

ComHost::ComHost(const com::ConnectionPoint& events, const com::ConnectionPoint& notices,
                 ITypeInfo& members, std::function<void()> changed)
    : events_(events), notices_(notices), members_(members), changed_(std::move(changed)) {}

void ComHost::RaiseEvent(EventId id, std::span<const EventArg> args) {
  // Dispatch arguments are listed last to first.
  std::vector<VARIANTARG> variants;
  for (auto arg = args.rbegin(); arg != args.rend(); ++arg) variants.push_back(ByReference(*arg));
  DISPPARAMS params{variants.data(), nullptr, static_cast<UINT>(variants.size()), 0};
  events_.ForEachSink([&](IUnknown& sink) {
    static_cast<IDispatch&>(sink).Invoke(static_cast<DISPID>(id), IID_NULL, LOCALE_USER_DEFAULT,
                                         DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  });
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
