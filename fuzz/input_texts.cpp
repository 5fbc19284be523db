#include "fuzz/input_texts.h"

#include <bit>
#include <cstdint>
#include <limits>
#include <string_view>

#include "board/board.h"

namespace velmora::fuzz {
namespace {

using namespace std::string_view_literals;

constexpr auto kNearMisses = u"@I09/:`i"sv;
constexpr auto kSeparators = u"-x :*"sv;
// Look-alikes and odd units: full-width A and P, dotted capital I, the Kelvin sign, no-break
// space, NUL, a non-character and the byte-order mark.
constexpr auto kLookAlikes = u"\uFF21\uFF30\u0130\u212A\u00A0\u0000\uFFFF\uFEFF"sv;

char16_t From(std::u16string_view set, std::uint8_t pick) {
  return set[pick % set.size()];
}

std::u16string DecodeUnits(ByteReader& in, std::size_t count) {
  std::u16string text;
  for (std::size_t i = 0; i < count; ++i) text.push_back(DecodeUnit(in));
  return text;
}

// A position text: a base of 64 cell letters, then up to three characters replaced, then
// perhaps one character dropped or added so the length is 63 or 65.
std::u16string DecodePosition(ByteReader& in) {
  std::u16string text;
  switch (in.Choice(3)) {
    case 0:
      text = Board::Initial().PositionText();
      break;
    case 1:
      text.assign(64, kEmptyCell);
      break;
    default:
      for (int i = 0; i < 64; ++i) text.push_back(From(kCellLetters, in.Byte()));
      break;
  }
  for (std::size_t edits = in.Choice(4); edits > 0; --edits) {
    const std::size_t at = in.Choice(64);
    text[at] = DecodeUnit(in);
  }
  switch (in.Choice(4)) {
    case 1:
      text.pop_back();
      break;
    case 2:
      text.push_back(DecodeUnit(in));
      break;
    case 3: {
      const std::size_t at = in.Choice(64);
      text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), DecodeUnit(in));
      break;
    }
    default:
      break;
  }
  return text;
}

// A held text with one unit replaced, inserted or removed.
std::u16string EditOne(std::u16string text, ByteReader& in) {
  const std::size_t at = text.empty() ? 0 : in.Byte() % text.size();
  switch (in.Choice(3)) {
    case 0:
      if (!text.empty()) text[at] = DecodeUnit(in);
      break;
    case 1:
      text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), DecodeUnit(in));
      break;
    default:
      if (!text.empty()) text.erase(at, 1);
      break;
  }
  return text;
}

double DecodeNumber(ByteReader& in) {
  constexpr double kNumbers[] = {0.0,
                                 1.0,
                                 -1.0,
                                 0.5,
                                 -0.0,
                                 65536.0,
                                 1e308,
                                 4.9e-324,
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN()};
  const std::size_t pick = in.Choice(std::size(kNumbers) + 1);
  if (pick < std::size(kNumbers)) return kNumbers[pick];
  std::uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(in.Byte()) << (8 * i);
  return std::bit_cast<double>(bits);
}

}  // namespace

char16_t DecodeUnit(ByteReader& in) {
  const std::uint8_t kind = in.Byte();
  const std::uint8_t value = in.Byte();
  switch (kind % 10) {
    case 0:
      return static_cast<char16_t>(u'A' + value % 8);
    case 1:
      return static_cast<char16_t>(u'1' + value % 8);
    case 2:
      return From(kCellLetters, value);
    case 3:
      return static_cast<char16_t>(u'a' + value % 8);
    case 4:
      return From(kNearMisses, value);
    case 5:
      return static_cast<char16_t>(0xD800 + value * 4);  // a lone high surrogate
    case 6:
      return static_cast<char16_t>(0xDC00 + value * 4);  // a lone low surrogate
    case 7:
      return static_cast<char16_t>(value | (in.Byte() << 8));
    case 8:
      return From(kLookAlikes, value);
    default:
      return From(kSeparators, value);
  }
}

std::u16string DecodeText(ByteReader& in, const std::array<std::u16string, 3>& held) {
  switch (in.Choice(10)) {
    case 0:
      return u"";
    case 1:
      return u"**";
    case 2:
      return DecodeUnits(in, 5);
    case 3:
      return DecodeUnits(in, 2);
    case 4:
      return DecodePosition(in);
    case 5:
      return DecodeUnits(in, in.Byte());
    case 6: {
      // Lengths at every scale up to 16320, one unit repeated.
      const std::size_t length = std::size_t{in.Byte()} << in.Choice(7);
      return std::u16string(length, DecodeUnit(in));
    }
    case 7:
      return held[in.Choice(held.size())];
    case 8:
      return EditOne(held[in.Choice(held.size())], in);
    default: {
      // A well-formed move between two squares, cheap for the fuzzer to reach.
      const std::uint8_t from = in.Byte() % 64;
      const std::uint8_t to = in.Byte() % 64;
      return {static_cast<char16_t>(u'A' + from % 8), static_cast<char16_t>(u'1' + from / 8), u'-',
              static_cast<char16_t>(u'A' + to % 8), static_cast<char16_t>(u'1' + to / 8)};
    }
  }
}

std::optional<PropertyValue> DecodeBagValue(ByteReader& in,
                                            const std::array<std::u16string, 3>& held) {
  switch (in.Choice(5)) {
    case 0:
      return std::nullopt;
    case 1:
      return PropertyValue(in.Flag());
    case 2:
      return PropertyValue(DecodeNumber(in));
    case 3:
      return PropertyValue(DecodeText(in, held));
    default:
      return PropertyValue(std::monostate{});
  }
}

}  // namespace velmora::fuzz
