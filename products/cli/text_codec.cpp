#include "products/cli/text_codec.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace velmora::cli {
namespace {

bool IsHigh(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t point) {
  if (point < 0x80) {
    out += static_cast<char>(point);
  } else if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t point) {
  if (point < 0x10000) {
    out += static_cast<char16_t>(point);
  } else {
    point -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (point >> 10));
    out += static_cast<char16_t>(0xDC00 + (point & 0x3FF));
  }
}

// The escapes a quoted text knows besides \uXXXX: the letter after the backslash and the
// character it stands for.
constexpr std::array<std::pair<char, char16_t>, 5> kEscapes = {
    {{'"', u'"'}, {'\\', u'\\'}, {'n', u'\n'}, {'t', u'\t'}, {'r', u'\r'}}};

void AppendEscapedUnit(std::string& out, char16_t unit) {
  constexpr std::string_view kHex = "0123456789ABCDEF";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

// The code point of a UTF-16 sequence at `i` (advancing past it); none for a lone surrogate.
std::optional<char32_t> NextPoint(std::u16string_view text, std::size_t& i) {
  const char16_t unit = text[i++];
  if (IsHigh(unit) && i < text.size() && IsLow(text[i])) {
    return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i++] - 0xDC00);
  }
  if (IsHigh(unit) || IsLow(unit)) return std::nullopt;
  return unit;
}

}  // namespace

std::optional<std::u16string> FromUtf8(std::string_view bytes) {
  std::u16string out;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int extra = 0;
    char32_t point = 0;
    char32_t least = 0;
    if (lead < 0x80) {
      point = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, point = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, point = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, point = lead & 0x07, least = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + static_cast<std::size_t>(extra) >= bytes.size()) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      point = (point << 6) | (next & 0x3F);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    if (point < least || point > 0x10FFFF || surrogate) return std::nullopt;
    AppendUtf16(out, point);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) AppendUtf8(out, NextPoint(text, i).value_or(0xFFFD));
  return out;
}

std::string Quote(std::u16string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t at = i;
    const auto point = NextPoint(text, i);
    if (!point) {
      AppendEscapedUnit(out, text[at]);
      continue;
    }
    const auto escape = std::find_if(kEscapes.begin(), kEscapes.end(),
                                     [&](const auto& e) { return e.second == *point; });
    if (escape != kEscapes.end()) {
      out += {'\\', escape->first};
    } else if (*point < 0x20 || *point == 0x7F) {
      AppendEscapedUnit(out, static_cast<char16_t>(*point));
    } else {
      AppendUtf8(out, *point);
    }
  }
  return out + "\"";
}

Unquoted Unquote(std::string_view line, std::size_t& pos) {
  std::string raw;  // UTF-8 between escapes
  std::u16string text;
  auto flush = [&]() -> bool {
    const auto part = FromUtf8(raw);
    if (!part) return false;
    text += *part;
    raw.clear();
    return true;
  };
  for (std::size_t i = pos + 1; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      if (!flush()) return {std::nullopt, "the text is not valid UTF-8"};
      pos = i + 1;
      return {std::move(text), {}};
    }
    if (c != '\\') {
      raw += c;
      continue;
    }
    if (++i == line.size()) break;
    if (!flush()) return {std::nullopt, "the text is not valid UTF-8"};
    const auto escape = std::find_if(kEscapes.begin(), kEscapes.end(),
                                     [&](const auto& e) { return e.first == line[i]; });
    if (escape != kEscapes.end()) {
      text += escape->second;
    } else if (line[i] == 'u') {
      unsigned value = 0;
      const char* first = line.data() + i + 1;
      const char* last = line.data() + std::min(line.size(), i + 5);
      const auto [end, error] = std::from_chars(first, last, value, 16);
      if (error != std::errc() || end != first + 4 || last - first != 4) {
        return {std::nullopt, "\\u needs four hexadecimal digits"};
      }
      text += static_cast<char16_t>(value);
      i += 4;
    } else {
      return {std::nullopt, std::string("unknown escape \\") + line[i]};
    }
  }
  return {std::nullopt, "unterminated quote"};
}

}  // namespace velmora::cli
