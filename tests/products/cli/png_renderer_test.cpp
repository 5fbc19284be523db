#include "platform/headless/png_renderer.h"
#include "tests/products/cli/planned_screen.h"

#include <gtest/gtest.h>
#include <png.h>

#include "control/board_control.h"
#include "platform/headless/headless_forms.h"
#include "tests/support/board_scale.h"
#include "tests/support/recording_host.h"
#include "view/accessible_parts.h"
#include "view/highlight.h"
#include "view/hit_test.h"
#include "view/repaint_plan.h"
#include "view/spare_pieces.h"

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

RgbImage RenderNew(double scale = 1) {
  return PngRenderer(scale).Render(BuildDisplayList(Surface(), u""));
}

TEST(PngRenderer, RepaintingOnlyThePlannedBoxesGivesTheWholePicture) {
  for (const double scale : {1.0, 1.5, 2.0}) {
    HeadlessForms forms;
    RecordingHost host;
    const auto control = BoardControl::Create(forms, host);
    forms.Attach(control);
    PlannedScreen screen(*control, scale);
    int checks = 0;
    const auto check = [&] {
      const RgbImage whole = screen.Whole();
      EXPECT_EQ(screen.Repainted().bytes(), whole.bytes()) << "check " << checks << " at " << scale;
      ++checks;
    };
    control->PutMove(u"E2-E4");
    check();
    control->ClickSquare(7);  // G1 lifted
    check();
    control->ClickSquare(22);  // put down on F3
    check();
    std::int16_t key = 0x27, shift = 0;  // the right arrow shows the focus mark
    control->SurfaceKeyDown(key, shift);
    check();
    control->PutPosition(u"****K***" + std::u16string(40, u'*') + u"****P*******k***");
    check();
    // The promotion prompt opens: checked while it waits, then the rook is chosen.
    forms.Queue([&](BoardControl&) { check(); });
    forms.QueueChoiceClick(1);
    control->ClickSquare(53);
    control->ClickSquare(61);
    check();
    control->Enabled(false);
    check();
    EXPECT_EQ(checks, 8);
  }
}

// A ChessBoard's tints, glow and turns repaint through the plan's boxes alone too.
TEST(PngRenderer, RepaintingThePlannedBoxesShowsTurnsTintsAndGlows) {
  for (const double scale : {1.0, 1.5, 2.0}) {
    HeadlessForms forms;
    RecordingHost host;
    const auto control = BoardControl::Create(forms, host, ControlClass::kChessBoard);
    forms.Attach(control);
    PlannedScreen screen(*control, scale);
    int checks = 0;
    const auto check = [&] {
      const RgbImage whole = screen.Whole();
      EXPECT_EQ(screen.Repainted().bytes(), whole.bytes()) << "check " << checks << " at " << scale;
      ++checks;
    };
    const std::vector<std::function<void()>> steps = {
        [&] { control->PutMove(u"E2-E4"); },
        [&] { control->CheckSquare(u"E8"); },
        [&] { control->LastMove(u"D2-D4"); },
        [&] { control->Orientation(1); },
        [&] {
          control->ClickSquare(7);  // G1 lifted on the turned board
          control->ClickSquare(22);
        },
        [&] { control->CheckSquare(u"E1"); },
        [&] { control->ShowLastMove(false); },
        [&] { control->Orientation(0); },
        [&] { control->PutMove(u"**"); },
    };
    for (const auto& step : steps) {
      step();
      check();
    }
    EXPECT_EQ(checks, 9);
  }
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
  EXPECT_EQ(image.At(100, 470), colours::kBackground);  // below the board, left of the move display
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
  const auto control = BoardControl::Create(forms, host);
  control->PutMove(u"E2-E4");
  const RgbImage image =
      PngRenderer().Render(BuildDisplayList(control->surface(), control->GetMove()));
  EXPECT_GT(InkOnSquare(image, 29), 100);
  EXPECT_EQ(InkOnSquare(image, 13), 0);
  EXPECT_EQ(InkOnSquare(image, 29), InkOnSquare(RenderNew(), 12));  // the same pawn as D2's
}

