#include "view/accessible_parts.h"

#include "board/square.h"
#include "view/announcement.h"
#include "view/spare_pieces.h"

namespace velmora {
namespace {

// Three pixels at 96 dots per inch: clear of the square's edge, well inside the piece's cell.
constexpr std::int32_t kMarkInset = 3 * kTwipsPerPixel;

}  // namespace

std::optional<std::int16_t> ShownChoices(const Surface& surface) {
  if (surface.Chooser() != 0) return ChooserFirstChoice(surface.Chooser());
  if (surface.IsVisible(ControlName::kWhitePanel)) return 0;
  if (surface.IsVisible(ControlName::kBlackPanel)) return 4;
  return std::nullopt;
}

std::int16_t LastPart(const Surface& surface) {
  if (surface.EditMode()) return kFirstSparePart + kSparePlaces - 1;
  return ShownChoices(surface) ? kFirstChoicePart + kChoicesShown - 1 : kMoveDisplayPart;
}

std::optional<std::int16_t> ChoiceOfPart(const Surface& surface, std::int16_t part) {
  const auto first = ShownChoices(surface);
  if (!first || part < kFirstChoicePart || part >= kFirstChoicePart + kChoicesShown) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(*first + part - kFirstChoicePart);
}

std::optional<std::int16_t> SpareOfPart(const Surface& surface, std::int16_t part) {
  const auto place = static_cast<std::int16_t>(part - kFirstSparePart);
  if (!surface.EditMode() || !IsSparePlace(place)) return std::nullopt;
  return place;
}

std::optional<ControlRef> ControlOfPart(const Surface& surface, std::int16_t part) {
  if (const auto place = SpareOfPart(surface, part)) return ControlRef{ControlName::kSpare, *place};
  if (IsSquarePart(part)) return ControlRef{ControlName::kSquarePicture, part};
  if (part == kMoveDisplayPart) return ControlRef{ControlName::kMoveDisplay};
  if (const auto k = ChoiceOfPart(surface, part)) return ControlRef{ControlName::kChoice, *k};
  return std::nullopt;
}

std::optional<ControlRef> DrawnControlOfPart(const Surface& surface, std::int16_t part) {
  const std::int16_t chooser = surface.Chooser();
  if (chooser != 0 && ChoiceOfPart(surface, part)) {
    const auto i = static_cast<std::int16_t>(part - kFirstChoicePart);
    return ControlRef{ControlName::kSquarePicture, ChooserSquare(chooser, i)};
  }
  return ControlOfPart(surface, part);
}

std::optional<Rect> PartRect(const Surface& surface, std::int16_t part) {
  if (part == kBoardPart) return Rect{0, 0, kDesignWidth, kDesignHeight};
  const auto ref = DrawnControlOfPart(surface, part);
  if (!ref) return std::nullopt;
  // A spare place is placed by the grid alone.
  if (ref->name == ControlName::kSpare) return kSpareCell;
  return PlacedRect(surface, *FindControl(*ref));
}

std::optional<PixelBox> PartBox(const Surface& surface, const PixelGrid& grid, std::int16_t part) {
  if (part == kBoardPart) return grid.DesignBox();
  const auto ref = DrawnControlOfPart(surface, part);
  if (!ref) return std::nullopt;
  return grid.BoxOf(*ref, *PartRect(surface, part));
}

std::optional<Rect> FocusMarkRect(const Surface& surface, std::int16_t part) {
  auto rect = PartRect(surface, part);
  if (!rect) return std::nullopt;
  rect->left += kMarkInset;
  rect->top += kMarkInset;
  rect->width -= 2 * kMarkInset;
  rect->height -= 2 * kMarkInset;
  return rect;
}

std::u16string SquarePartName(const Surface& surface, std::int16_t n) {
  std::u16string name = SquareName(SquareOf(n)) + u", ";
  if (surface.Picked() == n) {
    name += PictureWords(surface.PictureOf(0)) + u", picked up";
  } else {
    name += PictureWords(surface.PictureOf(n));
    if (surface.IsDestination(n)) name += u", legal destination";
  }
  if (surface.IsLastMoveSquare(n)) name += u", last move";
  if (surface.CheckSquare() == n) name += u", in check";
  for (const SquareMark& mark : surface.Marks()) {
    if (!IsCircle(mark) || SquareNumber(mark.from) != n) continue;
    name += u", marked ";
    name += ColourWord(mark.colour);
  }
  return name;
}

std::u16string ArrowsWords(const Surface& surface) {
  std::u16string words;
  for (const SquareMark& mark : surface.Marks()) {
    if (IsCircle(mark)) continue;
    if (!words.empty()) words += u"; ";
    words += ArrowWords(mark.from, *mark.to, mark.colour);
  }
  return words;
}

}  // namespace velmora
