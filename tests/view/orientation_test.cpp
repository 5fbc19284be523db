// The board drawn from either side: where each square goes, what the labels read, and that the
// painter, hit-testing and accessible places agree on every square at every scale.
#include <gtest/gtest.h>

#include <algorithm>

#include "view/accessible_parts.h"
#include "view/display_list.h"
#include "view/hit_test.h"

namespace velmora {
namespace {

using O = BoardOrientation;

std::int16_t N(std::u16string_view name) {
  return SquareNumber(*ParseSquareName(name[0], name[1]));
}

Surface Turned(O orientation) {
  Surface surface;
  surface.SetOrientation(orientation);
  return surface;
}

TEST(Orientation, PlacesSquaresAsDrawnFromEitherSide) {
  struct Case {
    std::u16string_view square;
    O orientation;
    DrawnPlace place;  // row 0 at the top, column 0 at the left
  };
  const Case cases[] = {
      {u"A1", O::kWhiteAtBottom, {7, 0}}, {u"H8", O::kWhiteAtBottom, {0, 7}},
      {u"A8", O::kWhiteAtBottom, {0, 0}}, {u"E2", O::kWhiteAtBottom, {6, 4}},
      {u"A1", O::kBlackAtBottom, {0, 7}}, {u"H8", O::kBlackAtBottom, {7, 0}},
      {u"H1", O::kBlackAtBottom, {0, 0}}, {u"E2", O::kBlackAtBottom, {1, 3}},
  };
  for (const Case& c : cases) {
    const std::string name(c.square.begin(), c.square.end());
    EXPECT_EQ(PlaceOfSquare(N(c.square), c.orientation), c.place) << name;
    EXPECT_EQ(SquareAtPlace(c.place, c.orientation), N(c.square)) << name;
  }
}

TEST(Orientation, EveryPlaceHoldsOneSquareBothWays) {
  for (const O orientation : {O::kWhiteAtBottom, O::kBlackAtBottom}) {
    for (std::int16_t n = 1; n <= 64; ++n) {
      EXPECT_EQ(SquareAtPlace(PlaceOfSquare(n, orientation), orientation), n);
      // A half turn keeps the colours: light squares stay where light squares were.
      EXPECT_EQ(SquareColour(DrawnSquare(n, orientation)), SquareColour(n));
    }
  }
  EXPECT_EQ(SquareAtPlace({8, 0}, O::kWhiteAtBottom), std::nullopt);
  EXPECT_EQ(SquareAtPlace({0, -1}, O::kBlackAtBottom), std::nullopt);
}

TEST(Orientation, NeighboursFollowTheDrawingAndStopAtTheEdge) {
  struct Case {
    std::u16string_view from;
    int up, right;
    O orientation;
    std::optional<std::u16string_view> to;
  };
  const Case cases[] = {
      {u"E2", 1, 0, O::kWhiteAtBottom, u"E3"}, {u"E2", 1, 0, O::kBlackAtBottom, u"E1"},
      {u"E2", 0, 1, O::kWhiteAtBottom, u"F2"}, {u"E2", 0, 1, O::kBlackAtBottom, u"D2"},
      {u"A1", 0, -1, O::kWhiteAtBottom, {}},   {u"A1", 0, 1, O::kBlackAtBottom, {}},
      {u"H8", 1, 0, O::kWhiteAtBottom, {}},    {u"H8", -1, 0, O::kBlackAtBottom, {}},
  };
  for (const Case& c : cases) {
    const auto to = SquareToward(N(c.from), c.up, c.right, c.orientation);
    EXPECT_EQ(to, c.to ? std::optional<std::int16_t>(N(*c.to)) : std::nullopt)
        << std::string(c.from.begin(), c.from.end()) << " " << c.up << "," << c.right;
  }
}

// The text a label is drawn with.
std::u16string LabelText(const DisplayList& list, ControlRef label) {
  const auto it = std::find_if(list.begin(), list.end(),
                               [label](const PaintCommand& c) { return c.source == label; });
  return it == list.end() ? u"(none)" : it->text;
}

TEST(Orientation, CoordinatesReadFromTheSideAtTheBottom) {
  const DisplayList white = BuildDisplayList(Turned(O::kWhiteAtBottom), u"");
  const DisplayList black = BuildDisplayList(Turned(O::kBlackAtBottom), u"");
  EXPECT_EQ(LabelText(white, {ControlName::kRankLabel, 0}), u"8");
  EXPECT_EQ(LabelText(black, {ControlName::kRankLabel, 0}), u"1");
  EXPECT_EQ(LabelText(black, {ControlName::kRankLabel, 7}), u"8");
  const std::u16string files = LabelText(black, {ControlName::kFileLabel});
  std::u16string letters;
  for (const char16_t c : files) {
    if (c != u' ') letters += c;
  }
  EXPECT_EQ(letters, u"HGFEDCBA");
  // Each letter stays in its column's place.
  const std::u16string designed = LabelText(white, {ControlName::kFileLabel});
  ASSERT_EQ(files.size(), designed.size());
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(files[i] == u' ', designed[i] == u' ');
}

TEST(Orientation, TurningIsReportedOnce) {
  struct Turns : SurfaceObserver {
    void PictureChanged(std::int16_t) override { ++pictures; }
    void MoveDisplayChanged() override {}
    void VisibilityChanged(ControlName) override {}
    void EnabledChanged() override {}
    void BoardTurned() override { ++turns; }
    int pictures = 0;
    int turns = 0;
  } observer;
  Surface surface;
  surface.SetObserver(&observer);
  surface.SetOrientation(O::kBlackAtBottom);
  surface.SetOrientation(O::kBlackAtBottom);
  EXPECT_EQ(observer.turns, 1);
  EXPECT_EQ(observer.pictures, 0);  // the plan repaints the whole board for the turn
}

class OrientationAtScale : public ::testing::TestWithParam<std::tuple<O, double>> {};

// A press anywhere on a square's picture hits that square, the accessible place is that
// picture, and the painter puts the square's shape and picture there: one place for each.
TEST_P(OrientationAtScale, PaintingHitTestingAndAccessiblePlacesAgree) {
  const auto [orientation, scale] = GetParam();
  const Surface surface = Turned(orientation);
  const PixelGrid grid(DeviceScale::Times(scale));
  const DisplayList list = BuildDisplayList(surface, u"");
  const auto painted = [&](ControlRef ref) {
    const auto it = std::find_if(list.begin(), list.end(),
                                 [ref](const PaintCommand& c) { return c.source == ref; });
    return grid.BoxOf(it->source, it->rect);
  };
  for (std::int16_t n = 1; n <= 64; ++n) {
    const PixelBox box = *PartBox(surface, grid, n);
    EXPECT_EQ(painted({ControlName::kSquarePicture, n}), box) << "square " << n;
    const PixelBox shape = painted({ControlName::kSquare, n});
    EXPECT_EQ(shape.left, box.left);
    EXPECT_EQ(shape.top, box.top);
    for (const auto& [x, y] : {std::pair{box.left, box.top},
                               {box.right - 1, box.bottom - 1},
                               {(box.left + box.right) / 2, (box.top + box.bottom) / 2}}) {
      EXPECT_EQ(HitTest(surface, grid, x, y), (Hit{Hit::Kind::kSquare, n}))
          << "square " << n << " at " << x << "," << y;
    }
    // The twips hit-test agrees with the pixel one.
    const Rect twips = *PartRect(surface, n);
    EXPECT_EQ(HitTest(surface, {twips.left + 360, twips.top + 360}), (Hit{Hit::Kind::kSquare, n}));
  }
  // A1 lies bottom-left with white at the bottom, top-right with black.
  const PixelBox a1 = *PartBox(surface, grid, 1);
  const PixelBox h8 = *PartBox(surface, grid, 64);
  const bool turned = orientation == O::kBlackAtBottom;
  EXPECT_EQ(a1.left > h8.left, turned);
  EXPECT_EQ(a1.top < h8.top, turned);
}

INSTANTIATE_TEST_SUITE_P(BothSides, OrientationAtScale,
                         ::testing::Combine(::testing::Values(O::kWhiteAtBottom, O::kBlackAtBottom),
                                            ::testing::Values(1.0, 1.5, 2.0)));

}  // namespace
}  // namespace velmora
