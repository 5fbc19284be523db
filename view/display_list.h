#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "view/destination_mark.h"
#include "view/layout.h"
#include "view/picture.h"
#include "view/surface.h"

namespace velmora {

struct Rect {
  std::int32_t left, top, width, height;  // twips from the surface's top-left corner
};

// Where a control lies on the surface: choices sit inside their panel, everything else is
// placed on the surface itself.
Rect SurfaceRect(const ControlSpec& spec);
// Where a control is drawn with black at the bottom: squares' shapes and pictures move.
Rect TurnedRect(const ControlSpec& spec);
// Where a control is drawn now: the same, with a square's shape and picture placed as the
// surface's orientation turns the board. Inline: every command of every list is placed.
inline Rect PlacedRect(const Surface& surface, const ControlSpec& spec) {
  if (surface.Orientation() == BoardOrientation::kWhiteAtBottom) return SurfaceRect(spec);
  return TurnedRect(spec);
}

enum class PaintKind : std::uint8_t {
  kRectangle,    // a shape: optional opaque fill, outline of line_width pixels
  kIcon,         // a picture drawn at its own size from the rectangle's top-left corner
  kText,         // a label: optional opaque background, caption in font and text colour
  kTextBox,      // a sunken text box with its text; the disabled look when !enabled
  kGroupFrame,   // a panel: filled box, etched frame and caption at the top
  kDestination,  // a legal destination's mark over a square's picture, in `destination` shape
  kTint,         // a last-move or picked square: `fill` over the square inside its outline
  kGlow,         // a square in check: a glow of colour `line`, strongest in the middle
  kCircles,      // every circle of `marks`, each inside its square's picture
  kArrows,       // every arrow of `marks`, each from its first square's picture to its second's
  kVeil,         // `fill` laid over the squares' pictures at `opacity`: the board dimmed
};

// The marks a layer of marks draws, and how the board is turned under them.
struct ShownMarks {
  std::shared_ptr<const std::vector<SquareMark>> marks;
  BoardOrientation orientation = BoardOrientation::kWhiteAtBottom;
};

// One simple paint command. Renderers paint a list of them in order, bottom to top, and know
// nothing about the layout.
struct PaintCommand {
  PaintKind kind;
  ControlRef source;
  Rect rect;
  std::optional<Rgb> fill;  // none: transparent
  Rgb line{0, 0, 0};        // outline (rectangles) and text colour
  std::int16_t line_width = 0;
  Picture picture = Picture::kNone;
  std::u16string text;
  std::optional<Font> font;
  bool centred = false;
  bool enabled = true;
  DestinationShape destination = DestinationShape::kDot;
  std::uint8_t opacity = 255;  // icons: a dragged piece's square shows it faded; the veil
  ShownMarks marks;
};

// The part a dragged piece is drawn for, and where it lies: centred on the pointer, one
// square's picture in size.
inline constexpr ControlRef kDraggedPieceSource{ControlName::kSquarePicture, 0};
Rect DraggedPieceRect(const DraggedPiece& drag);

// Where a sliding piece is drawn: a square's picture in size, from its corner.
Rect SlidingPieceRect(const SlidingPiece& piece);

using DisplayList = std::vector<PaintCommand>;

// The surface as it looks now: every shown control in painting order. Hidden controls are
// left out; a picture slot that shows nothing is left out too. `move_text` is what the move
// display holds. Squares and coordinate labels are placed as the board is turned. Last-move
// tints, the picked square's tint (where the surface tints it), the check glow and the circle
// marks (one command for them all) lie over the squares and under the pieces; legal-destination
// marks, then sliding pieces (whose squares show nothing until they land), then the arrows (one
// command) lie over the pieces and under everything after them. The promotion chooser, while
// shown, comes next: the veil over the board, then each choice's square and piece. The focus
// mark, while the surface shows one, comes next; a dragged piece is the last command.
DisplayList BuildDisplayList(const Surface& surface, std::u16string_view move_text);

}  // namespace velmora
