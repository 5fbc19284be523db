#pragma once

#include <cstdint>

namespace velmora {

// The two classes a host can create; one control serves both.
enum class ControlClass : std::uint8_t { kUserControl1, kChessBoard };

// What a class lets through besides its members (control/member_rows.h says which members a
// class has). UserControl1 is the first class as hosts have always known it: it asks the host
// nothing before a move, keeps no last move, takes no marks from the person, shows a message box
// for what it cannot take and leaves castling and en passant half made.
struct Capabilities {
  bool move_veto;   // BeforeMove before every move a person makes
  bool last_move;   // moves and loads keep LastMove and CheckSquare
  bool user_marks;  // the right button draws the person's marks (MarksChanged)
  bool quiet;       // never a message box: a bad PutPosition is refused, an empty click ignored
  // The picked piece stays on its square, which is tinted; a person's castling and en passant
  // are whole moves, and AfterMove reports every move a person completes.
  bool whole_moves;
  bool replays_host_moves;  // every PutMove write acts, even of the text the cell holds
  // The surface is the board alone, fitted to any area, in a theme with coordinates inside.
  bool board_alone;
  // A promotion asks with the chooser over the board instead of waiting on the prompt's panel.
  bool promotion_chooser;
};

constexpr Capabilities CapabilitiesOf(ControlClass control_class) {
  const bool chess_board = control_class == ControlClass::kChessBoard;
  return {chess_board, chess_board, chess_board, chess_board,
          chess_board, chess_board, chess_board, chess_board};
}

}  // namespace velmora
