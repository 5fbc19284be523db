#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// A finite number in its shortest text that reads back as the same number: plain digits
// ("12.5", "0.001", "1234567") or an exponent ("1e+21", "1e-05"), whichever is shorter, plain
// on a tie. Independent of the C locale.
std::string ShortestNumberText(double number);

// The number a whole text spells: an optional '-', digits with an optional point and an
// optional exponent, or "inf", "infinity", "nan", "nan(...)" in any case. Nothing else, no
// blanks, and no number too large or too small to hold.
std::optional<double> ReadNumberText(std::string_view text);

}  // namespace velmora
