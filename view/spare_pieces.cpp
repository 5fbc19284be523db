#include "view/spare_pieces.h"

#include "view/announcement.h"

namespace velmora {

char16_t SpareLetter(std::int16_t place, BoardOrientation orientation) {
  if (!IsSparePlace(place) || place == kEraserPlace) return kEmptyCell;
  constexpr std::u16string_view kWhite = u"KQRBNP";
  constexpr std::u16string_view kBlack = u"kqrbnp";
  // The near line holds the side drawn at the bottom.
  const bool near = place >= 6;
  const bool white = near == (orientation == BoardOrientation::kWhiteAtBottom);
  return (white ? kWhite : kBlack)[static_cast<std::size_t>(place % 6)];
}

std::u16string SpareName(std::int16_t place, BoardOrientation orientation) {
  if (place == kEraserPlace) return u"eraser";
  return u"spare " + PictureWords(*PictureForCell(SpareLetter(place, orientation)));
}

}  // namespace velmora
