#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "board/refusal.h"
#include "board/square.h"

namespace velmora {

// The colours a mark comes in, by the letter that names each.
enum class MarkColour : char16_t { kGreen = u'G', kRed = u'R', kYellow = u'Y', kBlue = u'B' };
// Their letters in their order, and a colour's place in it (0 to 3).
inline constexpr std::u16string_view kMarkColourLetters = u"GRYB";
constexpr std::size_t ColourIndex(MarkColour colour) {
  return kMarkColourLetters.find(static_cast<char16_t>(colour));
}

// A circle round one square, or an arrow from one square to another.
struct SquareMark {
  MarkColour colour;
  Square from;
  std::optional<Square> to;  // none: a circle

  friend bool operator==(const SquareMark&, const SquareMark&) = default;
};

// An arrow that starts and ends on one square is drawn and read as its circle.
inline bool IsCircle(const SquareMark& mark) {
  return !mark.to || *mark.to == mark.from;
}

// Whether two marks name the same square (circles) or the same ordered pair of squares (arrows).
inline bool SameSquares(const SquareMark& a, const SquareMark& b) {
  return a.from == b.from && a.to.value_or(a.from) == b.to.value_or(b.from);
}

// A mark names its squares once: a later mark on the squares of an earlier one takes the
// earlier one's place, as a person's recolouring does, so the list reads in the order the
// squares were first marked, each in its last colour.
std::vector<SquareMark> DistinctMarks(std::span<const SquareMark> marks);

// Tokens separated by spaces or commas, each a colour letter and one square (a circle) or two
// (an arrow), letters in either case: "Gd4 Re5 Gg1f3". One bad token refuses the whole text.
// The marks are distinct.
Parsed<std::vector<SquareMark>> ParseSquareMarks(std::u16string_view text);
// As game records write them: colour upper-case, squares lower-case, one space between.
std::u16string SquareMarksText(std::span<const SquareMark> marks);

}  // namespace velmora
