#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

#include "control/board_control.h"

namespace velmora::fuzz {

// Everything of the control that an operation may change, as plain values that compare.
struct Snapshot {
  std::u16string position;
  std::array<Picture, 65> pictures{};  // slot 0 is the spare holder
  std::int16_t pick_state = 0;
  std::int16_t from_row = 0, from_col = 0, to_row = 0, to_col = 0;
  char16_t moving_piece = 0;
  EntryState state = EntryState::kIdle;
  bool white_panel = false, black_panel = false, backdrop = false, enabled = false;
  std::int16_t chooser = 0;  // the promotion square the chooser stands on
  std::u16string get_move, put_move, put_position;

  friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot Take(const BoardControl& control);

// Where the keyboard points, where its mark is drawn and which square is selected.
struct FocusView {
  std::int16_t square = 0, part = 0, mark = 0, picked = 0;
  bool has_focus = false;

  friend bool operator==(const FocusView&, const FocusView&) = default;
};

FocusView TakeFocus(const BoardControl& control);

// Squares whose picture may legitimately differ from their cell at the moment: a picked square,
// the from-square of a pick completed after the host changed the board, the design's empty
// squares before the first repaint.
using SquareSet = std::bitset<65>;

// Prints what broke, with the state that broke it, and aborts so the fuzzer records the input.
[[noreturn]] void Violation(const char* what, const Snapshot& now);
[[noreturn]] void Violation(const char* what, const Snapshot& expected, const Snapshot& now);

// `now` must equal `expected`.
void RequireSame(const char* what, const Snapshot& expected, const Snapshot& now);

// One of the thirteen characters a cell may hold, "QKBNRPqkbnrp*".
bool IsCellCharacter(char16_t c);

// Every row is eight characters from "QKBNRPqkbnrp*".
void CheckBoardRows(const Snapshot& now);
// Every square outside `may_differ` shows the picture of its cell.
void CheckPictures(const Snapshot& now, const SquareSet& may_differ);
// The pick is idle or picked; while a prompt waits exactly one panel shows with its backdrop,
// or the chooser shows, otherwise all are hidden.
void CheckEntryAndPanels(const Snapshot& now);

// The selected square is the pick's from-square exactly while a pick is in force; the focus is
// on a square, or on a choice while the prompt waits; the mark, when drawn, is at the focus.
void CheckFocus(const Snapshot& now, const FocusView& focus);

// The squares showing something other than their cell.
SquareSet Mismatches(const Snapshot& now);

}  // namespace velmora::fuzz
