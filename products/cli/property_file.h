#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "control/property_bag.h"

namespace velmora::cli {

// A saved property bag as readable text, one value a line: `Name = True` or `False` for a truth
// value, `Name = 12.5` for a number, `Name = "text"` for a text (escapes as in scripts, so any
// UTF-16 text comes back exactly). Blank lines and lines starting with "#" are ignored.
using NamedValues = std::vector<std::pair<std::u16string, PropertyValue>>;

std::string FormatPropertyFile(const NamedValues& values);

struct PropertyFileError {
  int line;
  std::string what;
};
// The values in file order, or the first line that is wrong.
std::variant<NamedValues, PropertyFileError> ParsePropertyFile(std::string_view text);

}  // namespace velmora::cli
