#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "board/move_text.h"
#include "board/square_marks.h"
#include "control/flavour.h"

namespace velmora {

// The values of the members after the first four; the flavour gives their defaults.
struct BoardSettings {
  bool drag_enabled = false;
  bool show_legal_moves = false;
  std::int32_t orientation = 0;
  std::optional<MoveText> last_move;
  bool show_last_move = false;
  std::optional<Square> check_square;
  std::vector<SquareMark> marks;
  std::vector<SquareMark> user_marks;
  std::int32_t animation_time = 0;
};

inline BoardSettings DefaultSettings(const Flavour& flavour) {
  BoardSettings settings;
  settings.drag_enabled = flavour.drag_enabled;
  settings.show_legal_moves = flavour.show_legal_moves;
  settings.orientation = flavour.orientation;
  settings.show_last_move = flavour.show_last_move;
  settings.animation_time = flavour.animation_time;
  return settings;
}

}  // namespace velmora
