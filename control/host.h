#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace velmora {

// The events a host receives, numbered as its event interface numbers them.
enum class EventId : std::int32_t {
  kClick = 1,
  kDblClick = 2,
  kKeyDown = 3,
  kKeyPress = 4,
  kKeyUp = 5,
  kMouseDown = 6,
  kMouseMove = 7,
  kMouseUp = 8,
  kChange = 9,
  // A ChessBoard's only: a person's move is about to be made; the host may cancel it.
  kBeforeMove = 10,
  // A ChessBoard's only: the person drew or cleared their own marks (UserMarks).
  kMarksChanged = 11,
  // A ChessBoard's only: a person completed a move (after its Change): a castling as the king's
  // move, a promotion with the chosen letter.
  kAfterMove = 12,
  // A ChessBoard's only: a person changed the position in edit mode, once per gesture.
  kPositionEdited = 13,
};

// Arguments go by reference: the host reads and may overwrite the surface's own storage. A text
// goes by value: the host reads it only.
using EventArg = std::variant<std::int16_t*, float*, const std::u16string*, bool*>;

// What the core asks of the host side. Any call may throw Failure.
class HostPort {
 public:
  virtual ~HostPort() = default;

  // Returns when the host's handler has run.
  virtual void RaiseEvent(EventId id, std::span<const EventArg> args) = 0;
  // The host's saved copy of the named property is out of date.
  virtual void PropertyChanged(std::u16string_view property) = 0;
};

}  // namespace velmora
