#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "view/display_list.h"
#include "view/layout.h"
#include "view/pixel_grid.h"
#include "view/surface.h"

namespace velmora {

// The parts assistive technology sees, one flat numbering every front end uses: 1 to 64 the
// squares by square number, 65 the move display, 66 to 69 the shown choices, queen first (only
// while the prompt's panel or the chooser is shown), or in edit mode (where no choice is ever
// shown) 66 to 78 the spare places 0 to 12. 0 is the board itself.
inline constexpr std::int16_t kBoardPart = 0;
inline constexpr std::int16_t kMoveDisplayPart = 65;
inline constexpr std::int16_t kFirstChoicePart = 66;
inline constexpr std::int16_t kChoicesShown = 4;

inline constexpr std::u16string_view kBoardName = u"Chess board";

constexpr bool IsSquarePart(std::int16_t part) {
  return part >= 1 && part <= 64;
}

// The first of the four choices shown now (0 white's, 4 black's), on the prompt's panel or the
// chooser; none while neither is shown.
std::optional<std::int16_t> ShownChoices(const Surface& surface);
// 65 without the choices, 69 with them, 78 in edit mode: parts 1 to this number exist now.
std::int16_t LastPart(const Surface& surface);
// The choice (0 to 7) behind part 66 to 69 of the shown choices; none when there is no such part.
std::optional<std::int16_t> ChoiceOfPart(const Surface& surface, std::int16_t part);
// The spare place (0 to 12) behind part 66 to 78 in edit mode; none for any other part.
std::optional<std::int16_t> SpareOfPart(const Surface& surface, std::int16_t part);
// The control a part is: a square's picture, the move display or a choice; none for a part not
// shown.
std::optional<ControlRef> ControlOfPart(const Surface& surface, std::int16_t part);
// The control whose place a part is drawn in: a chooser's choice takes its square's picture's,
// any other part its own.
std::optional<ControlRef> DrawnControlOfPart(const Surface& surface, std::int16_t part);

// Where a part is, in twips from the surface's top-left corner, squares as the board is turned;
// the board is the design.
std::optional<Rect> PartRect(const Surface& surface, std::int16_t part);
// The same on a device: what a screen reader is told a part's location is.
std::optional<PixelBox> PartBox(const Surface& surface, const PixelGrid& grid, std::int16_t part);
// The focus mark: a rectangle just inside the part it marks.
std::optional<Rect> FocusMarkRect(const Surface& surface, std::int16_t part);

// "E2, white pawn", "E3, empty", "E2, white pawn, picked up" while the square's piece is lifted,
// "E4, empty, legal destination" while the picked piece may go there; then what the square
// shows besides: "E4, white pawn, last move", "E1, white king, in check", "D5, empty, marked red"
// with a circle on it.
std::u16string SquarePartName(const Surface& surface, std::int16_t n);
// The arrows shown, in the order shown: "arrow G1 to F3, green; arrow E2 to E4, red"; empty
// without any.
std::u16string ArrowsWords(const Surface& surface);

}  // namespace velmora
