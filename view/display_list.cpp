#include "view/display_list.h"

#include <cstdlib>

#include "view/accessible_parts.h"
#include "view/highlight.h"
#include "view/spare_pieces.h"

namespace velmora {

Rect SurfaceRect(const ControlSpec& spec) {
  Rect rect{spec.left, spec.top, spec.width, spec.height};
  if (spec.parent) {
    const ControlSpec* panel = FindControl({*spec.parent});
    rect.left += panel->left;
    rect.top += panel->top;
  }
  return rect;
}

Rect TurnedRect(const ControlSpec& spec) {
  Rect rect = SurfaceRect(spec);
  const bool square_part =
      (spec.ref.name == ControlName::kSquare || spec.ref.name == ControlName::kSquarePicture) &&
      spec.ref.index >= 1 && spec.ref.index <= 64;
  if (!square_part) return rect;
  const Point designed = SquareOrigin(spec.ref.index);
  const Point drawn = SquareOrigin(spec.ref.index, BoardOrientation::kBlackAtBottom);
  rect.left += drawn.x - designed.x;
  rect.top += drawn.y - designed.y;
  return rect;
}

Rect DraggedPieceRect(const DraggedPiece& drag) {
  const ControlSpec* slot = FindControl({ControlName::kSquarePicture, drag.square});
  return {drag.x - slot->width / 2, drag.y - slot->height / 2, slot->width, slot->height};
}

Rect SlidingPieceRect(const SlidingPiece& piece) {
  const ControlSpec* slot = FindControl({ControlName::kSquarePicture, piece.to});
  return {piece.x, piece.y, slot->width, slot->height};
}

namespace {

// How much of a dragged piece its own square still shows, out of 255.
constexpr std::uint8_t kFadedOpacity = 96;

// The coordinate labels read as the board is turned; every other label keeps its caption.
std::u16string_view LabelCaption(const Surface& surface, const ControlSpec& spec) {
  if (spec.ref.name == ControlName::kRankLabel) {
    return RankLabelCaption(spec.ref.index, surface.Orientation());
  }
  if (spec.ref.name == ControlName::kFileLabel) return FileLabelCaption(surface.Orientation());
  return spec.caption;
}

// A square slot shows what the surface holds now; every other image keeps its design picture.
Picture ShownPicture(const Surface& surface, const ControlSpec& spec) {
  const bool square = spec.ref.name == ControlName::kSquarePicture && spec.ref.index >= 1;
  return square ? surface.PictureOf(spec.ref.index) : spec.design_picture;
}

// Fills a new command in place: a paint builds a hundred or more of them.
void FillCommand(PaintCommand& command, const Surface& surface, const ControlSpec& spec,
                 std::u16string_view move_text) {
  // A board alone stands on its theme's background, with no frame round it.
  const bool alone_background = surface.BoardAlone() && spec.ref.name == ControlName::kBackground;
  command.kind = PaintKind::kRectangle;
  command.source = spec.ref;
  command.rect = PlacedRect(surface, spec);
  command.fill = spec.ref.name == ControlName::kSquare ? surface.SquareFill(spec.ref.index)
                 : alone_background                    ? surface.Look().background
                                                       : spec.back;
  command.line = spec.fore.value_or(colours::kWindowText);
  command.font = spec.font;
  command.centred = spec.centred;
  command.enabled = spec.enabled;
  switch (spec.kind) {
    case ControlKind::kShape:
      command.line_width =
          (surface.BoardAlone() && spec.ref.name == ControlName::kSquare) || alone_background
              ? 0
              : spec.outline_width;
      break;
    case ControlKind::kImage:
      command.kind = PaintKind::kIcon;
      command.picture = ShownPicture(surface, spec);
      break;
    case ControlKind::kLabel:
      command.kind = PaintKind::kText;
      command.text = LabelCaption(surface, spec);
      break;
    case ControlKind::kTextBox:
      command.kind = PaintKind::kTextBox;
      // The move display is the one text box.
      command.text = move_text;
      break;
    case ControlKind::kPanel:
      command.kind = PaintKind::kGroupFrame;
      command.text = spec.caption;
      break;
  }
}

// Turns the picture of the square a piece is dragged from into that piece, faded; false for
// any other part.
bool ShowFaded(const Surface& surface, const ControlSpec& spec, PaintCommand& command) {
  const auto& drag = surface.Drag();
  if (!drag || spec.ref != ControlRef{ControlName::kSquarePicture, drag->square}) return false;
  command.picture = surface.PictureOf(0);
  command.opacity = kFadedOpacity;
  return true;
}

// A mark for each square the surface marks as a destination, a ring round a piece, else a
// dot, placed over the pictures and under everything drawn above them.
void AddDestinations(const Surface& surface, DisplayList& list) {
  for (std::int16_t n = 1; n <= 64; ++n) {
    if (!surface.IsDestination(n)) continue;
    const ControlSpec* slot = FindControl({ControlName::kSquarePicture, n});
    PaintCommand command;
    command.kind = PaintKind::kDestination;
    command.source = slot->ref;
    command.rect = PlacedRect(surface, *slot);
    command.line = kDestinationColour;
    command.destination =
        IsPiece(surface.PictureOf(n)) ? DestinationShape::kRing : DestinationShape::kDot;
    list.push_back(std::move(command));
  }
}

// A command over square n's shape, inside its outline.
PaintCommand SquareHighlight(const Surface& surface, std::int16_t n, PaintKind kind) {
  const ControlSpec* square = FindControl({ControlName::kSquare, n});
  PaintCommand command;
  command.kind = kind;
  command.source = square->ref;
  command.rect = PlacedRect(surface, *square);
  return command;
}

// The square a picked piece stays on, where the surface tints it; 0 for none.
std::int16_t TintedSelection(const Surface& surface) {
  return surface.SelectionTinted() ? surface.Picked() : std::int16_t{0};
}

// The last move's tints and the picked square's (which takes the selection's on a last move's
// square too), then the check glow, added once the squares are in the list and before the pieces.
void AddHighlights(const Surface& surface, DisplayList& list) {
  const std::int16_t picked = TintedSelection(surface);
  for (std::int16_t n = 1; n <= 64; ++n) {
    if (n != picked && !surface.IsLastMoveSquare(n)) continue;
    PaintCommand tint = SquareHighlight(surface, n, PaintKind::kTint);
    tint.fill = n == picked ? TintedColour(kSelectionTint, kSelectionOpacity, surface.SquareFill(n))
                            : LastMoveColour(surface.SquareFill(n));
    list.push_back(std::move(tint));
  }
  if (const std::int16_t check = surface.CheckSquare(); check != 0) {
    PaintCommand glow = SquareHighlight(surface, check, PaintKind::kGlow);
    glow.line = kCheckGlow;
    list.push_back(std::move(glow));
  }
}

// A board alone's coordinates as drawn: inside, each file's letter in the bottom row's right
// corner and each rank's digit in the left column's top corner, in the other square colour;
// outside, centred below the bottom row and left of the left column, in the square colour that
// stands out more from the background.
void AddCoordinates(const Surface& surface, DisplayList& list) {
  // About a fifth of the square, as boards in use show them.
  constexpr Font kCoordinateFont{u"MS Sans Serif", 10, true};
  constexpr std::int32_t kSide = 720, kWide = 260, kHigh = 290, kInset = 30;
  const bool inside = surface.Look().coordinates == Coordinates::kInside;
  const SquareColours& colours = surface.Look().squares;
  const auto brightness = [](Rgb c) { return 299 * c.r + 587 * c.g + 114 * c.b; };
  const int background = brightness(surface.Look().background);
  const Rgb outside_colour = std::abs(brightness(colours.dark) - background) >
                                     std::abs(brightness(colours.light) - background)
                                 ? colours.dark
                                 : colours.light;
  const auto label = [&](std::int16_t drawn, char16_t text, bool file) {
    const ControlSpec* picture = FindControl({ControlName::kSquarePicture, drawn});
    const Rect square = SurfaceRect(*picture);
    PaintCommand command;
    command.kind = PaintKind::kText;
    command.source = picture->ref;
    if (inside) {
      command.rect = file ? Rect{square.left + kSide - kWide - kInset,
                                 square.top + kSide - kHigh - kInset, kWide, kHigh}
                          : Rect{square.left + kInset, square.top + kInset, kWide, kHigh};
      command.line = surface.SquareFill(drawn) == colours.light ? colours.dark : colours.light;
    } else {
      command.rect =
          file ? Rect{square.left + (kSide - kWide) / 2, square.top + kSide + kInset, kWide, kHigh}
               : Rect{square.left - kWide - kInset, square.top + (kSide - kHigh) / 2, kWide, kHigh};
      command.line = outside_colour;
    }
    command.font = kCoordinateFont;
    command.centred = true;
    command.text = std::u16string(1, text);
    list.push_back(std::move(command));
  };
  const bool turned = surface.Orientation() == BoardOrientation::kBlackAtBottom;
  for (std::int16_t k = 0; k < 8; ++k) {
    label(static_cast<std::int16_t>(1 + k), static_cast<char16_t>(turned ? u'h' - k : u'a' + k),
          true);
    label(static_cast<std::int16_t>(1 + 8 * k), static_cast<char16_t>(turned ? u'8' - k : u'1' + k),
          false);
  }
}

// The circles or the arrows over the squares' pictures: one command for all of them, which
// the painter lays from coverage it keeps while the marks, the grid and the orientation hold.
PaintCommand MarksCommand(const Surface& surface, PaintKind kind) {
  const ControlSpec* first = FindControl({ControlName::kSquarePicture, 1});
  PaintCommand command;
  command.kind = kind;
  command.source = first->ref;
  command.rect = SurfaceRect(*first);
  command.marks = {surface.SharedMarks(), surface.Orientation()};
  return command;
}

// What lies over the squares' pictures and under the labels: the destination marks, the
// sliding pieces, and the arrows over them.
void AddOverPictures(const Surface& surface, DisplayList& list) {
  if (surface.Destinations() != 0) AddDestinations(surface, list);
  for (const auto& slide : surface.Sliding()) {
    if (!slide) continue;
    PaintCommand command;
    command.kind = PaintKind::kIcon;
    command.source = kDraggedPieceSource;
    command.rect = SlidingPieceRect(*slide);
    command.picture = slide->picture;
    list.push_back(std::move(command));
  }
  if (!surface.Marks().empty()) list.push_back(MarksCommand(surface, PaintKind::kArrows));
}

// The chooser over the board: the board dimmed, and each choice's piece on its own square, in
// the squares' places so it lands on the pixel grid's squares in any layout.
void AddChooser(const Surface& surface, DisplayList& list) {
  const std::int16_t chooser = surface.Chooser();
  const ControlSpec* first = FindControl({ControlName::kSquarePicture, 1});
  PaintCommand veil;
  veil.kind = PaintKind::kVeil;
  veil.source = first->ref;
  veil.rect = SurfaceRect(*first);
  veil.fill = kChooserVeil;
  veil.opacity = kChooserVeilOpacity;
  list.push_back(std::move(veil));
  for (std::int16_t i = 0; i < kChooserChoices; ++i) {
    const ControlSpec* slot = FindControl({ControlName::kSquarePicture, ChooserSquare(chooser, i)});
    PaintCommand square;
    square.kind = PaintKind::kRectangle;
    square.source = slot->ref;
    square.rect = PlacedRect(surface, *slot);
    square.fill = kChooserSquare;
    PaintCommand piece = square;
    piece.kind = PaintKind::kIcon;
    piece.fill.reset();
    const auto choice = static_cast<std::int16_t>(ChooserFirstChoice(chooser) + i);
    piece.picture = FindControl({ControlName::kChoice, choice})->design_picture;
    list.push_back(std::move(square));
    list.push_back(std::move(piece));
  }
}

// The spare pieces' cells beside a board in edit mode, the armed one tinted as a selection, each
// with its piece, and the eraser drawn as a block with a band.
void AddSpares(const Surface& surface, DisplayList& list) {
  constexpr Rgb kEraserBody{236, 140, 150};
  constexpr Rgb kEraserBand{70, 110, 200};
  const Rgb cell = surface.Look().squares.light;
  const auto add = [&list](std::int16_t place, const Rect& rect,
                           std::optional<Rgb> fill) -> PaintCommand& {
    PaintCommand& command = list.emplace_back();
    command.kind = PaintKind::kRectangle;
    command.source = {ControlName::kSpare, place};
    command.rect = rect;
    command.fill = fill;
    return command;
  };
  for (std::int16_t place = 0; place < kSparePlaces; ++place) {
    add(place, kSpareCell,
        place == surface.Armed() ? TintedColour(kSelectionTint, kSelectionOpacity, cell) : cell);
    if (place == kEraserPlace) {
      PaintCommand& body = add(place, {120, 240, 480, 240}, kEraserBody);
      body.line_width = 1;
      add(place, {120, 240, 150, 240}, kEraserBand).line_width = 1;
      continue;
    }
    PaintCommand& piece = add(place, kSpareCell, std::nullopt);
    piece.kind = PaintKind::kIcon;
    piece.picture = *PictureForCell(SpareLetter(place, surface.Orientation()));
  }
}

}  // namespace

DisplayList BuildDisplayList(const Surface& surface, std::u16string_view move_text) {
  DisplayList list;
  // Room for the three tints, the glow, the focus mark, a dragged piece, a sliding one, the
  // circles and arrows, and the chooser.
  list.reserve(DesignLayout().size() + 18 + (surface.EditMode() ? 3 * kSparePlaces : 0));
  // The layout goes up layer by layer: what lies between two layers goes in where one ends.
  bool highlights_due =
      surface.LastMoveSquares() != 0 || surface.CheckSquare() != 0 || TintedSelection(surface) != 0;
  // A board alone draws its own coordinates; the design has its labels round the board.
  bool coordinates_due =
      surface.Look().coordinates == Coordinates::kInside ||
      (surface.BoardAlone() && surface.Look().coordinates == Coordinates::kOutside);
  bool circles_due = !surface.Marks().empty();
  bool over_pictures_due =
      surface.Destinations() != 0 || !surface.Marks().empty() || surface.IsSliding();
  for (const ControlSpec& spec : DesignLayout()) {
    if (highlights_due && spec.layer > Layer::kSquares) {
      AddHighlights(surface, list);
      highlights_due = false;
    }
    if (coordinates_due && spec.layer > Layer::kSquares) {
      AddCoordinates(surface, list);
      coordinates_due = false;
    }
    if (circles_due && spec.layer >= Layer::kPictures) {
      list.push_back(MarksCommand(surface, PaintKind::kCircles));
      circles_due = false;
    }
    if (over_pictures_due && spec.layer > Layer::kPictures) {
      AddOverPictures(surface, list);
      over_pictures_due = false;
    }
    if (!surface.IsShown(spec)) continue;
    PaintCommand& command = list.emplace_back();
    FillCommand(command, surface, spec, move_text);
    // The square a piece is dragged from shows it faded, whether or not it shows it otherwise;
    // a square a piece slides to shows nothing until it lands.
    if (command.kind == PaintKind::kIcon &&
        ((!ShowFaded(surface, spec, command) && command.picture == Picture::kNone) ||
         (spec.ref.name == ControlName::kSquarePicture && surface.IsLanding(spec.ref.index)))) {
      list.pop_back();
    }
  }
  if (circles_due) list.push_back(MarksCommand(surface, PaintKind::kCircles));
  if (over_pictures_due) AddOverPictures(surface, list);
  if (surface.EditMode()) AddSpares(surface, list);
  if (surface.Chooser() != 0) AddChooser(surface, list);
  // Drawn last: the mark lies over the square's piece, or over the shown choice.
  const std::int16_t marked = surface.FocusMark();
  if (const auto mark = marked != 0 ? FocusMarkRect(surface, marked) : std::nullopt) {
    PaintCommand command;
    command.kind = PaintKind::kRectangle;
    command.source = *DrawnControlOfPart(surface, marked);
    command.rect = *mark;
    command.line = colours::kWindowText;
    command.line_width = 1;
    list.push_back(std::move(command));
  }
  // Drawn last: the dragged piece lies over everything.
  if (const auto& drag = surface.Drag()) {
    PaintCommand command;
    command.kind = PaintKind::kIcon;
    command.source = kDraggedPieceSource;
    command.rect = DraggedPieceRect(*drag);
    command.picture = surface.PictureOf(0);
    list.push_back(std::move(command));
  }
  return list;
}

}  // namespace velmora
