#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace velmora {

// A saved value: nothing, a truth value, a number or a text.
using PropertyValue = std::variant<std::monostate, bool, double, std::u16string>;

// Converts as a host's saved values are converted: numbers and truth values are written out
// ("True", "False", "12.5"); anything else throws Failure(kTypeMismatch).
std::u16string ToText(const PropertyValue& value);
// A number; a truth value (True is -1, as hosts count it); a number written as text. Anything
// else throws Failure(kTypeMismatch).
double ToNumber(const PropertyValue& value);
// A truth value; a number (non-zero is true); a text "True"/"False" in any case, or a number
// written as text. Anything else throws Failure(kTypeMismatch).
bool ToTruth(const PropertyValue& value);

// The host's store of saved properties. Any call may throw Failure.
class PropertyBag {
 public:
  virtual ~PropertyBag() = default;

  // The saved value, or `fallback` when the bag holds none under that name.
  virtual PropertyValue Read(std::u16string_view name, const PropertyValue& fallback) = 0;
  // A bag may leave out a value equal to its default; reading it back gives the default.
  virtual void Write(std::u16string_view name, const PropertyValue& value,
                     const PropertyValue& fallback) = 0;
};

}  // namespace velmora