TEST(PngRenderer, OpenPromptCoversTheCentreSquares) {
  Surface surface;
  surface.SetVisible(ControlName::kWhitePanel, true);
  surface.SetVisible(ControlName::kPromptBackdrop, true);
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

class RenderScale : public testing::TestWithParam<double> {};

// Columns where a row of pixels turns black: the grid lines it crosses.
std::vector<int> BlackColumns(const RgbImage& image, int y, int from, int to) {
  std::vector<int> columns;
  for (int x = from; x < to; ++x) {
    if (image.At(x, y) == Rgb{0, 0, 0}) columns.push_back(x);
  }
  return columns;
}

TEST_P(RenderScale, GridLinesAreOnePixelAndSquaresEqual) {
  PngRenderer renderer(GetParam());
  const RgbImage image = renderer.Render(BuildDisplayList(Surface(), u""));
  const PixelGrid& grid = renderer.grid();
  // Along rank 4, one pixel under its top grid line: nothing but squares and grid lines.
  const PixelBox a4 = grid.BoxOf(*FindControl({ControlName::kSquare, 25}));
  const PixelBox h4 = grid.BoxOf(*FindControl({ControlName::kSquare, 32}));
  const std::vector<int> lines = BlackColumns(image, a4.top + 1, a4.left, h4.right);
  ASSERT_EQ(lines.size(), 9u);
  const int pitch = grid.picture_size().width;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i], a4.left + static_cast<int>(i) * pitch) << i;
  }
  // Down the A file, the same between the ranks.
  std::vector<int> rows;
  const PixelBox a1 = grid.BoxOf(*FindControl({ControlName::kSquare, 1}));
  for (int y = grid.BoxOf(*FindControl({ControlName::kSquare, 57})).top; y < a1.bottom; ++y) {
    if (image.At(a1.left + 1, y) == Rgb{0, 0, 0}) rows.push_back(y);
  }
  ASSERT_EQ(rows.size(), 9u);
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i] - rows[i - 1], pitch) << i;
  EXPECT_EQ(image.At(a4.left + 1, a4.top + 1), SquareColour(25));
}

TEST_P(RenderScale, PieceEdgesBlendIntoTheSquare) {
  PngRenderer renderer(GetParam());
  const RgbImage image = renderer.Render(BuildDisplayList(Surface(), u""));
  const PixelBox e2 = renderer.grid().BoxOf(*FindControl({ControlName::kSquarePicture, 13}));
  const Rgb square = SquareColour(13);
  int ink = 0;
  int blended = 0;
  for (int y = e2.top + 1; y < e2.bottom; ++y) {
    for (int x = e2.left + 1; x < e2.right; ++x) {
      const Rgb c = image.At(x, y);
      if (IsInk(c)) {
        ++ink;
      } else if (c != square) {
        ++blended;
        // Grey ink over the square's colour keeps the colour's channel differences in
        // proportion: both shrink by the same coverage.
        const int rg = c.r - c.g, gb = c.g - c.b;
        EXPECT_LE(std::abs(rg * (square.g - square.b) - gb * (square.r - square.g)), 3 * 64)
            << x << "," << y;
      }
    }
  }
  const double area = GetParam() * GetParam();
  EXPECT_GT(ink, 300 * area);
  EXPECT_GT(blended, 20 * GetParam());
  EXPECT_LT(blended, ink);
}

