#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "board/square.h"
#include "board/square_marks.h"
#include "view/picture.h"

namespace velmora {

// What the control just did to the position, for people who listen rather than look. A plain
// value: the host-move path builds it without text or allocation, and only a front end turns it
// into words.
struct Announcement {
  enum class Kind : std::uint8_t {
    kMove,          // a piece went from one square to another, maybe taking one, maybe promoted
    kCastling,      // the king's row was rewritten; from/to are the king's squares
    kCleared,       // an empty square was moved: `to` was emptied
    kNewPosition,   // a position was loaded or the board reset
    kNotLegal,      // `piece` on `from` may not go to `to`: nothing moved
    kNoLegalMove,   // `piece` on `from` has no move the host allows: nothing was picked
    kCheck,         // the host says `piece` on `to` is in check
    kMarked,        // the person drew a circle on `from` (`to` the same) or an arrow, in `colour`
    kUnmarked,      // the person took such a mark away
    kMarksCleared,  // the person's marks were cleared
    kPut,           // the person set up `piece` on `to`
    kEmptied,       // the person took the piece off `to`
    kPasted,        // the person pasted a position
    kPasteRefused,  // the person pasted a text that is no position: nothing changed
    kPasteBusy,     // the person pasted while another program held the clipboard: nothing changed
    kCopyBusy,      // the person copied while another program held the clipboard
    kCopyFailed,    // the person copied and the clipboard could not take the text
  };
  Kind kind = Kind::kNewPosition;
  Picture piece = Picture::kNone;
  Square from{1, 1};
  Square to{1, 1};
  Picture captured = Picture::kNone;
  Picture promoted_to = Picture::kNone;
  MarkColour colour = MarkColour::kGreen;

  friend bool operator==(const Announcement&, const Announcement&) = default;
};

// A displacement of `piece` (a cell letter, "*" for an empty cell) onto a square that held
// `captured`; `promoted_to` is the chosen letter after a promotion, 0 otherwise. A move onto its
// own square changes nothing and announces nothing.
// Inline: it runs on every host move.
inline std::optional<Announcement> AnnounceMove(char16_t piece, char16_t captured, Square from,
                                                Square to, char16_t promoted_to = 0) {
  if (from == to) return std::nullopt;
  const auto picture = [](char16_t letter) {
    return PictureForCell(letter).value_or(Picture::kNone);
  };
  Announcement a;
  a.from = from;
  a.to = to;
  a.piece = picture(piece);
  if (a.piece == Picture::kNone) {
    a.kind = Announcement::Kind::kCleared;
    return a;
  }
  a.kind = Announcement::Kind::kMove;
  a.captured = picture(captured);
  if (promoted_to != 0) a.promoted_to = picture(promoted_to);
  return a;
}
// The king's own squares of a castling pattern: column E to two columns along its row.
Announcement AnnounceCastling(char16_t king, std::int16_t row, int column_step);
inline Announcement AnnounceNewPosition() {
  return {};
}
// What setting up a square did: `piece` put on it, or the square emptied.
inline Announcement AnnounceSetUp(Picture piece, Square square) {
  Announcement a;
  a.kind = IsPiece(piece) ? Announcement::Kind::kPut : Announcement::Kind::kEmptied;
  a.piece = piece;
  a.to = square;
  return a;
}

// A refused destination, or a refused piece, while the host lists the legal moves.
inline Announcement AnnounceNotLegal(char16_t piece, Square from, Square to) {
  Announcement a;
  a.kind = Announcement::Kind::kNotLegal;
  a.piece = PictureForCell(piece).value_or(Picture::kNone);
  a.from = from;
  a.to = to;
  return a;
}
inline Announcement AnnounceNoLegalMove(char16_t piece, Square from) {
  Announcement a = AnnounceNotLegal(piece, from, from);
  a.kind = Announcement::Kind::kNoLegalMove;
  return a;
}

// The host marked a square as in check; `piece` is what the square shows.
inline Announcement AnnounceCheck(Picture piece, Square square) {
  Announcement a;
  a.kind = Announcement::Kind::kCheck;
  a.piece = piece;
  a.from = square;
  a.to = square;
  return a;
}

// "green", "red", "yellow", "blue".
std::u16string_view ColourWord(MarkColour colour);
// "arrow G1 to F3, green".
std::u16string ArrowWords(Square from, Square to, MarkColour colour);

// "white pawn", "black knight"; "empty" for a slot that shows no piece.
std::u16string PictureWords(Picture picture);
// "white pawn E2 to E4", "black knight captures white bishop on F3", "new position", ...
std::u16string AnnouncementWords(const Announcement& announcement);

}  // namespace velmora
