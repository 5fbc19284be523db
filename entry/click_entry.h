#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "board/board.h"
#include "board/move_text.h"
#include "entry/keyboard_focus.h"
#include "view/forms.h"
#include "view/surface.h"
#include "view/text_cell.h"

namespace velmora {

// -1: nothing picked; 0: a piece is picked and the next square click is its destination.
enum class PickState : std::int16_t { kIdle = -1, kPicked = 0 };

// The named states a reader follows: idle, picked, and the destination click suspended while
// the promotion prompt (or the chooser) waits for a choice.
enum class EntryState { kIdle, kPicked, kPrompting };

// The fields the two clicks share; they live as long as the control.
struct EntryFields {
  PickState pick_state = PickState::kIdle;
  std::int16_t from_row = 0, from_col = 0;
  std::int16_t to_row = 0, to_col = 0;
  char16_t moving_piece = 0;  // 0 until the first pick
  bool castle_done = false;
  bool promotion_chosen = false;
};

// What the entry asks and tells the control that holds it about a person's moves, each only
// where the entry's rules say.
class MoveListener {
 public:
  // Once a destination (and any promotion choice, the chosen letter, else 0) is known and before
  // anything moves; false cancels the move. A cancelled move leaves the board, the move display
  // and the pick as they were before the destination click.
  virtual bool AllowsMove(Square from, Square to, char16_t promotion) = 0;
  // Each move a person completes, once the board holds it and before the move display shows it:
  // a castling as the king's move, a promotion as the pawn's.
  virtual void MoveMade(MoveText move) = 0;
  // The same once the move display shows it (after its Change), with the promotion's letter.
  virtual void MoveCompleted(MoveText move, char16_t promotion) = 0;

 protected:
  ~MoveListener() = default;
};

// What a class's entry does beyond the first class's.
struct EntryRules {
  bool move_veto = false;    // AllowsMove before every move
  bool move_notice = false;  // MoveMade after every move
  bool quiet = false;        // a click on an empty square with nothing picked does nothing at all
  // The picked piece stays on its square, which the surface tints; a castling shows as the
  // king's move and an en passant takes the passed pawn too; MoveCompleted after every move.
  bool whole_moves = false;
  // A promotion asks with the chooser over the board and returns at once; the choice's click
  // completes the move. Without it the prompt's panel waits for the choice.
  bool chooser = false;
};

// A move entered with two clicks on the squares: the first lifts a piece, the second puts it
// down, with castling and the promotion prompt (or chooser) on the way.
class ClickEntry {
 public:
  ClickEntry(Board& board, Surface& surface, KeyboardFocus& focus, TextCell& put_move,
             TextCell& get_move, FormsPort& forms, MoveListener& listener)
      : board_(board),
        surface_(surface),
        focus_(focus),
        put_move_(put_move),
        get_move_(get_move),
        forms_(forms),
        listener_(listener) {}

  ClickEntry(const ClickEntry&) = delete;
  ClickEntry& operator=(const ClickEntry&) = delete;

  void Reset() { SetPicked(0); }

  // A click on square n (1 to 64). Ignored while the prompt waits: the destination of the
  // suspended click is already decided. While the chooser is shown it closes it.
  void ClickSquare(std::int16_t n);
  // A click on promotion choice k (0 to 7); only a shown choice (on its panel or the chooser)
  // can be clicked. The chooser's completes its move, or drops it where the legal list no
  // longer has it.
  void ClickChoice(std::int16_t k);
  // Closes the chooser, where it is shown, and drops its move: the pawn stays where it stood,
  // nothing is picked and nothing is raised.
  void CloseChooser();

  // The moves a host allows; empty: any move, as without a list. While a list is set, a piece
  // with no listed move cannot be picked and a destination not listed for the picked piece is
  // refused (the piece stays picked), each with an announcement and no message; a click on
  // another piece with listed moves picks that piece instead.
  const std::vector<MoveText>& LegalMoves() const { return legal_moves_; }
  void SetLegalMoves(std::vector<MoveText> moves);
  // Without rules the listener hears nothing and every move goes through.
  void SetRules(EntryRules rules) {
    rules_ = rules;
    surface_.SetSelectionTinted(rules.whole_moves);
  }
  // Whether the picked piece's listed destinations are marked on the surface.
  void ShowDestinations(bool show);

  const EntryFields& Fields() const { return fields_; }
  EntryState State() const;

 private:
  void FirstClick(std::int16_t n);
  // A destination the list does not allow: another piece with listed moves is picked instead,
  // anything else is refused.
  void UnlistedClick(std::int16_t n);
  // Whether the list has a move from `from` (to `to`, when given); true without a list.
  bool Listed(Square from, std::optional<Square> to = std::nullopt) const;
  // The squares the surface marks for the pick in force, one bit per square number - 1.
  std::uint64_t Destinations() const;
  void DestinationClick(std::int16_t n);
  // The destination square n is decided (and any promotion chosen, `promoted`): the move is
  // asked for and made. A cancel restores `before`, the fields before the destination click.
  void PutDown(std::int16_t n, const EntryFields& before, bool promoted);
  void TryCastle();
  // The move display shows the move; a put-back empties the host's move cell instead of
  // completing a move.
  void ShowMove(Square from, Square to, char16_t promotion);
  // Shows the panel and waits for a choice; false when the control closed instead.
  bool Prompt(ControlName panel);
  // Shows the chooser for a pawn put down on square n and returns; `before` waits for the choice.
  void OpenChooser(std::int16_t n, const EntryFields& before);
  // Hides the chooser; false when none was shown.
  bool HideChooser();
  // The way out of a prompt that ended by closing: the move is dropped, the pick released and
  // the squares shown as the board holds them.
  void AbandonMove();
  // The pick state and the square the surface shows as picked up change together.
  void SetPicked(std::int16_t square);

  Board& board_;
  Surface& surface_;
  KeyboardFocus& focus_;
  TextCell& put_move_;
  TextCell& get_move_;
  FormsPort& forms_;
  MoveListener& listener_;
  EntryFields fields_;
  std::vector<MoveText> legal_moves_;
  bool show_destinations_ = false;
  EntryRules rules_;
  bool prompt_open_ = false;
  std::optional<EntryFields> chooser_before_;  // while the chooser is shown
};

}  // namespace velmora
