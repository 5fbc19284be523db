#include "platform/headless/memory_bag.h"

#include <algorithm>

#include "board/failure.h"

namespace velmora {

std::vector<std::pair<std::u16string, PropertyValue>>::iterator MemoryBag::Find(
    std::u16string_view name) {
  return std::find_if(values_.begin(), values_.end(),
                      [name](const auto& entry) { return entry.first == name; });
}

PropertyValue MemoryBag::Read(std::u16string_view name, const PropertyValue& fallback) {
  reads_.emplace_back(name);
  const auto it = Find(name);
  return it == values_.end() ? fallback : it->second;
}

void MemoryBag::Write(std::u16string_view name, const PropertyValue& value, const PropertyValue&) {
  Set(name, value);
}

void MemoryBag::Set(std::u16string_view name, PropertyValue value) {
  const auto it = Find(name);
  if (it == values_.end()) {
    values_.emplace_back(std::u16string(name), std::move(value));
  } else {
    it->second = std::move(value);
  }
}

bool MemoryBag::Has(std::u16string_view name) const {
  return std::any_of(values_.begin(), values_.end(),
                     [name](const auto& entry) { return entry.first == name; });
}

const PropertyValue& MemoryBag::Get(std::u16string_view name) const {
  for (const auto& entry : values_) {
    if (entry.first == name) return entry.second;
  }
  throw Failure(Failure::kInvalidArgument, "No such value in the bag");
}

}  // namespace velmora
