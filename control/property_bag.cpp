#include "control/property_bag.h"

#include <cmath>
#include <string>

#include "board/failure.h"
#include "control/number_text.h"

namespace velmora {
namespace {

[[noreturn]] void Mismatch() {
  throw Failure(Failure::kTypeMismatch, "Type mismatch");
}

std::u16string Widen(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

std::u16string NumberText(double number) {
  if (!std::isfinite(number)) Mismatch();
  return Widen(ShortestNumberText(number));
}

// A number written as text, with optional blanks around it; nothing else.
bool ParseNumber(std::u16string_view text, double& number) {
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7f) return false;
    ascii.push_back(static_cast<char>(c));
  }
  const auto first = ascii.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const auto last = ascii.find_last_not_of(' ');
  std::string_view body(ascii.data() + first, last + 1 - first);
  if (body.front() == '+') body.remove_prefix(1);
  const auto read = ReadNumberText(body);
  if (read) number = *read;
  return read.has_value();
}

bool EqualsIgnoringCase(std::u16string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != static_cast<char16_t>(word[i])) return false;
  }
  return true;
}

}  // namespace

std::u16string ToText(const PropertyValue& value) {
  if (const auto* text = std::get_if<std::u16string>(&value)) return *text;
  if (const auto* truth = std::get_if<bool>(&value)) return *truth ? u"True" : u"False";
  if (const auto* number = std::get_if<double>(&value)) return NumberText(*number);
  Mismatch();
}

double ToNumber(const PropertyValue& value) {
  if (const auto* number = std::get_if<double>(&value)) return *number;
  if (const auto* truth = std::get_if<bool>(&value)) return *truth ? -1.0 : 0.0;
  double number = 0;
  const auto* text = std::get_if<std::u16string>(&value);
  if (text != nullptr && ParseNumber(*text, number)) return number;
  Mismatch();
}

bool ToTruth(const PropertyValue& value) {
  if (const auto* truth = std::get_if<bool>(&value)) return *truth;
  if (const auto* number = std::get_if<double>(&value)) {
    if (std::isnan(*number)) Mismatch();
    return *number != 0;
  }
  if (const auto* text = std::get_if<std::u16string>(&value)) {
    if (EqualsIgnoringCase(*text, "true")) return true;
    if (EqualsIgnoringCase(*text, "false")) return false;
    double number = 0;
    if (ParseNumber(*text, number) && !std::isnan(number)) return number != 0;
  }
  Mismatch();
}

}  // namespace velmora
