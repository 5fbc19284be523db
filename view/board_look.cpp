#include "view/board_look.h"

namespace velmora {

SquareColours ThemeColours(Theme theme) {
  switch (theme) {
    case Theme::kBrown:
      return {{240, 217, 181}, {181, 136, 99}};
    case Theme::kBlue:
      return {{222, 227, 230}, {140, 162, 173}};
    case Theme::kGreen:
      return {{238, 238, 210}, {118, 150, 86}};
    case Theme::kGrey:
      return {{220, 220, 220}, {150, 150, 150}};
    case Theme::kContrast:
      // For low vision: white against a deep blue that both piece colours stand out on.
      return {{255, 255, 255}, {0, 90, 181}};
    case Theme::kClassic:
      break;
  }
  return {colours::kLightSquare, colours::kDarkSquare};
}

Rgb ThemeBackground(Theme theme) {
  switch (theme) {
    case Theme::kContrast:
      return {0, 0, 0};
    case Theme::kClassic:
      return colours::kBackground;
    default:
      return {248, 247, 245};
  }
}

}  // namespace velmora
