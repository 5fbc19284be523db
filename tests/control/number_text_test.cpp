// Number texts of saved properties: the shortest text that reads back, and the texts that read
// as numbers. The standard library's own conversions are the reference they must match.
#include "control/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <random>

namespace velmora {
namespace {

std::string Reference(double number) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  return std::string(buffer, result.ptr);
}

TEST(NumberTextTest, WritesTheseNumbersThus) {
  const struct {
    double number;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "-0"},
      {1, "1"},
      {-2.5, "-2.5"},
      {12.5, "12.5"},
      {0.1, "0.1"},
      {0.001, "0.001"},  // a tie with "1e-03": plain
      {0.0001, "1e-04"},
      {100, "100"},
      {1234567, "1234567"},
      {1e15, "1e+15"},
      {1e21, "1e+21"},
      {123456789012345680000.0, "123456789012345683968"},  // every digit of a whole number
      {1.7976931348623157e308, "1.7976931348623157e+308"},
      {5e-324, "5e-324"},
      {2.2250738585072014e-308, "2.2250738585072014e-308"},
      {1.0 / 3, "0.3333333333333333"},
      {9007199254740993.0, "9007199254740992"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShortestNumberText(c.number), c.text) << c.text;
    EXPECT_EQ(Reference(c.number), c.text) << c.text;
  }
}

TEST(NumberTextTest, MatchesTheStandardLibraryOnAnyBitPattern) {
  std::mt19937_64 random(12);
  for (int i = 0; i < 20000; ++i) {
    const std::uint64_t bits = random();
    double number = 0;
    std::memcpy(&number, &bits, sizeof number);
    if (!std::isfinite(number)) continue;
    ASSERT_EQ(ShortestNumberText(number), Reference(number)) << bits;
    // Numbers of few digits too, where plain and exponent texts compete.
    const double short_number =
        static_cast<double>(bits % 100000) * std::pow(10.0, static_cast<int>(bits >> 59) - 16);
    ASSERT_EQ(ShortestNumberText(short_number), Reference(short_number)) << short_number;
  }
}

TEST(NumberTextTest, ReadsExactlyWhatTheStandardLibraryReadsWhole) {
  const char* texts[] = {
      "0",          "-0",     "1",         "12.5",     "-2.5",       ".5",    "5.",       "1e5",
      "1E+05",      "2.5e-3", "1e-320",    "4.9e-324", "1e-400",     "1e400", "-1e400",   "0e999",
      "0.000e-999", "inf",    "-Infinity", "NAN",      "nan(abc_1)", "nan()", "nan(a b)", "infin",
      "",           "-",      ".",         "e5",       "1e",         "1e+",   "1.5e3x",   " 1",
      "1 ",         "+1",     "--1",       "0x10",     "1,5",        "1.2.3", "00012",    "1e0005",
  };
  for (const char* text : texts) {
    double expected = 0;
    const auto end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, expected);
    const bool reads = result.ec == std::errc() && result.ptr == end;
    const auto read = ReadNumberText(text);
    ASSERT_EQ(read.has_value(), reads) << '"' << text << '"';
    if (!reads) continue;
    if (std::isnan(expected)) {
      EXPECT_TRUE(std::isnan(*read)) << text;
    } else {
      EXPECT_EQ(*read, expected) << text;
      EXPECT_EQ(std::signbit(*read), std::signbit(expected)) << text;
    }
  }
}

// A text and what the standard library reads from it, or nothing when it reads no number.
std::optional<double> ReferenceRead(const std::string& text) {
  double number = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return number;
}

// The text with more digits after its last one (before its exponent, if any).
std::string WithDigitsBeforeExponent(const std::string& text, const char* digits) {
  const auto e = std::min(text.find('e'), text.size());
  std::string result = text.substr(0, e);
  result.append(digits);
  result.append(text, e, std::string::npos);
  return result;
}

TEST(NumberTextTest, ReadsLongTextsAndHalfwayPointsAsTheStandardLibraryDoes) {
  std::mt19937_64 random(7);
  char buffer[1200];
  for (int i = 0; i < 500; ++i) {
    const std::uint64_t bits = random() & ~(std::uint64_t{1} << 63);
    double number = 0;
    std::memcpy(&number, &bits, sizeof number);
    if (!std::isfinite(number)) continue;
    // The exact halfway point to the next double up, and texts just off it.
    const double next = std::nextafter(number, HUGE_VAL);
    const long double halfway = (static_cast<long double>(number) + next) / 2;
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, halfway, std::chars_format::scientific, 800)
            .ptr;
    const std::string exact(buffer, end);
    for (const std::string& text : {exact, WithDigitsBeforeExponent(exact, "1"),
                                    WithDigitsBeforeExponent(Reference(number), "00000000001")}) {
      ASSERT_EQ(ReadNumberText(text), ReferenceRead(text)) << text;
    }
    const int precision = static_cast<int>(random() % 30);
    const auto short_end =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, precision)
            .ptr;
    const std::string rounded(buffer, short_end);
    ASSERT_EQ(ReadNumberText(rounded), ReferenceRead(rounded)) << rounded;
  }
}

}  // namespace
}  // namespace velmora
