#include "products/cli/accessible_text.h"

#include "control/accessible_model.h"
#include "products/cli/text_codec.h"
#include "view/accessible_parts.h"

namespace velmora::cli {
namespace {

std::string RoleWord(AccessibleRole role) {
  constexpr const char* kWords[] = {"table", "cell", "text", "button"};  // in the roles' order
  return kWords[static_cast<std::size_t>(role)];
}

std::string PartLine(const std::string& head, const AccessiblePart& part) {
  std::string line = head + " " + RoleWord(part.role) + " " + Quote(part.name);
  if (part.role == AccessibleRole::kStaticText) line += " value " + Quote(part.value);
  if (part.states.focusable) line += " focusable";
  if (part.states.focused) line += " focused";
  if (part.states.selected) line += " selected";
  if (part.states.unavailable) line += " unavailable";
  if (part.states.pressed) line += " pressed";
  return line;
}

}  // namespace

std::vector<std::string> AccessibleLines(const BoardControl& control) {
  std::vector<std::string> lines;
  lines.push_back(PartLine("board", *DescribePart(control, kBoardPart)));
  const std::int16_t last = LastPart(control.surface());
  for (std::int16_t part = 1; part <= last; ++part) {
    // In edit mode the parts after the move display are the spare places, not a prompt's.
    if (part == kFirstChoicePart && ChoiceOfPart(control.surface(), part)) {
      lines.push_back("prompt " + Quote(kPromptCaption));
    }
    lines.push_back(PartLine("part " + std::to_string(part), *DescribePart(control, part)));
  }
  const auto focused = FocusedPart(control);
  lines.push_back("focus " + (focused ? std::to_string(*focused) : std::string("none")));
  return lines;
}

}  // namespace velmora::cli
