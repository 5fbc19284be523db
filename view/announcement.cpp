#include "view/announcement.h"

#include <string_view>

namespace velmora {
namespace {

constexpr std::u16string_view kKinds[] = {u"pawn",  u"bishop", u"knight",
                                          u"queen", u"king",   u"rook"};

// "queen" for either side's queen.
std::u16string_view KindWord(Picture picture) {
  return kKinds[PieceIndex(picture) % 6];
}

Picture PictureOfLetter(char16_t letter) {
  return PictureForCell(letter).value_or(Picture::kNone);
}

}  // namespace

Announcement AnnounceCastling(char16_t king, std::int16_t row, int column_step) {
  constexpr std::int16_t kKingColumn = 5;
  Announcement a;
  a.kind = Announcement::Kind::kCastling;
  a.piece = PictureOfLetter(king);
  a.from = {row, kKingColumn};
  a.to = {row, static_cast<std::int16_t>(kKingColumn + column_step)};
  return a;
}

std::u16string_view ColourWord(MarkColour colour) {
  constexpr std::u16string_view kWords[] = {u"green", u"red", u"yellow", u"blue"};
  return kWords[ColourIndex(colour)];
}

std::u16string ArrowWords(Square from, Square to, MarkColour colour) {
  std::u16string words = u"arrow " + SquareName(from) + u" to " + SquareName(to) + u", ";
  words += ColourWord(colour);
  return words;
}

std::u16string PictureWords(Picture picture) {
  if (!IsPiece(picture)) return u"empty";
  std::u16string words = PieceIndex(picture) < 6 ? u"white " : u"black ";
  words += KindWord(picture);
  return words;
}

std::u16string AnnouncementWords(const Announcement& a) {
  const std::u16string from = SquareName(a.from);
  const std::u16string to = SquareName(a.to);
  switch (a.kind) {
    case Announcement::Kind::kNewPosition:
      return u"new position";
    case Announcement::Kind::kCleared:
      return to + u" cleared";
    case Announcement::Kind::kCastling:
      return PictureWords(a.piece) + u" castles, " + from + u" to " + to;
    case Announcement::Kind::kNotLegal:
      return to + u" is not a legal move for the " + PictureWords(a.piece) + u" on " + from;
    case Announcement::Kind::kNoLegalMove:
      return u"the " + PictureWords(a.piece) + u" on " + from + u" has no legal move";
    case Announcement::Kind::kCheck:
      if (!IsPiece(a.piece)) return to + u" in check";
      return PictureWords(a.piece) + u" on " + to + u" in check";
    case Announcement::Kind::kMarked:
      if (a.from == a.to) return from + u" marked " + std::u16string(ColourWord(a.colour));
      return ArrowWords(a.from, a.to, a.colour);
    case Announcement::Kind::kUnmarked:
      if (a.from == a.to) return from + u" unmarked";
      return ArrowWords(a.from, a.to, a.colour) + u", removed";
    case Announcement::Kind::kMarksCleared:
      return u"marks cleared";
    case Announcement::Kind::kPut:
      return PictureWords(a.piece) + u" put on " + to;
    case Announcement::Kind::kEmptied:
      return to + u" emptied";
    case Announcement::Kind::kPasted:
      return u"position pasted";
    case Announcement::Kind::kPasteRefused:
      return u"position not pasted: the clipboard holds no position record";
    case Announcement::Kind::kPasteBusy:
      return u"position not pasted: the clipboard is busy";
    case Announcement::Kind::kCopyBusy:
      return u"position not copied: the clipboard is busy";
    case Announcement::Kind::kCopyFailed:
      return u"position not copied";
    case Announcement::Kind::kMove:
      break;
  }
  std::u16string words = PictureWords(a.piece);
  if (IsPiece(a.captured)) {
    words += u" captures " + PictureWords(a.captured) + u" on " + to;
  } else {
    words += u" " + from + u" to " + to;
  }
  if (IsPiece(a.promoted_to)) {
    words += u", promoted to ";
    words += KindWord(a.promoted_to);
  }
  return words;
}

}  // namespace velmora
