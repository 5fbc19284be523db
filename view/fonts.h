#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "view/layout.h"

namespace velmora {

// The three faces the surface's text uses: the captions' sans serif, the move display's serif
// and the title's heavy display face.
enum class FontFace : std::uint8_t { kSans, kSerif, kHeavy };

// A family to try for a face, with the font files that carry it where the system keeps fonts
// as files (empty when it ships with no such file).
struct FontFamily {
  std::u16string_view name;
  std::string_view regular_file;
  std::string_view bold_file;
};

// The families a canvas tries for a face, best first: the design's own face, then faces the
// usual systems ship in the same style. A canvas takes the first one it has.
std::span<const FontFamily> FamiliesOf(FontFace face);

// A font as every canvas draws it: the face, its em size in device pixels and its weight.
struct TextFont {
  FontFace face;
  int pixels;
  bool bold;
  friend bool operator==(TextFont, TextFont) = default;
};

// The design's font (the default sans when a control names none) at `pixels_per_twip` down
// the device: a point is 20 twips.
TextFont TextFontFor(const std::optional<Font>& design, double pixels_per_twip);

// How one text lays out in one font, in device pixels.
struct TextMetrics {
  int width;   // advance of the whole text
  int ascent;  // baseline below the top of a line
  int height;  // line height
  friend bool operator==(TextMetrics, TextMetrics) = default;
};

}  // namespace velmora
