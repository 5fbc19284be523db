#include "products/cli/printing_host.h"

#include <charconv>
#include <type_traits>

#include "products/cli/script.h"
#include "products/cli/text_codec.h"

namespace velmora::cli {
namespace {

std::string FormatArgument(const EventArg& arg) {
  if (const auto* whole = std::get_if<std::int16_t*>(&arg)) return std::to_string(**whole);
  if (const auto* truth = std::get_if<bool*>(&arg)) return **truth ? "True" : "False";
  if (const auto* text = std::get_if<const std::u16string*>(&arg)) {
    return '"' + ToUtf8(**text) + '"';
  }
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, *std::get<float*>(arg));
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string FormatArguments(EventId id, std::span<const EventArg> args) {
  const auto names = EventArgumentNames(id);
  std::string out;
  for (std::size_t k = 0; k < args.size() && k < names.size(); ++k) {
    if (k > 0) out += ' ';
    out += std::string(names[k]) + "=" + FormatArgument(args[k]);
  }
  return out;
}

void PrintingHost::RaiseEvent(EventId id, std::span<const EventArg> args) {
  const std::string values = FormatArguments(id, args);
  out_ << "event " << EventName(id) << (values.empty() ? "" : " ") << values << '\n';
  const auto names = EventArgumentNames(id);
  for (std::size_t k = 0; k < args.size() && k < names.size(); ++k) {
    const auto reply = replies_.find(std::string(names[k]));
    if (reply == replies_.end()) continue;
    std::visit(
        [value = reply->second](auto* storage) {
          // A text goes to the host by value: there is nothing to answer.
          using Stored = std::remove_pointer_t<decltype(storage)>;
          if constexpr (std::is_same_v<Stored, bool>) {
            *storage = value != 0;
          } else if constexpr (!std::is_const_v<Stored>) {
            *storage = static_cast<Stored>(value);
          }
        },
        args[k]);
    // A truth value the host answers with is what decides: it is shown.
    if (std::holds_alternative<bool*>(args[k])) {
      out_ << "answer " << names[k] << '=' << FormatArgument(args[k]) << '\n';
    }
  }
}

void PrintingHost::PropertyChanged(std::u16string_view property) {
  out_ << "notice " << ToUtf8(property) << '\n';
}

void PrintingHost::SetReply(const std::string& argument, std::optional<double> value) {
  if (value) {
    replies_[argument] = *value;
  } else {
    replies_.erase(argument);
  }
}

}  // namespace velmora::cli
