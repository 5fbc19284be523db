#pragma once

#include <cmath>

#include "control/board_control.h"
#include "view/pixel_grid.h"

namespace velmora {

// A control's surface at `scale` times 96 dots per inch as a front end lays it: a board alone
// fitted to an area whose squares are the design's (48 pixels at 1x), the design as it is.
inline DeviceScale ScaleOf(const BoardControl& control, double scale) {
  const int side = static_cast<int>(std::lround(8 * 48 * scale));
  return ScaleOnArea(control.surface(), {0, 0, side, side}, scale);
}

}  // namespace velmora
