#include "board/fen.h"

#include <vector>

namespace velmora {
namespace {

constexpr std::u16string_view kPieceLetters = u"KQRBNPkqrbnp";

std::vector<std::u16string_view> Split(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string_view> parts;
  std::size_t at = 0;
  while (true) {
    const std::size_t end = text.find(separator, at);
    parts.push_back(text.substr(at, end == std::u16string_view::npos ? end : end - at));
    if (end == std::u16string_view::npos) return parts;
    at = end + 1;
  }
}

// One rank, file A first, as eight cell letters; empty when the rank is not eight squares.
std::u16string RankCells(std::u16string_view rank) {
  std::u16string cells;
  bool after_digit = false;
  for (char16_t c : rank) {
    if (c >= u'1' && c <= u'8' && !after_digit) {
      cells.append(static_cast<std::size_t>(c - u'0'), kEmptyCell);
      after_digit = true;
    } else if (kPieceLetters.find(c) != std::u16string_view::npos) {
      cells += c;
      after_digit = false;
    } else {
      return {};
    }
    if (cells.size() > 8) return {};
  }
  return cells.size() == 8 ? cells : std::u16string();
}

bool IsCount(std::u16string_view field, bool positive) {
  if (field.empty() || field.size() > 6) return false;
  for (char16_t c : field) {
    if (c < u'0' || c > u'9') return false;
  }
  return !positive || field.find_first_not_of(u'0') != std::u16string_view::npos;
}

bool IsCastlingField(std::u16string_view field) {
  if (field == u"-") return true;
  if (field.empty() || field.size() > 4) return false;
  std::size_t last = 0;
  for (char16_t c : field) {
    const std::size_t at = std::u16string_view(u"KQkq").find(c);
    if (at == std::u16string_view::npos || at + 1 <= last) return false;
    last = at + 1;
  }
  return true;
}

bool IsPassingField(std::u16string_view field) {
  if (field == u"-") return true;
  return field.size() == 2 && field[0] >= u'a' && field[0] <= u'h' &&
         (field[1] == u'3' || field[1] == u'6');
}

// Whether the fields after the placement have the form a record gives them.
bool FurtherFieldsHaveForm(const std::vector<std::u16string_view>& fields) {
  const auto at = [&](std::size_t i) {
    return i < fields.size() ? fields[i] : std::u16string_view();
  };
  if (fields.size() > 1 && at(1) != u"w" && at(1) != u"b") return false;
  if (fields.size() > 2 && !IsCastlingField(at(2))) return false;
  if (fields.size() > 3 && !IsPassingField(at(3))) return false;
  if (fields.size() > 4 && !IsCount(at(4), false)) return false;
  if (fields.size() > 5 && !IsCount(at(5), true)) return false;
  return fields.size() <= 6;
}

Refusal NotARecord(std::u16string_view what) {
  return Refusal{u"not a position record: " + std::u16string(what)};
}

}  // namespace

std::u16string PlacementField(const Board& board) {
  std::u16string field;
  for (std::int16_t row = 8; row >= 1; --row) {
    int empties = 0;
    for (char16_t cell : board.Rows()[static_cast<std::size_t>(row - 1)]) {
      if (cell == kEmptyCell) {
        ++empties;
        continue;
      }
      if (empties > 0) field += static_cast<char16_t>(u'0' + empties);
      empties = 0;
      field += cell;
    }
    if (empties > 0) field += static_cast<char16_t>(u'0' + empties);
    if (row > 1) field += u'/';
  }
  return field;
}

std::u16string PositionRecord(const Board& board) {
  const auto at = [&board](char16_t file, std::int16_t row) {
    return board.Cell(Square{row, static_cast<std::int16_t>(file - u'a' + 1)});
  };
  std::u16string castling;
  if (at(u'e', 1) == u'K' && at(u'h', 1) == u'R') castling += u'K';
  if (at(u'e', 1) == u'K' && at(u'a', 1) == u'R') castling += u'Q';
  if (at(u'e', 8) == u'k' && at(u'h', 8) == u'r') castling += u'k';
  if (at(u'e', 8) == u'k' && at(u'a', 8) == u'r') castling += u'q';
  if (castling.empty()) castling = u"-";
  return PlacementField(board) + u" w " + castling + u" - 0 1";
}

Parsed<std::u16string> PositionTextOfRecord(std::u16string_view record) {
  std::vector<std::u16string_view> fields;
  for (std::u16string_view field : Split(record, u' ')) {
    if (!field.empty()) fields.push_back(field);
  }
  if (fields.empty()) return NotARecord(u"the text is empty");
  const std::vector<std::u16string_view> ranks = Split(fields[0], u'/');
  if (ranks.size() != 8) return NotARecord(u"the placement needs eight ranks separated by /");
  std::u16string text(64, kEmptyCell);
  for (std::size_t i = 0; i < 8; ++i) {
    const std::u16string cells = RankCells(ranks[i]);
    if (cells.empty()) {
      return NotARecord(u"rank " + std::u16string(1, static_cast<char16_t>(u'8' - i)) +
                        u" is not eight squares");
    }
    // Rank 8 comes first in the record, row 1 first in the position text.
    text.replace((7 - i) * 8, 8, cells);
  }
  if (!FurtherFieldsHaveForm(fields)) {
    return NotARecord(
        u"the fields after the placement are not side, castling, en passant and "
        u"the two counters");
  }
  return text;
}

}  // namespace velmora
