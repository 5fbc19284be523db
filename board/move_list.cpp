#include "board/move_list.h"

#include <algorithm>

namespace velmora {
namespace {

char16_t Upper(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool IsPromotionLetter(char16_t c) {
  return std::u16string_view(u"qrbnQRBN").find(c) != std::u16string_view::npos;
}

std::optional<MoveText> TwoSquares(std::u16string_view from, std::u16string_view to) {
  const auto a = ParseSquareAnyCase(from[0], from[1]);
  const auto b = ParseSquareAnyCase(to[0], to[1]);
  if (!a || !b) return std::nullopt;
  return MoveText{*a, *b};
}

// The engine form: four characters of two squares, maybe a promotion letter after them.
std::optional<MoveText> ParseEngineMove(std::u16string_view token) {
  if (token.size() != 4 && token.size() != 5) return std::nullopt;
  if (token.size() == 5 && !IsPromotionLetter(token[4])) return std::nullopt;
  return TwoSquares(token.substr(0, 2), token.substr(2, 2));
}

}  // namespace

std::optional<Square> ParseSquareAnyCase(char16_t letter, char16_t digit) {
  return ParseSquareName(Upper(letter), digit);
}

std::optional<MoveText> ParseMoveTextToken(std::u16string_view token) {
  if (token.size() != 5) return std::nullopt;
  if (token[2] != u'-' && Upper(token[2]) != u'X') return std::nullopt;
  return TwoSquares(token.substr(0, 2), token.substr(3, 2));
}

std::optional<MoveText> ParseMoveToken(std::u16string_view token) {
  if (const auto move = ParseMoveTextToken(token)) return move;
  return ParseEngineMove(token);
}

Parsed<std::vector<MoveText>> ParseMoveList(std::u16string_view text) {
  std::vector<MoveText> moves;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == u' ') {
      ++at;
      continue;
    }
    const std::size_t end = std::min(text.find(u' ', at), text.size());
    const std::u16string_view token = text.substr(at, end - at);
    const auto move = ParseMoveToken(token);
    if (!move) {
      return Refusal{Quoted(token) +
                     u" is not a move: write E2-E4, E4xD5 or e2e4, separated by spaces"};
    }
    if (std::find(moves.begin(), moves.end(), *move) == moves.end()) moves.push_back(*move);
    at = end;
  }
  return moves;
}

std::u16string MoveTextOf(MoveText move) {
  return SquareName(move.from) + u"-" + SquareName(move.to);
}

std::u16string MoveListText(std::span<const MoveText> moves) {
  std::u16string text;
  for (const MoveText& move : moves) {
    if (!text.empty()) text += u' ';
    text += MoveTextOf(move);
  }
  return text;
}

}  // namespace velmora
