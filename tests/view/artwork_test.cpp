#include "view/artwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace velmora {
namespace {

constexpr MaskSize kNative{48, 48};

std::uint8_t AlphaAt(const PieceImage& image, int x, int y) {
  const bool inside = x >= 0 && y >= 0 && x < image.size.width && y < image.size.height;
  return inside ? image.alpha[image.Offset(x, y)] : 0;
}

// A pixel the piece's edge passes through (partly covered), or a covered pixel next to one:
// where the outline lies, whatever fraction of a pixel the edge falls on.
bool NearEdge(const PieceImage& image, int x, int y) {
  if (AlphaAt(image, x, y) == 0) return false;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (AlphaAt(image, x + dx, y + dy) < 255) return true;
    }
  }
  return false;
}

struct InkCounts {
  int edge = 0;
  int edge_white = 0;  // more than a quarter of the pixel white
  int partial = 0;     // edge pixels the piece only partly covers
  int partial_black = 0;
  int inside = 0;
  int inside_white = 0;  // white ink over three quarters
  int inside_black = 0;
};

InkCounts CountInks(const PieceImage& image) {
  InkCounts counts;
  for (int y = 0; y < image.size.height; ++y) {
    for (int x = 0; x < image.size.width; ++x) {
      const int alpha = AlphaAt(image, x, y);
      if (alpha == 0) continue;
      const int white = image.white[image.Offset(x, y)];
      if (NearEdge(image, x, y)) {
        ++counts.edge;
        counts.edge_white += white > 64;
        if (alpha < 255) {
          ++counts.partial;
          counts.partial_black += white < alpha / 4;
        }
      } else {
        ++counts.inside;
        counts.inside_white += white > 191;
        counts.inside_black += white < 64;
      }
    }
  }
  return counts;
}

struct Extent {
  int left = 48, right = -1, top = 48, bottom = -1;
};

