#pragma once

#include <cstdint>
#include <optional>

#include "view/layout.h"

namespace velmora {

// The panel that asks which piece a pawn becomes: a "P" put down on row 8 asks with Frame1, a
// "p" put down on row 1 with Frame2. Any other move asks nothing.
constexpr std::optional<ControlName> PromotionPanel(char16_t piece, std::int16_t to_row) {
  if (piece == u'P' && to_row == 8) return ControlName::kFrame1;
  if (piece == u'p' && to_row == 1) return ControlName::kFrame2;
  return std::nullopt;
}

}  // namespace velmora
