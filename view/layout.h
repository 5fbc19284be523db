#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "view/picture.h"

namespace velmora {

// The controls the surface is made of (docs/names.md maps them to their designer names). Those
// that come in arrays carry an index.
enum class ControlName : std::uint8_t {
  kBackground,      // the whole design's background
  kBoardBorder,     // the frame round the board
  kSquare,          // a square's colour, 1 to 64
  kSquarePicture,   // a square's piece picture, 1 to 64; 0 is the hidden spare holder
  kRankLabel,       // the rank digits, 0 (row 8) to 7 (row 1)
  kFileLabel,       // the file letters under the board
  kTitleLabel,      // the title
  kMoveDisplay,     // the read-only move display (GetMove)
  kPromptBackdrop,  // the backdrop behind the promotion panels
  kWhitePanel,      // the promotion panel of the upper-case (white) side
  kBlackPanel,      // the promotion panel of the lower-case (black) side
  kChoice,          // a promotion choice, 0 to 7, inside its panel
  kSpare,           // a spare piece or the eraser beside a board in edit mode, by place
};

enum class ControlKind : std::uint8_t { kShape, kImage, kLabel, kTextBox, kPanel };

struct ControlRef {
  ControlName name;
  std::int16_t index = -1;  // -1 for a control that is not part of an array

  friend bool operator==(ControlRef, ControlRef) = default;
};

struct Rgb {
  std::uint8_t r, g, b;
  friend bool operator==(Rgb, Rgb) = default;
};

struct Font {
  std::u16string_view face;
  double points;
  bool bold;
};

// Painting order, bottom to top. Child windows (text boxes, panels) lie above everything drawn
// on the surface itself.
enum class Layer : std::uint8_t {
  kBackground,
  kBorder,
  kSquares,
  kPictures,
  kLabels,
  kBackdrop,
  kChildWindows,
};

struct ControlSpec {
  ControlRef ref;
  ControlKind kind;
  Layer layer;
  // Twips; relative to the surface, or to the panel for a control inside one.
  std::int32_t left, top, width, height;
  bool visible;
  std::optional<ControlName> parent{};  // the panel a choice sits in
  std::optional<Rgb> back{};            // opaque fill or background; none = transparent
  std::optional<Rgb> fore{};            // text colour; none = the window-text colour
  std::int16_t outline_width = 0;       // shapes only, pixels
  std::u16string_view caption{};
  std::optional<Font> font{};
  bool enabled = true;
  bool centred = false;
  Picture design_picture = Picture::kNone;
};

namespace colours {
inline constexpr Rgb kDarkSquare{255, 128, 0};
inline constexpr Rgb kLightSquare{255, 192, 128};
inline constexpr Rgb kBorder{192, 64, 0};
inline constexpr Rgb kBackground{128, 64, 64};
inline constexpr Rgb kWindowText{0, 0, 0};
}  // namespace colours

// The visible design fits in this rectangle from the surface's top-left corner.
inline constexpr std::int32_t kDesignWidth = 6735;
inline constexpr std::int32_t kDesignHeight = 7335;
inline constexpr std::int32_t kTwipsPerPixel = 15;  // at 96 dots per inch

inline constexpr std::u16string_view kFileLetters =
    u"     A         B           C          D         E           F          G          H";
inline constexpr std::u16string_view kPromptCaption = u"Promote To?";
inline constexpr std::u16string_view kTitle = u"Velmora";

struct Point {
  std::int32_t x, y;
};

// Which side the board is drawn from: a view of the board, never part of it. Square numbers,
// names and position texts stay in board terms whichever way it is turned.
enum class BoardOrientation : std::uint8_t { kWhiteAtBottom = 0, kBlackAtBottom = 1 };

// The square of the design (white at the bottom) whose place square n (1 to 64) takes when
// the board is drawn `orientation`: turning is a half turn, so it is its own inverse.
constexpr std::int16_t DrawnSquare(std::int16_t n, BoardOrientation orientation) {
  return orientation == BoardOrientation::kBlackAtBottom ? static_cast<std::int16_t>(65 - n) : n;
}

// Where a square is drawn, counted from the board's top-left corner: row 0 at the top,
// column 0 at the left.
struct DrawnPlace {
  int row, column;
  friend bool operator==(DrawnPlace, DrawnPlace) = default;
};
DrawnPlace PlaceOfSquare(std::int16_t n, BoardOrientation orientation);
// The square drawn at a place; none off the board.
std::optional<std::int16_t> SquareAtPlace(DrawnPlace place, BoardOrientation orientation);
// The neighbour of square n `up` rows higher and `right` columns further right as drawn; none
// past the edge.
std::optional<std::int16_t> SquareToward(std::int16_t n, int up, int right,
                                         BoardOrientation orientation);

// Top-left corner of square n (1 to 64) in twips; square 1 (A1) is bottom-left.
Point SquareOrigin(std::int16_t n);
// The same as drawn `orientation`: with black at the bottom, A1 is top-right.
inline Point SquareOrigin(std::int16_t n, BoardOrientation orientation) {
  return SquareOrigin(DrawnSquare(n, orientation));
}
// A1 is dark: the squares where row + column is even.
Rgb SquareColour(std::int16_t n);
// What square n (1 to 64) shows in the design: the initial position's pieces, the transparent
// icon on the four middle rows.
Picture DesignSquarePicture(std::int16_t n);

// The captions of the coordinate labels as drawn: rank label k (0 the top one) reads "8" down
// to "1" with white at the bottom, "1" to "8" turned; the file letters read A to H, or H to A.
std::u16string_view RankLabelCaption(std::int16_t k, BoardOrientation orientation);
std::u16string_view FileLabelCaption(BoardOrientation orientation);

// The whole design, in painting order (bottom to top); within a layer the table's order holds.
std::span<const ControlSpec> DesignLayout();

// The entry for one control; nullptr if there is none.
const ControlSpec* FindControl(ControlRef ref);

// The letter a promotion choice stands for; none outside 0 to 7.
std::optional<char16_t> ChoiceLetter(std::int16_t k);

}  // namespace velmora
