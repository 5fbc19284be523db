#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "board/move_text.h"
#include "board/square_marks.h"
#include "control/members.h"

namespace velmora {

// A square colour left to the theme (no colour holds a negative value).
inline constexpr std::int32_t kThemesColour = -1;

// The values of a ChessBoard's members beyond the first class's; the member table gives their
// defaults.
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
  std::int32_t theme = 0;
  // Colours set over the theme's until it is written; kThemesColour for the theme's own.
  std::int32_t light_square = kThemesColour, dark_square = kThemesColour;
  std::int32_t coordinates = 0;
  bool edit_mode = false;
};

inline BoardSettings DefaultSettings(ControlClass control_class) {
  const auto truth = [&](MemberId id) {
    return std::get<bool>(DefaultOf(MemberOf(id), control_class));
  };
  const auto number = [&](MemberId id) {
    return std::get<std::int32_t>(DefaultOf(MemberOf(id), control_class));
  };
  BoardSettings settings;
  settings.drag_enabled = truth(MemberId::kDragEnabled);
  settings.show_legal_moves = truth(MemberId::kShowLegalMoves);
  settings.orientation = number(MemberId::kOrientation);
  settings.show_last_move = truth(MemberId::kShowLastMove);
  settings.animation_time = number(MemberId::kAnimationTime);
  settings.theme = number(MemberId::kTheme);
  settings.coordinates = number(MemberId::kCoordinates);
  settings.edit_mode = truth(MemberId::kEditMode);
  return settings;
}

}  // namespace velmora
