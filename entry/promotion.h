#pragma once

#include <cstdint>
#include <optional>

#include "view/layout.h"

namespace velmora {

// The panel that asks which piece a pawn becomes: a "P" put down on row 8 asks with the white
// panel, a "p" put down on row 1 with the black one. Any other move asks nothing.
constexpr std::optional<ControlName> PromotionPanel(char16_t piece, std::int16_t to_row) {
  if (piece == u'P' && to_row == 8) return ControlName::kWhitePanel;
  if (piece == u'p' && to_row == 1) return ControlName::kBlackPanel;
  return std::nullopt;
}

}  // namespace velmora
