#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "control/host.h"
#include "control/members.h"

namespace velmora::cli {

// A property is a member of the table that holds a value (every one but a method).
using Property = MemberId;

struct SetOp {
  Property property;
  MemberValue value;
};
struct GetOp {
  Property property;
};
struct ExpectOp {
  Property property;
  MemberValue value;
};
struct ClickOp {
  std::int16_t square;  // 1 to 64
};
struct ChooseOp {
  std::int16_t choice;  // 0 to 7
};
// A surface event with its arguments in the host's order; unused slots stay zero.
struct EventOp {
  EventId id;
  std::array<std::int16_t, 3> whole{};  // KeyCode/KeyAscii/Button, Shift
  std::array<float, 2> point{};         // X, Y
};
// From now on the host's handler writes `value` into every argument called `argument`;
// no value: it stops doing so.
struct ReplyOp {
  std::string argument;
  std::optional<double> value;
};
// A key as a person presses it: KeyDown, KeyPress when the key makes a character, KeyUp.
struct KeyOp {
  std::int16_t key_code;
  std::int16_t shift;      // 1 Shift, 2 Ctrl
  std::int16_t key_ascii;  // 0: the key makes no character
};
struct AccessibleOp {};
struct RefreshOp {};
struct SaveOp {
  std::string path;
};
struct LoadOp {
  std::string path;
};
// Render scales: times 96 dots per inch, fractions included (1.25, 1.5, ...).
inline constexpr double kSmallestRenderScale = 1;
inline constexpr double kLargestRenderScale = 4;

struct RenderOp {
  std::string path;
  double scale = 1;
};
struct BoardOp {};
// A drag with the left button from one square's middle to another's, or off the board.
struct DragOp {
  std::int16_t from;               // 1 to 64
  std::optional<std::int16_t> to;  // none: off the board
};
// A spare piece's place beside the board in edit mode, 0 to 12 as view/spare_pieces.h numbers
// them: clicked, which arms it, or dragged to a square's middle or off the board.
struct SpareOp {
  std::int16_t place;
  bool drag = false;
  std::optional<std::int16_t> to;  // a drag's square; none: off the board
};
// Ctrl+C on the control, then the clipboard printed: `copied "<text>"`.
struct CopyOp {};
// The text put on the clipboard, then Ctrl+V on the control.
struct PasteOp {
  std::u16string text;
};
// The left button at a device point of the surface drawn at 96 dots per inch.
struct PointerOp {
  enum class Kind : std::uint8_t { kPress, kMove, kRelease };
  Kind kind;
  int x, y;
};

// The right button pressed on one square's middle and released on another's (an arrow), on
// the same one (a circle) or off the board, with modifiers (1 Shift, 2 Ctrl, 4 Alt).
struct RightOp {
  std::int16_t from;               // 1 to 64
  std::optional<std::int16_t> to;  // none: off the board
  std::int16_t shift = 0;
};
// The clock moves on this many milliseconds: sliding pieces move on with it.
struct WaitOp {
  std::int32_t ms;
};
inline constexpr std::int32_t kLongestWait = 60000;
// The surface's size in pixels at 96 dots per inch, as a window gives it (a board alone fills
// it; the first class keeps its design).
struct ResizeOp {
  int width, height;
};
inline constexpr int kLargestSide = 4096;

using Operation =
    std::variant<SetOp, GetOp, ExpectOp, ClickOp, ChooseOp, EventOp, ReplyOp, RefreshOp, SaveOp,
                 LoadOp, RenderOp, BoardOp, KeyOp, AccessibleOp, DragOp, PointerOp, RightOp, WaitOp,
                 ResizeOp, SpareOp, CopyOp, PasteOp>;

struct Blank {};  // an empty line or a comment
struct ParseError {
  std::string what;
};
using ParsedLine = std::variant<Blank, Operation, ParseError>;

// One script line, checked whole before anything runs.
ParsedLine ParseLine(std::string_view line);

// "Ctrl+Home", "Shift+Q", "Space": the keys a script can press; none for any other name.
std::optional<KeyOp> ParseKeyName(std::string_view name);

// The names of an event's arguments in the order the host receives them.
std::span<const std::string_view> EventArgumentNames(EventId id);
std::string_view EventName(EventId id);

}  // namespace velmora::cli
