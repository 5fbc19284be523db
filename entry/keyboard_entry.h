#pragma once

#include <cstdint>

#include "entry/click_entry.h"
#include "entry/keyboard_focus.h"
#include "view/surface.h"

namespace velmora {

// Key codes are the platform's virtual-key values; other platforms translate to them.
namespace keys {
inline constexpr std::int16_t kEnter = 0x0D;
inline constexpr std::int16_t kEscape = 0x1B;
inline constexpr std::int16_t kSpace = 0x20;
inline constexpr std::int16_t kPageUp = 0x21;
inline constexpr std::int16_t kPageDown = 0x22;
inline constexpr std::int16_t kEnd = 0x23;
inline constexpr std::int16_t kHome = 0x24;
inline constexpr std::int16_t kLeft = 0x25;
inline constexpr std::int16_t kUp = 0x26;
inline constexpr std::int16_t kRight = 0x27;
inline constexpr std::int16_t kDown = 0x28;
}  // namespace keys

// The `Shift` argument's bits.
namespace shift_bits {
inline constexpr std::int16_t kShift = 1;
inline constexpr std::int16_t kCtrl = 2;
inline constexpr std::int16_t kAlt = 4;
}  // namespace shift_bits

// What a key does to the focus, with no state of its own: the pure half of the keyboard entry.
struct KeyAction {
  enum class Kind : std::uint8_t {
    kNone,    // not one of the control's keys in this state
    kFocus,   // move the focus to `target` (a square, or a choice 0 to 3)
    kClick,   // click the focused square or choice
    kChoose,  // choose the shown panel's choice `target` (0 to 3) at once
    kClose,   // close the chooser, dropping its move
  };
  Kind kind = Kind::kNone;
  std::int16_t target = 0;

  friend bool operator==(KeyAction, KeyAction) = default;
};

// On the board: arrows move one square as drawn (Up toward row 8, Right toward column H) and
// stop at the edge; Home / End go to columns A / H, PageUp / PageDown to rows 8 / 1, Ctrl+Home
// to A8, Ctrl+End to H1; Space or Enter clicks.
KeyAction BoardKeyAction(std::int16_t focus_square, std::int16_t key_code, std::int16_t shift);
// The same on a board drawn `orientation`: the keys follow what a person sees, so with black at
// the bottom Up goes toward row 1, Home to column H and Ctrl+Home to H1.
KeyAction TurnedBoardKeyAction(std::int16_t focus_square, std::int16_t key_code, std::int16_t shift,
                               BoardOrientation orientation);
// In the prompt: arrows step through the four choices (queen first) and stop at the ends;
// Space or Enter chooses the focused one; Q, R, B and N choose at once, with or without Shift.
KeyAction PromptKeyAction(std::int16_t focus_choice, std::int16_t key_code, std::int16_t shift);

// Moves entered from the keyboard. A key acts when it goes down, after the host's KeyDown has
// had it; clicks go through the click entry exactly as a mouse click does. The chooser takes
// the prompt's keys, and Escape closes it. A Space or Enter
// that is held down and repeats clicks once.
class KeyboardEntry {
 public:
  KeyboardEntry(Surface& surface, ClickEntry& clicks, KeyboardFocus& focus)
      : surface_(surface), clicks_(clicks), focus_(focus) {}

  KeyboardEntry(const KeyboardEntry&) = delete;
  KeyboardEntry& operator=(const KeyboardEntry&) = delete;

  // True when the key did something (a focus move or a click); 0 is a key the host took.
  bool KeyDown(std::int16_t key_code, std::int16_t shift);
  void KeyUp(std::int16_t key_code);
  // True for a key that would act now: a container hands such keys to the control first.
  bool Takes(std::int16_t key_code, std::int16_t shift) const;
  // The keys held down are forgotten: their releases go to whoever has the focus now.
  void ReleaseAll() { space_held_ = enter_held_ = false; }

 private:
  KeyAction ActionFor(std::int16_t key_code, std::int16_t shift) const;
  // True for a second key-down of a held Space or Enter.
  bool Repeats(std::int16_t key_code);

  Surface& surface_;
  ClickEntry& clicks_;
  KeyboardFocus& focus_;
  bool space_held_ = false;
  bool enter_held_ = false;
};

}  // namespace velmora
