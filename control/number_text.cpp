#include "control/number_text.h"

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace velmora {
namespace {

// The C library writes and reads numbers with the locale's decimal point; ours is always '.'.
char LocalePoint() {
  const std::lconv* conventions = std::localeconv();
  return conventions && conventions->decimal_point && *conventions->decimal_point
             ? *conventions->decimal_point
             : '.';
}

double ReadDigits(std::string text) {
  for (char& c : text) {
    if (c == '.') c = LocalePoint();
  }
  return std::strtod(text.c_str(), nullptr);
}

// The number's significant digits (no point, no sign) and decimal exponent, as few digits as
// read back to it.
struct Digits {
  std::string digits;
  int exponent;
};

Digits Shortest(double magnitude) {
  char buffer[40];
  for (int precision = 1;; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, magnitude);
    std::string text = buffer;
    const auto e = text.find('e');
    std::string digits;
    for (std::size_t i = 0; i < e; ++i) {
      if (std::isdigit(static_cast<unsigned char>(text[i]))) digits.push_back(text[i]);
    }
    const int exponent = std::atoi(text.c_str() + e + 1);
    std::string written = digits.substr(0, 1);
    written.append(".").append(digits, 1).append("e").append(std::to_string(exponent));
    if (precision == 17 || ReadDigits(written) == magnitude) return {digits, exponent};
  }
}

std::string Scientific(const Digits& d) {
  std::string text = d.digits.substr(0, 1);
  if (d.digits.size() > 1) text.append(".").append(d.digits, 1);
  const int exponent = std::abs(d.exponent);
  text += d.exponent < 0 ? "e-" : "e+";
  if (exponent < 10) text += '0';
  return text + std::to_string(exponent);
}

std::string Plain(const Digits& d, double magnitude) {
  const int count = static_cast<int>(d.digits.size());
  if (d.exponent >= count - 1) {
    // A whole number: every digit of its exact value.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", magnitude);
    return buffer;
  }
  if (d.exponent >= 0) {
    const auto whole = static_cast<std::size_t>(d.exponent) + 1;
    return d.digits.substr(0, whole).append(".").append(d.digits, whole);
  }
  return std::string("0.").append(static_cast<std::size_t>(-d.exponent - 1), '0').append(d.digits);
}

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
  }
  return true;
}

bool IsNanPayload(std::string_view text) {
  if (text.size() < 5 || !EqualsIgnoringCase(text.substr(0, 4), "nan(") || text.back() != ')') {
    return false;
  }
  for (char c : text.substr(4, text.size() - 5)) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  return at;
}

// Digits with an optional point (at least one digit), then an optional complete exponent.
bool IsDecimal(std::string_view text) {
  std::size_t at = SkipDigits(text, 0);
  std::size_t digits = at;
  if (at < text.size() && text[at] == '.') {
    const std::size_t fraction = SkipDigits(text, at + 1);
    digits += fraction - at - 1;
    at = fraction;
  }
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    std::size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const std::size_t end = SkipDigits(text, exponent);
    if (end == exponent) return false;
    at = end;
  }
  return at == text.size();
}

}  // namespace

std::string ShortestNumberText(double number) {
  const std::string sign = std::signbit(number) ? "-" : "";
  const double magnitude = std::fabs(number);
  if (magnitude == 0) return sign + "0";
  const Digits digits = Shortest(magnitude);
  const std::string scientific = Scientific(digits);
  const std::string plain = Plain(digits, magnitude);
  return sign + (plain.size() <= scientific.size() ? plain : scientific);
}

std::optional<double> ReadNumberText(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view body = negative ? text.substr(1) : text;
  const double sign = negative ? -1.0 : 1.0;
  if (EqualsIgnoringCase(body, "inf") || EqualsIgnoringCase(body, "infinity")) {
    return sign * HUGE_VAL;
  }
  if (EqualsIgnoringCase(body, "nan") || IsNanPayload(body)) return std::copysign(NAN, sign);
  if (!IsDecimal(body)) return std::nullopt;
  const double magnitude = ReadDigits(std::string(body));
  // Too large, or too small to be anything but zero although a digit is not zero.
  if (std::isinf(magnitude)) return std::nullopt;
  const std::string_view mantissa = body.substr(0, body.find_first_of("eE"));
  if (magnitude == 0 && mantissa.find_first_of("123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  return sign * magnitude;
}

}  // namespace velmora
