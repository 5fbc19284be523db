#include "entry/castling.h"

#include <algorithm>

namespace velmora {
namespace {

struct Pattern {
  char16_t king;
  int step;
  bool at_end;                  // tests the last four cells, else the first five
  std::u16string_view test;     // what those cells must hold
  std::u16string_view rewrite;  // what they become
};

constexpr Pattern kPatterns[] = {
    {u'k', 2, true, u"k**r", u"*rk*"},
    {u'k', -2, false, u"r***k", u"**kr*"},
    {u'K', 2, true, u"K**R", u"*RK*"},
    {u'K', -2, false, u"R***K", u"**KR*"},
};

}  // namespace

std::optional<Board::Row> CastledRow(std::u16string_view row, char16_t king, int column_step) {
  if (row.size() != 8) return std::nullopt;
  for (const Pattern& p : kPatterns) {
    if (p.king != king || p.step != column_step) continue;
    const std::size_t at = p.at_end ? row.size() - p.test.size() : 0;
    if (row.substr(at, p.test.size()) != p.test) continue;
    Board::Row result{};
    std::copy(row.begin(), row.end(), result.begin());
    std::copy(p.rewrite.begin(), p.rewrite.end(), result.begin() + static_cast<std::ptrdiff_t>(at));
    return result;
  }
  return std::nullopt;
}

}  // namespace velmora
