#include "view/painter.h"

#include "view/highlight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace velmora {
namespace {

using N = ControlName;

bool Inside(const PixelBox& inner, const PixelBox& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Writes down what the painter asks for; text is eight pixels a character.
class RecordingCanvas : public Canvas {
 public:
  struct Call {
    const char* what;
    PixelBox area;  // the filled box, or the clip of a text, mask or piece
    Rgb colour{0, 0, 0};
  };

  void Fill(const PixelBox& box, Rgb colour) override { calls.push_back({"fill", box, colour}); }
  void TranslucentFill(const PixelBox& box, Rgb colour, std::uint8_t) override {
    calls.push_back({"translucent", box, colour});
  }
  TextMetrics Measure(std::u16string_view text, const TextFont& font) override {
    return {static_cast<int>(text.size()) * 8, font.pixels, font.pixels + 2};
  }
  void Text(std::u16string_view, const TextFont&, Rgb colour, int, int,
            const PixelBox& clip) override {
    calls.push_back({"text", clip, colour});
  }
  void Mask(const CoverageMask&, Rgb colour, int, int, const PixelBox& clip) override {
    calls.push_back({"mask", clip, colour});
  }
  void Layer(const ColourLayer&, const PixelBox& clip) override {
    calls.push_back({"layer", clip, {0, 0, 0}});
  }
  void Piece(const PieceImage& image, Picture, const PixelBox& box, std::uint8_t,
             const PixelBox& clip) override {
    calls.push_back({"piece", clip, {0, 0, 0}});
    piece_sizes.push_back(image.size);
    piece_boxes.push_back(box);
  }

  std::vector<Call> calls;
  std::vector<MaskSize> piece_sizes;
  std::vector<PixelBox> piece_boxes;
};

// Everything the list can hold: pieces, labels, the move display, a shown panel, the mark.
DisplayList EveryKind() {
  Surface surface;
  surface.SetVisible(N::kWhitePanel, true);
  surface.SetVisible(N::kPromptBackdrop, true);
  surface.SetFocusMark(66);
  return BuildDisplayList(surface, u"E2-E4");
}

TEST(SurfacePainter, TouchesNothingOutsideTheDirtyBoxes) {
  const DisplayList list = EveryKind();
  for (const double scale : {1.0, 1.5, 2.0}) {
    const PixelGrid grid(DeviceScale::Times(scale));
    const PixelBox design = grid.DesignBox();
    const std::vector<PixelBox> dirty = {
        {0, 0, 1, 1},
        {design.right / 3, design.bottom / 3, design.right / 3 + 37, design.bottom / 3 + 53},
        grid.BoxOf(*FindControl({N::kMoveDisplay})),
        grid.BoxOf(*FindControl({N::kWhitePanel})),
        {design.right - 20, design.bottom - 20, design.right + 20, design.bottom + 20},
    };
    for (const PixelBox& box : dirty) {
      SurfacePainter painter;
      RecordingCanvas canvas;
      painter.Paint(canvas, grid, list, box);
      EXPECT_FALSE(canvas.calls.empty());
      for (const auto& call : canvas.calls) {
        EXPECT_TRUE(Inside(call.area, box)) << call.what << " at " << scale;
      }
    }
  }
}

TEST(SurfacePainter, PaintsNothingUnderAPartThatCoversTheWholeBox) {
  const PixelGrid grid(DeviceScale::Times(1));
  SurfacePainter painter;
  RecordingCanvas canvas;
  // E2's picture box: its square covers it, so neither background nor border is filled.
  painter.Paint(canvas, grid, BuildDisplayList(Surface(), u""),
                grid.BoxOf(*FindControl({N::kSquarePicture, 13})));
  for (const auto& call : canvas.calls) {
    EXPECT_NE(call.colour, colours::kBackground) << call.what;
    EXPECT_NE(call.colour, colours::kBorder) << call.what;
  }
  ASSERT_EQ(canvas.piece_sizes.size(), 1u);
  EXPECT_TRUE(std::any_of(canvas.calls.begin(), canvas.calls.end(),
                          [](const auto& call) { return call.colour == SquareColour(13); }));
}

TEST(SurfacePainter, RasterizesPiecesAtMostAThousandAndTwentyFourPixelsASide) {
  struct Case {
    MaskSize picture, rasterized;
  };
  const Case cases[] = {{{48, 48}, {48, 48}},
                        {{1024, 1024}, {1024, 1024}},
                        {{1025, 1025}, {1024, 1024}},
                        {{4096, 2048}, {1024, 512}},
                        {{30, 6000}, {5, 1024}}};
  for (const Case& c : cases) {
    EXPECT_EQ(SurfacePainter::RasterSize(c.picture), c.rasterized)
        << c.picture.width << " x " << c.picture.height;
  }
  // A huge drawing hands the canvas the capped picture with the full box to scale it into.
  const PixelGrid grid(DeviceScale::ToFit(0, 0, 100000, 100000));
  SurfacePainter painter;
  RecordingCanvas canvas;
  const PixelBox e2 = grid.BoxOf(*FindControl({N::kSquarePicture, 13}));
  painter.Paint(canvas, grid, BuildDisplayList(Surface(), u""),
                {e2.left, e2.top, e2.left + 10, e2.top + 10});
  ASSERT_EQ(canvas.piece_sizes.size(), 1u);
  EXPECT_EQ(canvas.piece_sizes[0], SurfacePainter::RasterSize(grid.picture_size()));
  EXPECT_EQ(canvas.piece_boxes[0].width(), grid.picture_size().width);
}

TEST(SurfacePainter, KeepsPiecesForTheSizeInUseAndAFewBefore) {
  SurfacePainter painter;
  RecordingCanvas canvas;
  const DisplayList list = BuildDisplayList(Surface(), u"");
  for (const double scale : {1.0, 1.25, 1.5, 2.0, 3.0, 1.0}) {
    const PixelGrid grid(DeviceScale::Times(scale));
    painter.Paint(canvas, grid, list, grid.BoxOf(*FindControl({N::kSquarePicture, 13})));
  }
  EXPECT_EQ(painter.piece_sizes_held(), SurfacePainter::kPieceSizesKept + 1);
}

TEST(PainterTest, DestinationMarksAreMasksInsideTheirSquaresPictures) {
  Surface surface;
  const std::int16_t e4 = 29, e7 = 53;
  surface.SetDestinations((std::uint64_t{1} << (e4 - 1)) | (std::uint64_t{1} << (e7 - 1)));
  const PixelGrid grid(DeviceScale::Times(1));
  RecordingCanvas canvas;
  SurfacePainter painter;
  painter.Paint(canvas, grid, BuildDisplayList(surface, u""),
                PixelBox{0, 0, kDesignWidth / kTwipsPerPixel, kDesignHeight / kTwipsPerPixel});
  std::vector<PixelBox> masks;
  for (const auto& call : canvas.calls) {
    if (std::string_view(call.what) == "mask") {
      EXPECT_EQ(call.colour, kDestinationColour);
      masks.push_back(call.area);
    }
  }
  ASSERT_EQ(masks.size(), 2u);
  EXPECT_TRUE(Inside(masks[0], grid.BoxOf(*FindControl({N::kSquarePicture, e4}))));
  EXPECT_TRUE(Inside(masks[1], grid.BoxOf(*FindControl({N::kSquarePicture, e7}))));
}

TEST(DestinationMaskTest, ADotFillsTheMiddleAndARingTheEdge) {
  const MaskSize size{48, 48};
  const CoverageMask dot = DestinationMask(DestinationShape::kDot, size);
  const CoverageMask ring = DestinationMask(DestinationShape::kRing, size);
  EXPECT_GT(dot.At(24, 24), 100);
  EXPECT_EQ(dot.At(2, 24), 0);
  EXPECT_EQ(ring.At(24, 24), 0);
  EXPECT_GT(ring.At(1, 24), 100);
  EXPECT_LT(*std::max_element(ring.coverage.begin(), ring.coverage.end()), 255)
      << "the colour is laid over, not painted";
}

TEST(CheckGlowMaskTest, FullInTheMiddleFadingToNothingAtTheEdges) {
  for (const MaskSize size : {MaskSize{48, 48}, MaskSize{96, 96}, MaskSize{47, 49}}) {
    const CoverageMask glow = CheckGlowMask(size);
    ASSERT_EQ(glow.coverage.size(), static_cast<std::size_t>(size.width * size.height));
    const int cx = size.width / 2, cy = size.height / 2;
    EXPECT_EQ(glow.At(cx, cy), 255);
    // Fading outward along a row, and nothing at the corners or the middle of an edge.
    for (int x = cx; x + 1 < size.width; ++x) EXPECT_GE(glow.At(x, cy), glow.At(x + 1, cy));
    EXPECT_LT(glow.At(size.width - 1, cy), 20);
    EXPECT_EQ(glow.At(0, 0), 0);
    EXPECT_EQ(glow.At(size.width - 1, size.height - 1), 0);
    // As much on one side as on the other.
    EXPECT_EQ(glow.At(1, cy), glow.At(size.width - 2, size.height - 1 - cy));
  }
}

// Marks are rasterized only where a paint shows them, whatever the board's size: a 700 x 600
// box of a board up to 32,767 pixels costs the tiles round it and holds at most the bound, and
// the same box painted again rasterizes nothing.
TEST(MarkCoverage, RasterizesWhatIsPaintedAndHoldsLittle) {
  // Circles and arrows of every colour, many across the middle.
  const std::u16string every = u"Ya1 Yd4 Ye5 Yh8 Ra1h8 Rh1a8 Bd1d8 Ba4h4 Gc3f6 Gf3c6 Ye2e7 Rb1g8";
  constexpr int kTile = MarkCoverage::kTileSide;
  for (const int side : {400, 1600, 8000, 16000, 32767}) {
    for (const std::u16string& text : {std::u16string(u"Ga1h8"), every}) {
      SCOPED_TRACE(testing::Message() << side << " pixels, " << text.size() << " characters");
      const auto marks = std::make_shared<const std::vector<SquareMark>>(
          std::get<std::vector<SquareMark>>(ParseSquareMarks(text)));
      const PixelGrid grid(DeviceScale::BoardFit({0, 0, side, side}));
      const PixelBox clip{side / 2 - 350, side / 2 - 300, side / 2 + 350, side / 2 + 300};
      const PixelBox shown = Intersection(clip, BoardPicturesBox(grid));
      MarkCoverage coverage(marks, BoardOrientation::kWhiteAtBottom, grid);
      RecordingCanvas canvas;
      coverage.Paint(canvas, false, clip);
      coverage.Paint(canvas, true, clip);
      long long laid = 0;
      for (const auto& call : canvas.calls) {
        EXPECT_TRUE(Inside(call.area, shown));
        laid += static_cast<long long>(call.area.width()) * call.area.height();
      }
      const long long area = static_cast<long long>(shown.width()) * shown.height();
      EXPECT_EQ(laid, text == every ? 2 * area : area);
      EXPECT_LE(coverage.pixels_rasterized(),
                2 * static_cast<std::size_t>(shown.width() + 2 * kTile) *
                    static_cast<std::size_t>(shown.height() + 2 * kTile));
      EXPECT_LE(coverage.bytes_kept(), MarkCoverage::kMostBytesKept);
      const std::size_t rasterized = coverage.pixels_rasterized();
      coverage.Paint(canvas, true, clip);
      EXPECT_EQ(coverage.pixels_rasterized(), rasterized);
    }
  }
}

}  // namespace
}  // namespace velmora
