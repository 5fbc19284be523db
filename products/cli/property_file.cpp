#include "products/cli/property_file.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "products/cli/text_codec.h"

namespace velmora::cli {
namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

std::string FormatNumber(double number) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  return std::string(buffer, result.ptr);
}

std::string FormatValue(const PropertyValue& value) {
  if (const auto* truth = std::get_if<bool>(&value)) return *truth ? "True" : "False";
  if (const auto* number = std::get_if<double>(&value)) return FormatNumber(*number);
  if (const auto* text = std::get_if<std::u16string>(&value)) return Quote(*text);
  return {};
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

std::variant<PropertyValue, std::string> ParseValue(std::string_view s) {
  if (s == "True") return PropertyValue{true};
  if (s == "False") return PropertyValue{false};
  if (!s.empty() && s.front() == '"') {
    std::size_t pos = 0;
    Unquoted literal = Unquote(s, pos);
    if (!literal.text) return literal.error;
    if (pos != s.size()) return std::string("nothing may follow the closing quote");
    return PropertyValue{std::move(*literal.text)};
  }
  double number = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), number);
  if (s.empty() || error != std::errc() || end != s.data() + s.size()) {
    return std::string("a value is True, False, a number or a quoted text");
  }
  return PropertyValue{number};
}

}  // namespace

std::string FormatPropertyFile(const NamedValues& values) {
  std::string out = "# velmora properties\n";
  for (const auto& [name, value] : values) {
    if (std::holds_alternative<std::monostate>(value)) continue;
    out += ToUtf8(name) + " = " + FormatValue(value) + "\n";
  }
  return out;
}

std::variant<NamedValues, PropertyFileError> ParsePropertyFile(std::string_view text) {
  NamedValues values;
  std::istringstream lines{std::string(text)};
  std::string raw;
  for (int number = 1; std::getline(lines, raw); ++number) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return PropertyFileError{number, "expected Name = value"};
    const std::string_view name = Trim(line.substr(0, equals));
    if (name.empty() || !std::all_of(name.begin(), name.end(), IsNameChar)) {
      return PropertyFileError{number, "a name is letters, digits and _"};
    }
    auto value = ParseValue(Trim(line.substr(equals + 1)));
    if (const auto* error = std::get_if<std::string>(&value)) {
      return PropertyFileError{number, *error};
    }
    values.emplace_back(*FromUtf8(name), std::get<PropertyValue>(std::move(value)));
  }
  return values;
}

}  // namespace velmora::cli