TEST_P(RenderScale, HitTestingFindsEachSquareWhereItIsDrawn) {
  PngRenderer renderer(GetParam());
  const Surface surface;
  for (std::int16_t n = 1; n <= 64; ++n) {
    const PixelBox picture = renderer.grid().BoxOf(*FindControl({ControlName::kSquarePicture, n}));
    EXPECT_EQ(HitTest(surface, renderer.grid(), picture.left, picture.top),
              (Hit{Hit::Kind::kSquare, n}));
    EXPECT_EQ(HitTest(surface, renderer.grid(), picture.right - 1, picture.bottom - 1),
              (Hit{Hit::Kind::kSquare, n}));
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, RenderScale, testing::Values(1.0, 1.25, 1.5, 2.0, 3.0));

// A ChessBoard fills any area as its grid lays it out: the squares' colours edge to edge, the
// theme's background round the centred board, the file letters and rank digits in the edge
// squares' corners.
TEST(PngRenderer, AChessBoardFillsAnyAreaOnWholePixels) {
  struct Area {
    int width, height;
  };
  HeadlessForms forms;
  RecordingHost host;
  const auto control = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  forms.Attach(control);
  control->PutPosition(std::u16string(64, u'*'));
  const Surface& surface = control->surface();
  const DisplayList list = BuildDisplayList(surface, u"");
  for (const Area area : {Area{160, 160}, Area{400, 400}, Area{401, 257}, Area{1600, 1600}}) {
    for (const int s : {1, 2}) {
      const int width = area.width * s, height = area.height * s;
      PngRenderer renderer(ScaleOnArea(surface, {0, 0, width, height}, s));
      const RgbImage image = renderer.Render(list);
      const std::string where = std::to_string(area.width) + "x" + std::to_string(area.height) +
                                " at " + std::to_string(s) + "x";
      ASSERT_EQ(image.width(), width) << where;
      ASSERT_EQ(image.height(), height) << where;
      const int side = std::min(width, height) / 8;
      const int left = (width - 8 * side) / 2, top = (height - 8 * side) / 2;
      // An empty square's colour from edge to edge; beside the board, the background.
      const PixelBox e4 = renderer.grid().BoxOf(*FindControl({ControlName::kSquare, 29}));
      EXPECT_EQ(image.At(e4.left, e4.top), surface.SquareFill(29)) << where;
      EXPECT_EQ(image.At(e4.right - 1, e4.bottom - 1), surface.SquareFill(29)) << where;
      const Rgb background = surface.Look().background;
      EXPECT_EQ(image.At(left > 0 ? left - 1 : 0, height / 2) == background, left > 0) << where;
      EXPECT_EQ(image.At(width / 2, top > 0 ? top - 1 : 0) == background, top > 0) << where;
      // A1's letter in its bottom right corner: drawn in the light colour, a few pixels high.
      const PixelBox a1 = renderer.grid().BoxOf(*FindControl({ControlName::kSquare, 1}));
      int lettered_rows = 0;
      for (int y = a1.top + side / 2; y < a1.bottom; ++y) {
        bool lettered = false;
        for (int x = a1.left + side / 2; x < a1.right; ++x) {
          lettered |= image.At(x, y) != surface.SquareFill(1);
        }
        lettered_rows += lettered;
      }
      EXPECT_GE(lettered_rows, side / 8) << where << ": the letter's height";
    }
  }
}

// Outside, the coordinates stand in a margin the board leaves round itself: A1's letter below
// its square, its digit to its left, on the background.
TEST(PngRenderer, AChessBoardsOutsideCoordinatesStandInItsMargin) {
  HeadlessForms forms;
  RecordingHost host;
  const auto control = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  ASSERT_FALSE(control->Coordinates(2));
  const Surface& surface = control->surface();
  PngRenderer renderer(ScaleOnArea(surface, {0, 0, 400, 400}, 1));
  const RgbImage image = renderer.Render(BuildDisplayList(surface, u""));
  const PixelBox a1 = renderer.grid().BoxOf(*FindControl({ControlName::kSquare, 1}));
  EXPECT_EQ(a1.width(), static_cast<int>(400 / 9.1));
  const auto ink = [&](int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) count += image.At(x, y) != surface.Look().background;
    }
    return count;
  };
  EXPECT_GT(ink(a1.left, a1.bottom, a1.right, 400), 10) << "the letter";
  EXPECT_GT(ink(0, a1.top, a1.left, a1.bottom), 10) << "the digit";
}

// In edit mode the spare pieces stand in two lines beside the board, the far side's at the top
// or the left, inside the area and clear of the board; each is hit where it is drawn, and the
// armed one takes the selection tint.
TEST(PngRenderer, TheSparePiecesStandBesideTheBoardInEitherOrientation) {
  HeadlessForms forms;
  RecordingHost host;
  const auto control = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  forms.Attach(control);
  ASSERT_FALSE(control->EditMode(true));
  control->ClickSpare(2);
  const Surface& surface = control->surface();
  for (const int turned : {0, 1}) {
    ASSERT_FALSE(control->Orientation(turned));
    const DisplayList list = BuildDisplayList(surface, u"");
    for (const auto& [width, height] : {std::pair{400, 400}, {600, 400}, {300, 500}}) {
      for (const int s : {1, 2}) {
        PngRenderer renderer(ScaleOnArea(surface, {0, 0, width * s, height * s}, s));
        const RgbImage image = renderer.Render(list);
        const PixelGrid& grid = renderer.grid();
        const std::string where = std::to_string(width) + "x" + std::to_string(height) + " at " +
                                  std::to_string(s) + "x, turned " + std::to_string(turned);
        const PixelBox board = Union(grid.BoxOf(*FindControl({ControlName::kSquare, 57})),
                                     grid.BoxOf(*FindControl({ControlName::kSquare, 8})));
        const bool wide = width > height;
        for (std::int16_t place = 0; place < kSparePlaces; ++place) {
          const PixelBox box = grid.BoxOf({ControlName::kSpare, place}, kSpareCell);
          EXPECT_EQ(box.width(), grid.picture_size().width) << where;
          EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= image.width() &&
                      box.bottom <= image.height())
              << where << ", place " << place;
          EXPECT_TRUE(IsEmpty(Intersection(box, board))) << where << ", place " << place;
          const bool far = wide ? box.right <= board.left : box.bottom <= board.top;
          EXPECT_EQ(far, place < 6) << where << ", place " << place;
          const Hit hit = HitTest(surface, grid, box.left + 1, box.top + 1);
          EXPECT_EQ(hit, (Hit{Hit::Kind::kSpare, place})) << where;
          // Each piece in its colour: a black piece is mostly black ink, a white one white.
          int black = 0, white = 0;
          for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
              black += image.At(x, y) == Rgb{0, 0, 0};
              white += image.At(x, y) == Rgb{255, 255, 255};
            }
          }
          const char16_t letter = SpareLetter(place, surface.Orientation());
          if (place != kEraserPlace) {
            EXPECT_EQ(black > white, letter >= u'a') << where << ", place " << place;
          }
          const Rgb cell = surface.Look().squares.light;
          EXPECT_EQ(image.At(box.left, box.top),
                    place == 2 ? TintedColour(kSelectionTint, kSelectionOpacity, cell) : cell)
              << where << ", place " << place;
        }
      }
    }
  }
}

