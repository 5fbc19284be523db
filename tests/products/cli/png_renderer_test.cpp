#include "platform/headless/png_renderer.h"

#include <gtest/gtest.h>
#include <png.h>

#include "control/user_control.h"
#include "platform/headless/headless_forms.h"
#include "platform/headless/recording_host.h"

namespace velmora {
namespace {

constexpr int kPixel = kTwipsPerPixel;

bool IsInk(Rgb c) {
  return c == Rgb{0, 0, 0} || c == Rgb{255, 255, 255};
}

int InkIn(const RgbImage& image, int left, int top, int width, int height) {
  int ink = 0;
  for (int y = top; y < top + height; ++y) {
    for (int x = left; x < left + width; ++x) ink += IsInk(image.At(x, y)) ? 1 : 0;
  }
  return ink;
}

// Black or white pixels inside square n, its grid lines left out.
int InkOnSquare(const RgbImage& image, std::int16_t n) {
  const Point o = SquareOrigin(n);
  return InkIn(image, o.x / kPixel + 1, o.y / kPixel + 1, 47, 47);
}

RgbImage RenderNew(int scale = 1) {
  return PngRenderer(scale).Render(BuildDisplayList(Surface(), u""));
}

TEST(PngRenderer, ImageCoversTheDesignAtEachScale) {
  EXPECT_EQ(RenderNew().width(), kDesignWidth / kPixel);
  EXPECT_EQ(RenderNew().height(), kDesignHeight / kPixel);
  EXPECT_EQ(RenderNew(2).width(), 2 * kDesignWidth / kPixel);
}

struct CornerCase {
  std::int16_t square;
  Rgb colour;
};

class SquareColours : public testing::TestWithParam<CornerCase> {};

TEST_P(SquareColours, InsideTheGridLineAtBothScales) {
  const CornerCase c = GetParam();
  const Point o = SquareOrigin(c.square);
  for (const int scale : {1, 2}) {
    const RgbImage image = RenderNew(scale);
    // Two pixels in from the top-left corner: past the grid line, left of any piece.
    EXPECT_EQ(image.At(o.x * scale / kPixel + 2 * scale, o.y * scale / kPixel + 2 * scale),
              c.colour)
        << "scale " << scale;
    // The grid line itself is the one-pixel outline.
    EXPECT_EQ(image.At(o.x * scale / kPixel, o.y * scale / kPixel + 2 * scale), (Rgb{0, 0, 0}));
  }
}

INSTANTIATE_TEST_SUITE_P(Corners, SquareColours,
                         testing::Values(CornerCase{1, colours::kDarkSquare},
                                         CornerCase{64, colours::kDarkSquare},
                                         CornerCase{8, colours::kLightSquare},
                                         CornerCase{57, colours::kLightSquare}));

TEST(PngRenderer, BorderAndBackgroundWhereTheLayoutPutsThem) {
  const RgbImage image = RenderNew();
  EXPECT_EQ(image.At(0, 0), (Rgb{0, 0, 0}));  // background outline, 4 pixels
  EXPECT_EQ(image.At(3, 3), (Rgb{0, 0, 0}));
  EXPECT_EQ(image.At(5, 5), colours::kBackground);
  EXPECT_EQ(image.At(100, 470), colours::kBackground);  // below the board, left of Text3
  EXPECT_EQ(image.At(8, 8), (Rgb{0, 0, 0}));            // border outline, 3 pixels
  EXPECT_EQ(image.At(10, 200), (Rgb{0, 0, 0}));
  EXPECT_EQ(image.At(11, 200), colours::kBorder);
  EXPECT_EQ(image.At(12, 12), colours::kBorder);
  EXPECT_EQ(image.At(435, 200), colours::kBorder);  // right of H
}

TEST(PngRenderer, NewInstanceShowsPiecesOnTheHomeRowsOnly) {
  const RgbImage image = RenderNew();
  for (std::int16_t n = 1; n <= 64; ++n) {
    const int row = (n - 1) / 8 + 1;
    if (row <= 2 || row >= 7) {
      EXPECT_GT(InkOnSquare(image, n), 100) << "square " << n;
    } else {
      EXPECT_EQ(InkOnSquare(image, n), 0) << "square " << n;
    }
  }
}

TEST(PngRenderer, HostMoveShowsThePawnOnE4) {
  HeadlessForms forms;
  RecordingHost host;
  const auto control = UserControl1::Create(forms, host);
  control->PutMove(u"E2-E4");
  const RgbImage image =
      PngRenderer().Render(BuildDisplayList(control->surface(), control->GetMove()));
  EXPECT_GT(InkOnSquare(image, 29), 100);
  EXPECT_EQ(InkOnSquare(image, 13), 0);
  EXPECT_EQ(InkOnSquare(image, 29), InkOnSquare(RenderNew(), 12));  // the same pawn as D2's
}

TEST(PngRenderer, OpenPromptCoversTheCentreSquares) {
  Surface surface;
  surface.SetVisible(ControlName::kFrame1, true);
  surface.SetVisible(ControlName::kShape3, true);
  const RgbImage image = PngRenderer().Render(BuildDisplayList(surface, u""));
  // D7 is covered by the backdrop down to the panel's caption: its pawn is gone.
  const Point d7 = SquareOrigin(52);
  EXPECT_EQ(InkIn(image, d7.x / kPixel + 1, d7.y / kPixel + 1, 47, 36), 0);
  EXPECT_GT(InkIn(RenderNew(), d7.x / kPixel + 1, d7.y / kPixel + 1, 47, 36), 100);
  EXPECT_EQ(image.At(2640 / kPixel + 3, 1200 / kPixel + 3), colours::kLightSquare);
  // The queen choice shows ink inside the panel.
  EXPECT_GT(InkIn(image, (2760 + 240) / kPixel, (1800 + 360) / kPixel, 48, 40), 100);
}

TEST(PngRenderer, FileLettersStandUnderTheirColumns) {
  const RgbImage image = RenderNew();
  // The file letters' strip: dark text on the border below the squares, above its outline.
  const int top = 6360 / kPixel;
  const int bottom = 6615 / kPixel - 3;
  // Columns with ink, grouped into letters: strokes of one letter lie a few pixels apart.
  std::vector<std::pair<int, int>> letters;  // first and last inked column
  for (int x = 480 / kPixel; x < (480 + 5895) / kPixel; ++x) {
    bool dark = false;
    for (int y = top; y < bottom; ++y) dark = dark || image.At(x, y).r < 90;
    if (!dark) continue;
    if (!letters.empty() && x - letters.back().second <= 4) {
      letters.back().second = x;
    } else {
      letters.emplace_back(x, x);
    }
  }
  std::vector<int> centres;
  for (const auto& [first, last] : letters) centres.push_back((first + last) / 2);
  ASSERT_EQ(centres.size(), 8u);
  for (int col = 0; col < 8; ++col) {
    const int column_centre = (480 + 720 * col + 360) / kPixel;
    EXPECT_NEAR(centres[static_cast<std::size_t>(col)], column_centre, 4) << "column " << col;
  }
}

TEST(PngRenderer, RankDigitsSitOnTheBorderColour) {
  const RgbImage image = RenderNew();
  for (int k = 0; k < 8; ++k) {
    const int left = 240 / kPixel;
    const int top = (720 + 720 * k) / kPixel;
    int dark = 0;
    for (int y = top; y < top + 17; ++y) {
      for (int x = left; x < left + 9; ++x) dark += image.At(x, y).r < 100 ? 1 : 0;
    }
    EXPECT_GT(dark, 5) << "digit " << k;
    EXPECT_EQ(image.At(left + 8, top + 16), colours::kBorder) << "digit " << k;
  }
}

TEST(PngRenderer, EncodedPngDecodesToTheSamePixels) {
  const RgbImage image = RenderNew();
  const std::vector<std::uint8_t> bytes = EncodePng(image);
  png_image header{};
  header.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&header, bytes.data(), bytes.size()));
  header.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> decoded(PNG_IMAGE_SIZE(header));
  ASSERT_TRUE(png_image_finish_read(&header, nullptr, decoded.data(), 0, nullptr));
  EXPECT_EQ(static_cast<int>(header.width), image.width());
  EXPECT_EQ(static_cast<int>(header.height), image.height());
  EXPECT_EQ(decoded, image.bytes());
}

}  // namespace
}  // namespace velmora