Extent ExtentOf(const PieceImage& image) {
  Extent e;
  for (int y = 0; y < image.size.height; ++y) {
    for (int x = 0; x < image.size.width; ++x) {
      if (image.alpha[image.Offset(x, y)] < 128) continue;
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
  EXPECT_EQ(RasterizePiece(GetParam().white, kNative).alpha,
            RasterizePiece(GetParam().black, kNative).alpha);
}

TEST_P(ArtworkPieceTest, StandsCentredOnTheCommonBaseWithinTheMargin) {
  const PieceImage image = RasterizePiece(GetParam().white, kNative);
  const Extent e = ExtentOf(image);
  EXPECT_EQ(e.bottom, 43);
  EXPECT_GE(e.top, 2);
  EXPECT_GE(e.left, 2);
  EXPECT_LE(e.right, 48 - 3);
  // Twice the centre of the extent, against the box's centre line at 47 / 2.
  EXPECT_NEAR(e.left + e.right, 47, 2);
  EXPECT_GE(e.bottom - e.top, 28);
  EXPECT_GE(e.right - e.left, 20);
  // The base's bottom edge lies on a pixel edge: solid above it, nothing below, at 96 dpi.
  EXPECT_EQ(image.alpha[image.Offset(24, 43)], 255);
  EXPECT_EQ(image.alpha[image.Offset(24, 44)], 0);
}

TEST_P(ArtworkPieceTest, WhitePieceHasABlackOutlineAroundAMostlyWhiteBody) {
  const InkCounts c = CountInks(RasterizePiece(GetParam().white, kNative));
  ASSERT_GT(c.inside, 0);
  // Where the edge cuts a pixel, what the piece covers of it is outline.
  EXPECT_GT(c.partial_black, c.partial * 4 / 5);
  EXPECT_GT(c.inside_white, c.inside * 3 / 5);
  EXPECT_GT(c.inside_black, 0) << "no inner detail lines";
}

TEST_P(ArtworkPieceTest, BlackPieceIsSolidBlackWithAFewWhiteHighlights) {
  const PieceImage image = RasterizePiece(GetParam().black, kNative);
  const InkCounts c = CountInks(image);
  ASSERT_GT(c.inside, 0);
  EXPECT_EQ(c.edge_white, 0) << "a highlight breaks the silhouette";
  EXPECT_GT(c.inside_black, c.inside * 3 / 4);
  EXPECT_GT(c.inside_white, 0) << "no highlight lines";
}

TEST_P(ArtworkPieceTest, WhiteDetailLinesAreTheBlackHighlightsInverted) {
  const PieceImage white = RasterizePiece(GetParam().white, kNative);
  const PieceImage black = RasterizePiece(GetParam().black, kNative);
  for (std::size_t i = 0; i < white.white.size(); ++i) {
    if (black.white[i] > 191) {
      EXPECT_LT(white.white[i], 64) << i;
    }
  }
}

TEST_P(ArtworkPieceTest, EdgesAreSmoothAtDoubleSizeNotDoubledPixels) {
  const PieceImage twice = RasterizePiece(GetParam().white, {96, 96});
  // Of the 2 x 2 blocks that hold part of an edge, a doubled picture would have every one
  // uniform; drawn from the outline, most edge blocks mix coverages.
  int edge_blocks = 0;
  int mixed = 0;
  for (int y = 0; y < 96; y += 2) {
    for (int x = 0; x < 96; x += 2) {
      const std::array<int, 4> block = {
          twice.alpha[twice.Offset(x, y)], twice.alpha[twice.Offset(x + 1, y)],
          twice.alpha[twice.Offset(x, y + 1)], twice.alpha[twice.Offset(x + 1, y + 1)]};
      const auto [low, high] = std::minmax_element(block.begin(), block.end());
      if (*high == 0 || *low == 255) continue;
      ++edge_blocks;
      mixed += *low != *high;
    }
  }
  EXPECT_GT(mixed, edge_blocks / 2);
}

TEST_P(ArtworkPieceTest, WhiteInkNeverExceedsCoverage) {
  for (const Picture picture : {GetParam().white, GetParam().black}) {
    for (const MaskSize size : {kNative, MaskSize{72, 72}, MaskSize{96, 64}}) {
      const PieceImage image = RasterizePiece(picture, size);
      ASSERT_EQ(image.alpha.size(), static_cast<std::size_t>(size.width * size.height));
      for (std::size_t i = 0; i < image.alpha.size(); ++i) {
        ASSERT_LE(image.white[i], image.alpha[i]) << i;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Artwork, ArtworkPieceTest, testing::ValuesIn(kPairs),
                         [](const auto& pair) { return std::string(pair.param.name); });

int DifferingPixels(const PieceImage& a, const PieceImage& b) {
  int count = 0;
  for (std::size_t i = 0; i < a.alpha.size(); ++i)
    count += (a.alpha[i] > 127) != (b.alpha[i] > 127);
  return count;
}

TEST(ArtworkTest, AllPieceSilhouettesClearlyDiffer) {
  for (std::size_t i = 0; i < kPairs.size(); ++i) {
    for (std::size_t j = i + 1; j < kPairs.size(); ++j) {
      EXPECT_GT(DifferingPixels(RasterizePiece(kPairs[i].white, kNative),
                                RasterizePiece(kPairs[j].white, kNative)),
                60)
          << kPairs[i].name << " vs " << kPairs[j].name;
    }
  }
}

TEST(ArtworkTest, OnlyPiecesHaveArt) {
  EXPECT_EQ(ArtFor(Picture::kTransparent), nullptr);
  EXPECT_EQ(ArtFor(Picture::kNone), nullptr);
  EXPECT_TRUE(RasterizePiece(Picture::kTransparent, kNative).alpha.empty());
  for (int i = 0; i < kPieceCount; ++i) {
    const PieceArt* art = ArtFor(PieceAt(i));
    ASSERT_NE(art, nullptr);
    EXPECT_EQ(art, ArtFor(PieceAt(i))) << "art is built once";
    EXPECT_EQ(art->body.rule(), FillRule::kNonZero);
  }
  EXPECT_EQ(ArtFor(Picture::kWhiteKnight), ArtFor(Picture::kBlackKnight));
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
