#include "entry/keyboard_entry.h"

#include "board/square.h"
#include "view/accessible_parts.h"

namespace velmora {
namespace {

constexpr std::int16_t kNoModifier = 0;

KeyAction FocusOn(Square s) {
  return {KeyAction::Kind::kFocus, SquareNumber(s)};
}

std::int16_t Clamped(int value, int low, int high) {
  return static_cast<std::int16_t>(value < low ? low : value > high ? high : value);
}

}  // namespace

KeyAction BoardKeyAction(std::int16_t focus_square, std::int16_t key_code, std::int16_t shift) {
  const Square at = SquareOf(focus_square);
  if (shift == shift_bits::kCtrl) {
    if (key_code == keys::kHome) return FocusOn({8, 1});
    if (key_code == keys::kEnd) return FocusOn({1, 8});
    return {};
  }
  if (shift != kNoModifier) return {};
  switch (key_code) {
    case keys::kLeft:
      return FocusOn({at.row, Clamped(at.col - 1, 1, 8)});
    case keys::kRight:
      return FocusOn({at.row, Clamped(at.col + 1, 1, 8)});
    case keys::kUp:
      return FocusOn({Clamped(at.row + 1, 1, 8), at.col});
    case keys::kDown:
      return FocusOn({Clamped(at.row - 1, 1, 8), at.col});
    case keys::kHome:
      return FocusOn({at.row, 1});
    case keys::kEnd:
      return FocusOn({at.row, 8});
    case keys::kPageUp:
      return FocusOn({8, at.col});
    case keys::kPageDown:
      return FocusOn({1, at.col});
    case keys::kSpace:
    case keys::kEnter:
      return {KeyAction::Kind::kClick, focus_square};
    default:
      return {};
  }
}

KeyAction PromptKeyAction(std::int16_t focus_choice, std::int16_t key_code, std::int16_t shift) {
  constexpr std::u16string_view kLetters = u"QRBN";  // the panels' order, top to bottom
  if (shift == shift_bits::kShift || shift == kNoModifier) {
    const auto letter = kLetters.find(static_cast<char16_t>(key_code));
    if (letter != std::u16string_view::npos) {
      return {KeyAction::Kind::kChoose, static_cast<std::int16_t>(letter)};
    }
  }
  if (shift != kNoModifier) return {};
  switch (key_code) {
    case keys::kLeft:
    case keys::kUp:
      return {KeyAction::Kind::kFocus, Clamped(focus_choice - 1, 0, kChoicesShown - 1)};
    case keys::kRight:
    case keys::kDown:
      return {KeyAction::Kind::kFocus, Clamped(focus_choice + 1, 0, kChoicesShown - 1)};
    case keys::kSpace:
    case keys::kEnter:
      return {KeyAction::Kind::kClick, focus_choice};
    default:
      return {};
  }
}

bool KeyboardEntry::Repeats(std::int16_t key_code) {
  bool& held = key_code == keys::kSpace ? space_held_ : enter_held_;
  const bool repeat = held;
  held = true;
  return repeat;
}

void KeyboardEntry::KeyUp(std::int16_t key_code) {
  if (key_code == keys::kSpace) space_held_ = false;
  if (key_code == keys::kEnter) enter_held_ = false;
}

KeyAction TurnedBoardKeyAction(std::int16_t focus_square, std::int16_t key_code, std::int16_t shift,
                               BoardOrientation orientation) {
  // The keys act on the board as drawn: read them on the design's square in the focus square's
  // place, then take the square in the place they lead to.
  KeyAction action = BoardKeyAction(DrawnSquare(focus_square, orientation), key_code, shift);
  if (action.kind != KeyAction::Kind::kNone)
    action.target = DrawnSquare(action.target, orientation);
  return action;
}

KeyAction KeyboardEntry::ActionFor(std::int16_t key_code, std::int16_t shift) const {
  if (key_code == 0) return {};
  if (surface_.Chooser() != 0 && key_code == keys::kEscape) return {KeyAction::Kind::kClose};
  return ShownChoices(surface_)
             ? PromptKeyAction(focus_.Choice(), key_code, shift)
             : TurnedBoardKeyAction(focus_.Square(), key_code, shift, surface_.Orientation());
}

bool KeyboardEntry::Takes(std::int16_t key_code, std::int16_t shift) const {
  return ActionFor(key_code, shift).kind != KeyAction::Kind::kNone;
}

bool KeyboardEntry::KeyDown(std::int16_t key_code, std::int16_t shift) {
  const KeyAction action = ActionFor(key_code, shift);
  if (action.kind == KeyAction::Kind::kNone) return false;
  if (action.kind == KeyAction::Kind::kClose) {
    clicks_.CloseChooser();
    return true;
  }
  if (action.kind == KeyAction::Kind::kClick && Repeats(key_code)) return false;
  // Every key that acts shows the mark where it leaves the focus, a click's included.
  if (ShownChoices(surface_)) {
    focus_.NavigateToChoice(action.target);
    const auto part = static_cast<std::int16_t>(kFirstChoicePart + action.target);
    if (action.kind != KeyAction::Kind::kFocus) clicks_.ClickChoice(*ChoiceOfPart(surface_, part));
  } else {
    focus_.NavigateToSquare(action.target);
    if (action.kind == KeyAction::Kind::kClick) clicks_.ClickSquare(action.target);
  }
  return true;
}

}  // namespace velmora
