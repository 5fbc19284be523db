#pragma once

#include <cstdint>
#include <optional>

namespace velmora {

// What a picture slot shows. The twelve pieces are numbered as the design numbers its piece
// pictures (P, B, N, Q, K, R, then the same for the black side); kTransparent is the
// all-transparent icon that the empty squares hold until the first repaint; kNone shows nothing.
enum class Picture : std::int8_t {
  kNone = -1,
  kWhitePawn = 0,
  kWhiteBishop,
  kWhiteKnight,
  kWhiteQueen,
  kWhiteKing,
  kWhiteRook,
  kBlackPawn,
  kBlackBishop,
  kBlackKnight,
  kBlackQueen,
  kBlackKing,
  kBlackRook,
  kTransparent,
};

inline constexpr int kPieceCount = 12;

// The index (0 to 11) of a piece picture, and back.
constexpr int PieceIndex(Picture p) {
  return static_cast<int>(p);
}
constexpr Picture PieceAt(int index) {
  return static_cast<Picture>(index);
}
constexpr bool IsPiece(Picture p) {
  return p >= Picture::kWhitePawn && p <= Picture::kBlackRook;
}

// The all-transparent icon and no picture both leave the square's own colour showing.
constexpr bool LookAlike(Picture a, Picture b) {
  const auto blank = [](Picture p) { return p == Picture::kNone || p == Picture::kTransparent; };
  return a == b || (blank(a) && blank(b));
}

// The cell letter of a piece picture; the empty cell for anything else.
constexpr char16_t CellLetterOf(Picture p) {
  return IsPiece(p) ? u"PBNQKRpbnqkr"[PieceIndex(p)] : u'*';
}

// The picture a cell letter paints: a piece, kNone for "*", nothing for any other character
// (the square then keeps what it shows).
constexpr std::optional<Picture> PictureForCell(char16_t c) {
  switch (c) {
    case u'P':
      return Picture::kWhitePawn;
    case u'B':
      return Picture::kWhiteBishop;
    case u'N':
      return Picture::kWhiteKnight;
    case u'Q':
      return Picture::kWhiteQueen;
    case u'K':
      return Picture::kWhiteKing;
    case u'R':
      return Picture::kWhiteRook;
    case u'p':
      return Picture::kBlackPawn;
    case u'b':
      return Picture::kBlackBishop;
    case u'n':
      return Picture::kBlackKnight;
    case u'q':
      return Picture::kBlackQueen;
    case u'k':
      return Picture::kBlackKing;
    case u'r':
      return Picture::kBlackRook;
    case u'*':
      return Picture::kNone;
    default:
      return std::nullopt;
  }
}

}  // namespace velmora
