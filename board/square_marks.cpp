#include "board/square_marks.h"

#include <cstdint>

#include "board/move_list.h"

namespace velmora {
namespace {

// A colour is its upper-case letter; either case names it.
std::optional<MarkColour> ColourOf(char16_t letter) {
  const auto upper =
      static_cast<char16_t>(letter >= u'a' && letter <= u'z' ? letter - u'a' + u'A' : letter);
  if (kMarkColourLetters.find(upper) == std::u16string_view::npos) return std::nullopt;
  return static_cast<MarkColour>(upper);
}

std::optional<SquareMark> ParseMark(std::u16string_view token) {
  if (token.size() != 3 && token.size() != 5) return std::nullopt;
  const auto colour = ColourOf(token[0]);
  const auto from = ParseSquareAnyCase(token[1], token[2]);
  if (!colour || !from) return std::nullopt;
  SquareMark mark{*colour, *from, std::nullopt};
  if (token.size() == 5) {
    mark.to = ParseSquareAnyCase(token[3], token[4]);
    if (!mark.to) return std::nullopt;
  }
  return mark;
}

bool IsSeparator(char16_t c) {
  return c == u' ' || c == u',';
}

std::u16string LowerSquareName(Square s) {
  return {static_cast<char16_t>(u'a' + s.col - 1), static_cast<char16_t>(u'0' + s.row)};
}

// The index of a mark's squares among the 64 x 64 ordered pairs, a circle as its square twice.
std::size_t PairIndex(const SquareMark& mark) {
  const auto number = [](Square s) {
    return static_cast<std::size_t>((s.row - 1) * 8 + s.col - 1);
  };
  return number(mark.from) * 64 + number(mark.to.value_or(mark.from));
}

}  // namespace

std::vector<SquareMark> DistinctMarks(std::span<const SquareMark> marks) {
  std::vector<SquareMark> distinct;
  distinct.reserve(marks.size());
  // Where each pair's mark stands in `distinct`, plus one; 0 for none yet.
  std::vector<std::uint16_t> place(64 * 64);
  for (const SquareMark& mark : marks) {
    std::uint16_t& at = place[PairIndex(mark)];
    if (at == 0) {
      distinct.push_back(mark);
      at = static_cast<std::uint16_t>(distinct.size());
    } else {
      distinct[at - 1u] = mark;
    }
  }
  return distinct;
}

Parsed<std::vector<SquareMark>> ParseSquareMarks(std::u16string_view text) {
  std::vector<SquareMark> marks;
  std::size_t at = 0;
  while (at < text.size()) {
    if (IsSeparator(text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    const std::u16string_view token = text.substr(at, end - at);
    const auto mark = ParseMark(token);
    if (!mark) {
      return Refusal{Quoted(token) +
                     u" is not a mark: write a colour G, R, Y or B and one square (Gd4) or two "
                     u"(Gg1f3)"};
    }
    marks.push_back(*mark);
    at = end;
  }
  return DistinctMarks(marks);
}

std::u16string SquareMarksText(std::span<const SquareMark> marks) {
  std::u16string text;
  for (const SquareMark& mark : marks) {
    if (!text.empty()) text += u' ';
    text += static_cast<char16_t>(mark.colour);
    text += LowerSquareName(mark.from);
    if (mark.to) text += LowerSquareName(*mark.to);
  }
  return text;
}

}  // namespace velmora
