#include "view/fonts.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

// DejaVu Sans keeps the design sans serif's space of about a third of its height, so the file
// letters' caption still puts each letter under its column.
constexpr FontFamily kSans[] = {
    {u"MS Sans Serif", {}, {}},
    {u"Microsoft Sans Serif", {}, {}},
    {u"DejaVu Sans", "DejaVuSans.ttf", "DejaVuSans-Bold.ttf"},
    {u"Tahoma", {}, {}},
    {u"Arial", {}, {}},
    {u"Liberation Sans", "LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf"},
};
constexpr FontFamily kSerif[] = {
    {u"Times New Roman", {}, {}},
    {u"Liberation Serif", "LiberationSerif-Regular.ttf", "LiberationSerif-Bold.ttf"},
    {u"DejaVu Serif", "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf"},
};
// A heavy display face: where only files are at hand, the boldest sans there is.
constexpr FontFamily kHeavy[] = {
    {u"Napa Heavy SF", {}, {}},
    {u"Arial Black", {}, {}},
    {u"Tahoma", {}, {}},
    {u"Arial", {}, {}},
    {u"DejaVu Sans", "DejaVuSans-Bold.ttf", "DejaVuSans-Bold.ttf"},
    {u"Liberation Sans", "LiberationSans-Bold.ttf", "LiberationSans-Bold.ttf"},
};

constexpr Font kDefaultFont{u"MS Sans Serif", 8.25, false};

}  // namespace

std::span<const FontFamily> FamiliesOf(FontFace face) {
  switch (face) {
    case FontFace::kSerif:
      return kSerif;
    case FontFace::kHeavy:
      return kHeavy;
    case FontFace::kSans:
      break;
  }
  return kSans;
}

TextFont TextFontFor(const std::optional<Font>& design, double pixels_per_twip) {
  const Font font = design.value_or(kDefaultFont);
  const FontFace face = font.face == kSerif[0].name   ? FontFace::kSerif
                        : font.face == kHeavy[0].name ? FontFace::kHeavy
                                                      : FontFace::kSans;
  const int pixels = std::max(1, static_cast<int>(std::lround(font.points * 20 * pixels_per_twip)));
  return {face, pixels, font.bold};
}

}  // namespace velmora