TEST(PngRenderer, DoubleSizeIsDrawnNotDoubled) {
  const RgbImage twice = RenderNew(2);
  const PixelBox e2 = PngRenderer(2).grid().BoxOf(*FindControl({ControlName::kSquarePicture, 13}));
  // A doubled picture repeats every pixel in a 2 x 2 block; a drawn one does not at its edges.
  int uneven_blocks = 0;
  for (int y = e2.top; y + 1 < e2.bottom; y += 2) {
    for (int x = e2.left; x + 1 < e2.right; x += 2) {
      const Rgb c = twice.At(x, y);
      uneven_blocks +=
          c != twice.At(x + 1, y) || c != twice.At(x, y + 1) || c != twice.At(x + 1, y + 1);
    }
  }
  EXPECT_GT(uneven_blocks, 40);
}

TEST(PngRenderer, ScalesOutsideOneToFourAreBroughtToTheNearerEnd) {
  EXPECT_EQ(PngRenderer(0.5).scale(), 1);
  EXPECT_EQ(PngRenderer(9).scale(), 4);
  EXPECT_EQ(PngRenderer(1.75).Render({}).width(), 786);  // 6735 twips at 1.75 x 96 dpi
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

// Each channel of `c` lies strictly between those of `a` and `b`, or equals both.
bool Between(Rgb c, Rgb a, Rgb b) {
  const auto inside = [](int v, int x, int y) {
    return x == y ? v == x : v > std::min(x, y) && v < std::max(x, y);
  };
  return inside(c.r, a.r, b.r) && inside(c.g, a.g, b.g) && inside(c.b, a.b, b.b);
}

TEST(PngRenderer, LastMoveTintAndCheckGlowAtOneAndTwoTimes) {
  HeadlessForms forms;
  RecordingHost host;
  const auto control = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  forms.Attach(control);
  control->PutPosition(u"R***K***" + std::u16string(48, u'*') + u"****k***");
  control->PutMove(u"A1-A4");                 // A1 is dark and empty now, A4 light with the rook
  ASSERT_FALSE(control->CheckSquare(u"D5"));  // an empty light square: the glow shows whole
  const DisplayList list = BuildDisplayList(control->surface(), control->GetMove());
  const BoardLook look = control->surface().Look();
  for (const double scale : {1.0, 2.0}) {
    PngRenderer renderer(ScaleOf(*control, scale));
    const RgbImage image = renderer.Render(list);
    const auto box = [&](std::u16string_view name) {
      return *PartBox(control->surface(), renderer.grid(),
                      SquareNumber(*ParseSquareName(name[0], name[1])));
    };
    const int in = static_cast<int>(2 * scale);
    const PixelBox a1 = box(u"A1");
    const Rgb tinted = image.At(a1.left + in, a1.top + in);
    EXPECT_TRUE(Between(tinted, look.squares.dark, kLastMoveTint))
        << int(tinted.r) << "," << int(tinted.g) << "," << int(tinted.b) << " at " << scale;
    EXPECT_EQ(image.At(a1.left + a1.width() / 2, a1.bottom - 1), tinted);  // all of the square
    const PixelBox a4 = box(u"A4");
    EXPECT_TRUE(Between(image.At(a4.left + in, a4.top + in), look.squares.light, kLastMoveTint));
    const PixelBox b1 = box(u"B1");
    EXPECT_EQ(image.At(b1.left + in, b1.top + in), look.squares.light);  // not the move's

    const PixelBox d5 = box(u"D5");
    const int middle_x = (d5.left + d5.right) / 2;
    const int middle_y = (d5.top + d5.bottom) / 2;
    EXPECT_EQ(image.At(middle_x, middle_y), kCheckGlow) << "at " << scale;
    const Rgb halfway = image.At(middle_x + d5.width() * 3 / 10, middle_y);
    EXPECT_TRUE(Between(halfway, look.squares.light, kCheckGlow)) << "at " << scale;
    EXPECT_EQ(image.At(d5.left + in, d5.top + in), look.squares.light);  // the corners keep it
    const PixelBox e5 = box(u"E5");
    EXPECT_EQ(image.At(e5.left + in, (e5.top + e5.bottom) / 2), look.squares.dark);
  }
}

TEST(PngRenderer, ATurnedBoardReadsItsCoordinatesFromBlacksSide) {
  Surface turned;
  turned.SetOrientation(BoardOrientation::kBlackAtBottom);
  const RgbImage normal = RenderNew();
  const RgbImage image = PngRenderer(1).Render(BuildDisplayList(turned, u""));
  // Each rank digit is drawn where the other side drew it: "1" at the top, "8" at the bottom.
  const int left = 240 / kPixel;
  for (int k = 0; k < 8; ++k) {
    const int top = (720 + 720 * k) / kPixel;
    const int mirrored = (720 + 720 * (7 - k)) / kPixel;
    int same = 0;
    for (int y = 0; y < 255 / kPixel; ++y) {
      for (int x = 0; x < 135 / kPixel; ++x) {
        same += image.At(left + x, top + y) == normal.At(left + x, mirrored + y) ? 1 : 0;
      }
    }
    EXPECT_EQ(same, (255 / kPixel) * (135 / kPixel)) << "digit " << k;
  }
  // H is drawn under the left column: narrower and plainer than A, its ink differs.
  const auto ink_under_first_column = [](const RgbImage& picture) {
    int dark = 0;
    for (int y = 6360 / kPixel; y < 6615 / kPixel - 3; ++y) {
      for (int x = 480 / kPixel; x < (480 + 720) / kPixel; ++x) {
        dark += picture.At(x, y).r < 90 ? 1 : 0;
      }
    }
    return dark;
  };
  EXPECT_GT(ink_under_first_column(image), 0);
  EXPECT_NE(ink_under_first_column(image), ink_under_first_column(normal));
  // A1's rook stands top-right now, on its dark square.
  const Point h8_place = SquareOrigin(64);
  EXPECT_GT(InkIn(image, h8_place.x / kPixel + 1, h8_place.y / kPixel + 1, 47, 47), 100);
  EXPECT_EQ(image.At(h8_place.x / kPixel + 2, h8_place.y / kPixel + 2), colours::kDarkSquare);
}

// At 1x the chooser on A8 shows queen, rook, bishop and knight on A8 to A5, each square
// exactly as that piece on a square of the chooser's colour, turned or not.
TEST(PngRenderer, TheChooserShowsItsFourPiecesDownThePromotionFile) {
  for (const auto orientation :
       {BoardOrientation::kWhiteAtBottom, BoardOrientation::kBlackAtBottom}) {
    Surface shown, alone;
    shown.SetOrientation(orientation);
    shown.SetChooser(57);
    alone.SetOrientation(orientation);
    alone.SetLook({{kChooserSquare, kChooserSquare}, colours::kBackground, Coordinates::kNone});
    const std::int16_t squares[] = {57, 49, 41, 33};
    for (int i = 0; i < 4; ++i) alone.SetPicture(squares[i], *PictureForCell(u"QRBN"[i]));
    PngRenderer renderer;
    const RgbImage image = renderer.Render(BuildDisplayList(shown, u""));
    const RgbImage expected = renderer.Render(BuildDisplayList(alone, u""));
    for (const std::int16_t n : squares) {
      const PixelBox box = *PartBox(alone, renderer.grid(), n);
      int off = 0;  // the board's grid line along the top and left is the reference's own
      for (int y = box.top + 1; y < box.bottom; ++y) {
        for (int x = box.left + 1; x < box.right; ++x)
          off += image.At(x, y) == expected.At(x, y) ? 0 : 1;
      }
      EXPECT_EQ(off, 0) << "square " << n << " orientation " << static_cast<int>(orientation);
    }
  }
}

}  // namespace
}  // namespace velmora
