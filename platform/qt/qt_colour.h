#pragma once

#include <QColor>
#include <cstdint>

#include "control/members.h"

namespace velmora {

// A Colour member's value as a QColor, and back; an invalid QColor is a value no colour member
// takes (the write is refused).
inline QColor ToQColor(std::int32_t value) {
  const Rgb rgb = RgbOfColour(value);
  return QColor(rgb.r, rgb.g, rgb.b);
}

inline std::int32_t FromQColor(const QColor& colour) {
  if (!colour.isValid()) return -1;
  const QColor rgb = colour.toRgb();
  return ColourValue({static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
                      static_cast<std::uint8_t>(rgb.blue())});
}

}  // namespace velmora
