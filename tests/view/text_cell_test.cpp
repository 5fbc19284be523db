#include "view/text_cell.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// A cell that held a long text and is given a short one keeps no more room than it needs;
// small changes keep the buffer they have.
TEST(TextCellTest, RoomFollowsTheTextAfterItShrinks) {
  const struct {
    std::size_t first;
    std::size_t second;
    std::size_t most_room;
  } cases[] = {
      {8'000'000, 5, 64},
      {8'000'000, 10, 64},
      {100'000, 2'000, 4'096},
      {5'000'000, 4'000'000, 8'000'000},
      {20, 5, 64},
  };
  for (const auto& c : cases) {
    TextCell cell;
    cell.Set(std::u16string(c.first, u'x'));
    cell.Set(std::u16string(c.second, u'y'));
    EXPECT_EQ(cell.Text(), std::u16string(c.second, u'y'));
    EXPECT_LE(cell.Text().capacity(), c.most_room) << c.first << " then " << c.second;
  }
}

}  // namespace
}  // namespace velmora
