#pragma once

#include <cstdint>

namespace velmora {

// The two classes a host can create; one control serves both.
enum class ControlClass : std::uint8_t { kUserControl1, kChessBoard };

// What a class starts with and what it lets through. UserControl1 is the first class as hosts
// have always known it: none of the later members, nothing dragged, marked or animated.
struct Flavour {
  ControlClass control_class;
  bool later_members;  // the members after the first four, their saved values and events
  bool drag_enabled;
  bool show_legal_moves;
  std::int32_t orientation;
  bool show_last_move;
  std::int32_t animation_time;  // milliseconds
};

constexpr Flavour FlavourOf(ControlClass control_class) {
  constexpr Flavour kUserControl1{ControlClass::kUserControl1, false, false, false, 0, false, 0};
  constexpr Flavour kChessBoard{ControlClass::kChessBoard, true, true, true, 0, true, 150};
  return control_class == ControlClass::kChessBoard ? kChessBoard : kUserControl1;
}

}  // namespace velmora
