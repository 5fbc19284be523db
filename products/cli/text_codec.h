#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::cli {

// UTF-8 to UTF-16; none when the bytes are not well-formed UTF-8.
std::optional<std::u16string> FromUtf8(std::string_view bytes);
// UTF-16 to UTF-8 for file names and plain output; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// A quoted literal that reads back to exactly `text`: "\"", "\\", "\n", "\t", "\r" escaped;
// other control characters and lone surrogates as \uXXXX; everything else as UTF-8.
std::string Quote(std::u16string_view text);

// Reads a quoted literal starting at the opening quote `text[pos]`; on success `pos` is just
// past the closing quote. Escapes: \" \\ \n \t \r and \uXXXX (one UTF-16 code unit, so lone
// surrogates can be written too).
struct Unquoted {
  std::optional<std::u16string> text;
  std::string error;  // why not, when `text` is empty
};
Unquoted Unquote(std::string_view line, std::size_t& pos);

}  // namespace velmora::cli
