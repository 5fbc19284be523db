#include "fuzz/invariants.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace velmora::fuzz {
namespace {

// Printable ASCII as is, everything else as \uXXXX, so any text can be read in a report.
std::string Printable(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c >= 0x20 && c < 0x7f) {
      out.push_back(static_cast<char>(c));
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
      out += escaped;
    }
  }
  return out;
}

void Print(const char* label, const Snapshot& s) {
  std::string pictures;
  for (Picture p : s.pictures) pictures += std::to_string(static_cast<int>(p)) + " ";
  std::fprintf(
      stderr,
      "%s:\n  board    %s\n  pictures %s\n  pick %d from %d,%d to %d,%d moving %s state %d\n"
      "  panels %d %d backdrop %d chooser %d enabled %d\n  GetMove \"%s\" PutMove \"%s\" "
      "PutPosition \"%s\"\n",
      label, Printable(s.position).c_str(), pictures.c_str(), s.pick_state, s.from_row, s.from_col,
      s.to_row, s.to_col, Printable(std::u16string(1, s.moving_piece)).c_str(),
      static_cast<int>(s.state), s.white_panel, s.black_panel, s.backdrop, s.chooser, s.enabled,
      Printable(s.get_move).substr(0, 200).c_str(), Printable(s.put_move).substr(0, 200).c_str(),
      Printable(s.put_position).substr(0, 200).c_str());
}

// A table rather than a search: the checks run after every operation.
constexpr std::array<bool, 128> kIsCellCharacter = [] {
  std::array<bool, 128> table{};
  for (char c : std::string_view("QKBNRPqkbnrp*")) table[static_cast<std::size_t>(c)] = true;
  return table;
}();

void Require(bool holds, const char* what, const Snapshot& now) {
  if (!holds) Violation(what, now);
}

}  // namespace

Snapshot Take(const BoardControl& control) {
  Snapshot s;
  s.position = control.board().PositionText();
  for (std::int16_t slot = 0; slot <= 64; ++slot)
    s.pictures[slot] = control.surface().PictureOf(slot);
  const EntryFields& entry = control.entry();
  s.pick_state = static_cast<std::int16_t>(entry.pick_state);
  s.from_row = entry.from_row;
  s.from_col = entry.from_col;
  s.to_row = entry.to_row;
  s.to_col = entry.to_col;
  s.moving_piece = entry.moving_piece;
  s.state = control.entry_state();
  s.white_panel = control.surface().IsVisible(ControlName::kWhitePanel);
  s.black_panel = control.surface().IsVisible(ControlName::kBlackPanel);
  s.backdrop = control.surface().IsVisible(ControlName::kPromptBackdrop);
  s.chooser = control.surface().Chooser();
  s.enabled = control.Enabled();
  s.get_move = control.GetMove();
  s.put_move = control.PutMove();
  s.put_position = control.PutPosition();
  return s;
}

FocusView TakeFocus(const BoardControl& control) {
  const KeyboardFocus& focus = control.focus();
  return {focus.Square(), focus.Part(), control.surface().FocusMark(), control.surface().Picked(),
          focus.HasFocus()};
}

void Violation(const char* what, const Snapshot& now) {
  std::fprintf(stderr, "\n*** invariant violated: %s\n", what);
  Print("state", now);
  std::abort();
}

void Violation(const char* what, const Snapshot& expected, const Snapshot& now) {
  std::fprintf(stderr, "\n*** invariant violated: %s\n", what);
  Print("expected", expected);
  Print("actual", now);
  std::abort();
}

void RequireSame(const char* what, const Snapshot& expected, const Snapshot& now) {
  if (!(expected == now)) Violation(what, expected, now);
}

bool IsCellCharacter(char16_t c) {
  return c < kIsCellCharacter.size() && kIsCellCharacter[c];
}

void CheckBoardRows(const Snapshot& now) {
  Require(now.position.size() == 64, "the board is not eight rows of eight", now);
  for (char16_t cell : now.position) {
    Require(IsCellCharacter(cell), "a board cell holds a character outside QKBNRPqkbnrp*", now);
  }
}

SquareSet Mismatches(const Snapshot& now) {
  SquareSet differ;
  for (std::size_t n = 1; n <= 64; ++n) {
    const auto expected = PictureForCell(now.position[n - 1]);
    if (!expected || now.pictures[n] != *expected) differ.set(n);
  }
  return differ;
}

void CheckPictures(const Snapshot& now, const SquareSet& may_differ) {
  Require((Mismatches(now) & ~may_differ).none(), "a square shows a picture other than its cell's",
          now);
}

void CheckEntryAndPanels(const Snapshot& now) {
  Require(now.pick_state == static_cast<std::int16_t>(PickState::kIdle) ||
              now.pick_state == static_cast<std::int16_t>(PickState::kPicked),
          "PickState is neither idle nor picked", now);
  if (now.state == EntryState::kPicked) {
    Require(IsCellCharacter(now.moving_piece) && now.moving_piece != kEmptyCell,
            "a pick holds no piece", now);
    Require(IsOnBoard(now.from_row, now.from_col), "a pick lies off the board", now);
  }
  if (now.state == EntryState::kPrompting) {
    Require((now.white_panel != now.black_panel && now.backdrop) != (now.chooser != 0),
            "a waiting prompt does not show exactly one panel with its backdrop, or the chooser",
            now);
  } else {
    Require(!now.white_panel && !now.black_panel && !now.backdrop && now.chooser == 0,
            "a prompt panel or the chooser is shown while no prompt waits", now);
  }
}

void CheckFocus(const Snapshot& now, const FocusView& focus) {
  const bool picked = now.pick_state == static_cast<std::int16_t>(PickState::kPicked);
  const std::int16_t from = picked ? SquareNumber({now.from_row, now.from_col}) : 0;
  Require(focus.picked == from, "the selected square is not the pick's from-square", now);
  Require(focus.square >= 1 && focus.square <= 64, "the focus square lies off the board", now);
  const bool prompting = now.white_panel || now.black_panel;
  Require(prompting ? focus.part >= 66 && focus.part <= 69 : focus.part == focus.square,
          "the focus is neither on the focus square nor on a shown choice", now);
  Require(focus.mark == 0 || (focus.has_focus && focus.mark == focus.part),
          "the focus mark is drawn away from the focus", now);
}

}  // namespace velmora::fuzz
