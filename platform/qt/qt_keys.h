#pragma once

#include <cstdint>

namespace velmora {

// The Windows virtual-key code the core knows for a Qt key; 0 for a key it has no code for.
std::int16_t VirtualKeyOf(int qt_key);

}  // namespace velmora
