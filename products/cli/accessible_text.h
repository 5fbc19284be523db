#pragma once

#include <string>
#include <vector>

#include "control/board_control.h"

namespace velmora::cli {

// What `accessible` prints: the board, each part with its role, name, value and states, the
// prompt while it is shown, and where the focus is.
//   board table "Chess board"
//   part 13 cell "E2, white pawn" focusable focused
//   part 65 text "white pawn E2 to E4" value "E2-E4"
//   prompt "Promote To?"
//   part 66 button "white queen" focusable
//   focus 13
std::vector<std::string> AccessibleLines(const BoardControl& control);

}  // namespace velmora::cli
