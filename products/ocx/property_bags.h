#pragma once

#include "runtime/com_base/com_headers.h"

#include <string>
#include <utility>
#include <vector>

#include "control/property_bag.h"

namespace velmora::ocx {

// A VARIANT as the core's saved value, by kind only: a truth value, any number, a text;
// empty is nothing. Values of other kinds become nothing too, which no conversion accepts.
PropertyValue FromVariant(const VARIANT& variant);
// The caller owns the VARIANT it gets (VariantClear). Throws std::bad_alloc.
VARIANT ToVariant(const PropertyValue& value);

// The container's property bag. A value it does not have (E_INVALIDARG) reads as its default.
class ComPropertyBag : public PropertyBag {
 public:
  ComPropertyBag(IPropertyBag& bag, IErrorLog* log) : bag_(bag), log_(log) {}

  PropertyValue Read(std::u16string_view name, const PropertyValue& fallback) override;
  void Write(std::u16string_view name, const PropertyValue& value,
             const PropertyValue& fallback) override;

 private:
  IPropertyBag& bag_;
  IErrorLog* log_;
};

// The saved values as a container's stream holds them: the count, then each name and value.
class StreamBag : public PropertyBag {
 public:
  // Reads what Save wrote; throws Failure when the stream ends early or holds something else.
  static StreamBag Load(IStream& stream);
  void Save(IStream& stream) const;
  ULONG SizeInBytes() const;

  PropertyValue Read(std::u16string_view name, const PropertyValue& fallback) override;
  void Write(std::u16string_view name, const PropertyValue& value,
             const PropertyValue& fallback) override;

 private:
  std::vector<std::pair<std::u16string, PropertyValue>> values_;
};

}  // namespace velmora::ocx
