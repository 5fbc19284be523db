#pragma once

#include <string>
#include <vector>

#include "control/property_bag.h"

namespace velmora {

// A property bag in memory that keeps every value written, in the order first written.
class MemoryBag : public PropertyBag {
 public:
  PropertyValue Read(std::u16string_view name, const PropertyValue& fallback) override;
  void Write(std::u16string_view name, const PropertyValue& value,
             const PropertyValue& fallback) override;

  void Set(std::u16string_view name, PropertyValue value);
  bool Has(std::u16string_view name) const;
  const PropertyValue& Get(std::u16string_view name) const;

  const std::vector<std::u16string>& reads() const { return reads_; }
  const std::vector<std::pair<std::u16string, PropertyValue>>& values() const { return values_; }

 private:
  std::vector<std::pair<std::u16string, PropertyValue>>::iterator Find(std::u16string_view name);

  std::vector<std::pair<std::u16string, PropertyValue>> values_;
  std::vector<std::u16string> reads_;
};

}  // namespace velmora
