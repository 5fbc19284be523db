#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace velmora {

// A text a setter would not take, with the reason in words a person reads. Not a failure: the
// setter changed nothing and the caller decides how to tell its user.
struct Refusal {
  std::u16string reason;

  friend bool operator==(const Refusal&, const Refusal&) = default;
};

// A setter's answer: nothing when it took the value, else why it did not.
using Refused = std::optional<Refusal>;

// `text` in double quotes, for a reason that names what it refused: its first 40 characters and
// an ellipsis when it is longer, so a host that pushes a huge text gets a reason of a line.
inline std::u16string Quoted(std::u16string_view text) {
  constexpr std::size_t kLongest = 40;
  const bool cut = text.size() > kLongest;
  if (cut) {
    // Never half a surrogate pair.
    const bool high = text[kLongest - 1] >= 0xD800 && text[kLongest - 1] <= 0xDBFF;
    text = text.substr(0, high ? kLongest - 1 : kLongest);
  }
  std::u16string quoted;
  quoted.reserve(text.size() + 3);
  quoted += u'"';
  quoted.append(text);
  if (cut) quoted += u'\u2026';
  quoted += u'"';
  return quoted;
}

// What a parser made of a text: its value, or why there is none.
template <typename T>
using Parsed = std::variant<T, Refusal>;

}  // namespace velmora
