#include "view/artwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace velmora {
namespace {

using Mask = std::vector<bool>;

Mask SilhouetteOf(const Icon& icon) {
  Mask mask;
  for (const Ink ink : icon.pixels) mask.push_back(ink != Ink::kTransparent);
  return mask;
}

bool IsBody(const Icon& icon, int x, int y) {
  return x >= 0 && x < kIconSize && y >= 0 && y < kIconSize && icon.At(x, y) != Ink::kTransparent;
}

bool TouchesOutside(const Icon& icon, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (!IsBody(icon, x + dx, y + dy)) return true;
    }
  }
  return false;
}

// Counts of the body pixels of an icon, split into its border ring and its inside.
struct InkCounts {
  int border = 0;
  int border_black = 0;
  int inside = 0;
  int inside_white = 0;
  int inside_black = 0;
};

InkCounts CountInks(const Icon& icon) {
  InkCounts counts;
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      if (!IsBody(icon, x, y)) continue;
      const Ink ink = icon.At(x, y);
      if (TouchesOutside(icon, x, y)) {
        ++counts.border;
        counts.border_black += ink == Ink::kBlack;
      } else {
        ++counts.inside;
        counts.inside_white += ink == Ink::kWhite;
        counts.inside_black += ink == Ink::kBlack;
      }
    }
  }
  return counts;
}

struct Extent {
  int left = kIconSize, right = -1, top = kIconSize, bottom = -1;
};

Extent ExtentOf(const Icon& icon) {
  Extent e;
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      if (!IsBody(icon, x, y)) continue;
      e.left = std::min(e.left, x);
      e.right = std::max(e.right, x);
      e.top = std::min(e.top, y);
      e.bottom = std::max(e.bottom, y);
    }
  }
  return e;
}

struct PiecePair {
  const char* name;
  Picture white;
  Picture black;
};

constexpr std::array<PiecePair, 6> kPairs = {{
    {"Pawn", Picture::kWhitePawn, Picture::kBlackPawn},
    {"Bishop", Picture::kWhiteBishop, Picture::kBlackBishop},
    {"Knight", Picture::kWhiteKnight, Picture::kBlackKnight},
    {"Queen", Picture::kWhiteQueen, Picture::kBlackQueen},
    {"King", Picture::kWhiteKing, Picture::kBlackKing},
    {"Rook", Picture::kWhiteRook, Picture::kBlackRook},
}};

class ArtworkPieceTest : public testing::TestWithParam<PiecePair> {};

TEST_P(ArtworkPieceTest, BothSidesShareOneSilhouette) {
  EXPECT_EQ(SilhouetteOf(*IconFor(GetParam().white)), SilhouetteOf(*IconFor(GetParam().black)));
}

TEST_P(ArtworkPieceTest, StandsCentredOnTheCommonBaseWithinTheMargin) {
  const Extent e = ExtentOf(*IconFor(GetParam().white));
  EXPECT_GE(e.bottom, 42);
  EXPECT_LE(e.bottom, 44);
  EXPECT_GE(e.top, 2);
  EXPECT_GE(e.left, 2);
  EXPECT_LE(e.right, kIconSize - 3);
  // Twice the centre of the extent, against the icon's centre line at 47 / 2.
  EXPECT_NEAR(e.left + e.right, kIconSize - 1, 2);
  // A piece is a figure, not a dot or a block: a sizeable part of the square.
  EXPECT_GE(e.bottom - e.top, 28);
  EXPECT_GE(e.right - e.left, 20);
}

TEST_P(ArtworkPieceTest, WhitePieceHasABlackOutlineAroundAMostlyWhiteBody) {
  const InkCounts c = CountInks(*IconFor(GetParam().white));
  ASSERT_GT(c.inside, 0);
  EXPECT_EQ(c.border_black, c.border);
  EXPECT_GT(c.inside_white, c.inside * 3 / 4);
  EXPECT_GT(c.inside_black, 0) << "no inner detail lines";
}

TEST_P(ArtworkPieceTest, BlackPieceIsSolidBlackWithAFewWhiteHighlights) {
  const InkCounts c = CountInks(*IconFor(GetParam().black));
  ASSERT_GT(c.inside, 0);
  EXPECT_EQ(c.border_black, c.border) << "a highlight breaks the silhouette";
  EXPECT_GT(c.inside_black, c.inside * 3 / 4);
  EXPECT_GT(c.inside_white, 0) << "no highlight lines";
}

TEST_P(ArtworkPieceTest, WhiteDetailLinesAreTheBlackHighlightsInverted) {
  const Icon& white = *IconFor(GetParam().white);
  const Icon& black = *IconFor(GetParam().black);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      if (black.At(x, y) == Ink::kWhite) {
        EXPECT_EQ(white.At(x, y), Ink::kBlack) << x << "," << y;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Artwork, ArtworkPieceTest, testing::ValuesIn(kPairs),
                         [](const auto& pair) { return std::string(pair.param.name); });

int DifferingPixels(const Mask& a, const Mask& b) {
  int count = 0;
  for (std::size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}

TEST(ArtworkTest, AllPieceSilhouettesClearlyDiffer) {
  for (std::size_t i = 0; i < kPairs.size(); ++i) {
    for (std::size_t j = i + 1; j < kPairs.size(); ++j) {
      const Mask a = SilhouetteOf(*IconFor(kPairs[i].white));
      const Mask b = SilhouetteOf(*IconFor(kPairs[j].white));
      EXPECT_GT(DifferingPixels(a, b), 60) << kPairs[i].name << " vs " << kPairs[j].name;
    }
  }
}

TEST(ArtworkTest, TransparentIconIsFullyTransparentAndNoneHasNoIcon) {
  const Icon* icon = IconFor(Picture::kTransparent);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(std::all_of(icon->pixels.begin(), icon->pixels.end(),
                          [](Ink ink) { return ink == Ink::kTransparent; }));
  EXPECT_EQ(IconFor(Picture::kNone), nullptr);
}

TEST(ArtworkTest, EveryPictureHasItsOwnLastingIcon) {
  std::vector<const Icon*> seen;
  for (int i = 0; i <= static_cast<int>(Picture::kTransparent); ++i) {
    const Icon* icon = IconFor(static_cast<Picture>(i));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(IconFor(static_cast<Picture>(i)), icon) << "icons are built once";
    EXPECT_EQ(std::count(seen.begin(), seen.end(), icon), 0) << i;
    seen.push_back(icon);
  }
}

TEST(ArtworkTest, ToolboxPictureUsesTheStandardSixteenColourPalette) {
  const std::array<Rgb, 16> standard = {{{0, 0, 0},
                                         {128, 0, 0},
                                         {0, 128, 0},
                                         {128, 128, 0},
                                         {0, 0, 128},
                                         {128, 0, 128},
                                         {0, 128, 128},
                                         {192, 192, 192},
                                         {128, 128, 128},
                                         {255, 0, 0},
                                         {0, 255, 0},
                                         {255, 255, 0},
                                         {0, 0, 255},
                                         {255, 0, 255},
                                         {0, 255, 255},
                                         {255, 255, 255}}};
  const ToolboxPicture& toolbox = Toolbox();
  EXPECT_EQ(toolbox.palette, standard);
  std::array<bool, 16> used{};
  for (const std::uint8_t index : toolbox.pixels) {
    ASSERT_LT(index, 16);
    used[index] = true;
  }
  EXPECT_GE(std::count(used.begin(), used.end(), true), 4) << "a picture, not a blank";
}

}  // namespace
}  // namespace velmora
