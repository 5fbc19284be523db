#include "control/number_text.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "control/big_integer.h"

namespace velmora {
namespace {

// 10 to the n by squaring, within a few units in the last place: a first guess needs no more,
// and it keeps the library clear of the general power function.
double PowerOfTen(int n) {
  double result = 1;
  double base = 10;
  for (unsigned e = static_cast<unsigned>(n < 0 ? -n : n); e != 0; e >>= 1, base *= base) {
    if ((e & 1) != 0) result *= base;
  }
  return n < 0 ? 1 / result : result;
}

// A finite positive double as mantissa x 2^exponent, the mantissa with its hidden bit.
struct Binary {
  std::uint64_t mantissa;
  int exponent;
};

constexpr int kMinExponent = -1074;
constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << 52;

Binary Decompose(double magnitude) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const auto biased = static_cast<int>(bits >> 52);
  const std::uint64_t fraction = bits & (kHiddenBit - 1);
  if (biased == 0) return {fraction, kMinExponent};
  return {fraction | kHiddenBit, biased - 1075};
}

double Compose(const Binary& binary) {
  std::uint64_t bits = binary.mantissa & (kHiddenBit - 1);
  if (binary.mantissa & kHiddenBit)
    bits |= static_cast<std::uint64_t>(binary.exponent + 1075) << 52;
  double magnitude = 0;
  std::memcpy(&magnitude, &bits, sizeof magnitude);
  return magnitude;
}

// The number's significant digits (no point, no sign) and decimal exponent: as few digits as
// read back to it, the closest such when there is a choice.
struct Digits {
  std::string digits;
  int exponent;  // of the first digit
};

// Free-format digit generation: the digits are produced exactly, with the halfway points to
// the neighbouring doubles as the bounds any shorter text must stay within.
Digits Shortest(double magnitude) {
  const Binary v = Decompose(magnitude);
  const bool boundary = v.mantissa == kHiddenBit && v.exponent > kMinExponent;
  // value = r / s; the gaps to the neighbours' halfway points are m_plus / s and m_minus / s.
  BigInteger r(v.mantissa), s(1), m_plus(1), m_minus(1);
  const int extra = boundary ? 2 : 1;
  r.ShiftLeft(extra);
  if (v.exponent >= 0) {
    r.ShiftLeft(v.exponent);
    m_plus.ShiftLeft(v.exponent + extra - 1);
    m_minus.ShiftLeft(v.exponent);
    s.ShiftLeft(extra);
  } else {
    s.ShiftLeft(extra - v.exponent);
    m_plus.ShiftLeft(extra - 1);
  }
  int k = static_cast<int>(std::ceil(std::log10(magnitude) - 1e-10));
  if (k >= 0) {
    s.MultiplyByPowerOfTen(k);
  } else {
    r.MultiplyByPowerOfTen(-k);
    m_plus.MultiplyByPowerOfTen(-k);
    m_minus.MultiplyByPowerOfTen(-k);
  }
  // A bound that is itself a double's halfway point counts when the mantissa is even (ties go
  // to even when read back).
  const bool inclusive = v.mantissa % 2 == 0;
  auto reaches_high = [&](const BigInteger& remainder) {
    BigInteger high = remainder;
    high.Add(m_plus);
    const int order = Compare(high, s);
    return inclusive ? order >= 0 : order > 0;
  };
  if (reaches_high(r)) {
    ++k;
  } else {
    r.MultiplyBy(10);
    m_plus.MultiplyBy(10);
    m_minus.MultiplyBy(10);
  }
  Digits result{"", k - 1};
  for (;;) {
    int digit = 0;
    while (Compare(r, s) >= 0) {
      r.Subtract(s);
      ++digit;
    }
    const int low_order = Compare(r, m_minus);
    const bool low = inclusive ? low_order <= 0 : low_order < 0;
    const bool high = reaches_high(r);
    if (!low && !high) {
      result.digits.push_back(static_cast<char>('0' + digit));
      r.MultiplyBy(10);
      m_plus.MultiplyBy(10);
      m_minus.MultiplyBy(10);
      continue;
    }
    if (low && high) {
      // Both digits read back: the closer one, the even one on a tie.
      BigInteger twice = r;
      twice.ShiftLeft(1);
      const int order = Compare(twice, s);
      if (order > 0 || (order == 0 && digit % 2 == 1)) ++digit;
    } else if (high) {
      ++digit;
    }
    result.digits.push_back(static_cast<char>('0' + digit));
    return result;
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

// Every digit of a whole number's exact value.
std::string WholeNumber(double magnitude) {
  const Binary v = Decompose(magnitude);
  BigInteger value(v.exponent >= 0 ? v.mantissa : v.mantissa >> -v.exponent);
  value.ShiftLeft(v.exponent);
  std::string reversed;
  do {
    std::uint32_t group = value.DivideBy(1000000000);
    for (int i = 0; i < 9 && (group || !value.IsZero()); ++i, group /= 10) {
      reversed.push_back(static_cast<char>('0' + group % 10));
    }
  } while (!value.IsZero());
  return std::string(reversed.rbegin(), reversed.rend());
}

std::string Plain(const Digits& d, double magnitude) {
  const int count = static_cast<int>(d.digits.size());
  if (d.exponent >= count - 1) return WholeNumber(magnitude);
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

// A decimal text as significant digits (no leading or trailing zeros) x 10^exponent; nothing
// when it is no decimal: digits with an optional point (at least one digit), then an optional
// complete exponent.
struct Decimal {
  std::string digits;
  int exponent;
};

std::optional<Decimal> ParseDecimal(std::string_view text) {
  Decimal result{"", 0};
  std::size_t at = 0;
  std::size_t digits = 0;
  for (bool fraction = false; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '.' && !fraction) {
      fraction = true;
      continue;
    }
    if (c < '0' || c > '9') break;
    ++digits;
    if (fraction) --result.exponent;
    if (c != '0' || !result.digits.empty())
      result.digits.push_back(c);
    else if (!fraction)
      continue;
  }
  if (digits == 0) return std::nullopt;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    std::size_t start = at + 1;
    const bool negative = start < text.size() && text[start] == '-';
    if (start < text.size() && (text[start] == '+' || text[start] == '-')) ++start;
    const std::size_t end = SkipDigits(text, start);
    if (end == start) return std::nullopt;
    int exponent = 0;
    for (std::size_t i = start; i < end; ++i) {
      exponent = exponent < 100000 ? exponent * 10 + (text[i] - '0') : exponent;
    }
    result.exponent += negative ? -exponent : exponent;
    at = end;
  }
  if (at != text.size()) return std::nullopt;
  while (!result.digits.empty() && result.digits.back() == '0') {
    result.digits.pop_back();
    ++result.exponent;
  }
  return result;
}

// Compares digits x 10^exponent with mantissa x 2^binary_exponent exactly.
int CompareExactly(const Decimal& decimal, std::uint64_t mantissa, int binary_exponent) {
  BigInteger left(0), right(mantissa);
  for (char c : decimal.digits) {
    left.MultiplyBy(10);
    left.Add(BigInteger(static_cast<std::uint64_t>(c - '0')));
  }
  if (decimal.exponent >= 0) {
    left.MultiplyByPowerOfTen(decimal.exponent);
  } else {
    right.MultiplyByPowerOfTen(-decimal.exponent);
  }
  if (binary_exponent >= 0) {
    right.ShiftLeft(binary_exponent);
  } else {
    left.ShiftLeft(-binary_exponent);
  }
  return Compare(left, right);
}

// The double nearest to the decimal (ties to even); nothing when that is infinite or zero.
std::optional<double> Nearest(Decimal decimal) {
  // Beyond 780 digits only whether any later digit is non-zero can still matter.
  constexpr std::size_t kKept = 780;
  if (decimal.digits.size() > kKept) {
    decimal.exponent += static_cast<int>(decimal.digits.size() - kKept - 1);
    decimal.digits.resize(kKept);
    decimal.digits.push_back('1');
  }
  const int magnitude = static_cast<int>(decimal.digits.size()) + decimal.exponent;
  if (magnitude > 310 || magnitude < -324) return std::nullopt;
  // A first guess within a few units in the last place, then exact steps to the nearest.
  std::uint64_t leading = 0;
  const std::size_t used = decimal.digits.size() < 19 ? decimal.digits.size() : 19;
  for (std::size_t i = 0; i < used; ++i) leading = leading * 10 + (decimal.digits[i] - '0');
  // Scaled in two steps near the ends of the range, so no step leaves it before the last.
  const int scale = decimal.exponent + static_cast<int>(decimal.digits.size() - used);
  const int outer = scale < -300 ? -300 : (scale > 300 ? 300 : 0);
  double guess = static_cast<double>(leading) * PowerOfTen(scale - outer) * PowerOfTen(outer);
  if (!(guess > 0)) guess = 5e-324;
  if (std::isinf(guess)) guess = 1.7976931348623157e308;
  Binary v = Decompose(guess);
  for (;;) {
    const bool odd = v.mantissa % 2 == 1;
    // Above the halfway point to the next double up?
    const int above = CompareExactly(decimal, 2 * v.mantissa + 1, v.exponent - 1);
    if (above > 0 || (above == 0 && odd)) {
      ++v.mantissa;
      if (v.mantissa == 2 * kHiddenBit) {
        v.mantissa = kHiddenBit;
        ++v.exponent;
      }
      if (v.exponent > 971) return std::nullopt;
      continue;
    }
    // Below the halfway point to the next double down?
    const bool narrower = v.mantissa == kHiddenBit && v.exponent > kMinExponent;
    const int below = narrower ? CompareExactly(decimal, 4 * v.mantissa - 1, v.exponent - 2)
                               : CompareExactly(decimal, 2 * v.mantissa - 1, v.exponent - 1);
    if (below < 0 || (below == 0 && odd)) {
      --v.mantissa;
      if (narrower) {
        v.mantissa = 2 * kHiddenBit - 1;
        --v.exponent;
      }
      if (v.mantissa == 0) return std::nullopt;
      continue;
    }
    return Compose(v);
  }
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
  const auto decimal = ParseDecimal(body);
  if (!decimal) return std::nullopt;
  if (decimal->digits.empty()) return sign * 0.0;
  const auto magnitude = Nearest(*decimal);
  if (!magnitude) return std::nullopt;
  return sign * *magnitude;
}

}  // namespace velmora
