#include "view/recent_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

// Each row asks for keys in order; what is made, what is let go and what is kept at the end.
TEST(RecentCacheTest, KeepsTheMostRecentlyUsedAndReleasesTheRest) {
  const struct {
    std::string asked;
    std::string made;
    std::string released;
  } cases[] = {
      {"aaa", "a", ""},
      {"abc", "abc", ""},
      {"abcd", "abcd", "a"},
      {"abcad", "abcd", "b"},
      {"abcdefg", "abcdefg", "abcd"},
      {"abacadae", "abcde", "bc"},
  };
  for (const auto& c : cases) {
    std::string made, released;
    {
      RecentCache<char, char> cache(3, [&](char& value) { released += value; });
      for (const char key : c.asked) {
        EXPECT_EQ(cache.Get(key,
                            [&] {
                              made += key;
                              return key;
                            }),
                  key);
      }
      EXPECT_LE(cache.size(), 3u);
      EXPECT_EQ(released, c.released) << c.asked;
    }
    EXPECT_EQ(made, c.made) << c.asked;
    EXPECT_EQ(released.size(), made.size()) << "everything made is released in the end";
  }
}

}  // namespace
}  // namespace velmora
