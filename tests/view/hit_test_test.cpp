#include "view/hit_test.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using N = ControlName;
using K = Hit::Kind;

Surface PromptOpen(ControlName panel) {
  Surface surface;
  surface.SetVisible(panel, true);
  surface.SetVisible(N::kPromptBackdrop, true);
  return surface;
}

TEST(HitTest, EverySquareOverItsWholeArea) {
  const Surface surface;
  for (std::int16_t n = 1; n <= 64; ++n) {
    const Point o = SquareOrigin(n);
    const Hit square{K::kSquare, n};
    for (const Point p : {Point{o.x + 360, o.y + 360}, o, Point{o.x + 719, o.y},
                          Point{o.x, o.y + 719}, Point{o.x + 719, o.y + 719}}) {
      EXPECT_EQ(HitTest(surface, p), square) << "square " << n << " at " << p.x << "," << p.y;
    }
  }
}

TEST(HitTest, RightAndBottomEdgesBelongToTheNeighbour) {
  const Surface surface;
  const Point a1 = SquareOrigin(1);
  EXPECT_EQ(HitTest(surface, {a1.x + 720, a1.y}), (Hit{K::kSquare, 2}));
  EXPECT_EQ(HitTest(surface, {a1.x, a1.y - 1}), (Hit{K::kSquare, 9}));
  // Past H and below row 1 lie only shapes, which let the press through to the surface.
  EXPECT_EQ(HitTest(surface, {480 + 8 * 720, 3000}), Hit{K::kSurface});
  EXPECT_EQ(HitTest(surface, {1000, 5520 + 720}), Hit{K::kSurface});
}

TEST(HitTest, ShapesAndTheMoveDisplayLetPressesThrough) {
  const Surface surface;
  EXPECT_EQ(HitTest(surface, {10, 10}), Hit{K::kSurface});      // background
  EXPECT_EQ(HitTest(surface, {200, 200}), Hit{K::kSurface});    // border
  EXPECT_EQ(HitTest(surface, {3000, 6800}), Hit{K::kSurface});  // the move display, disabled
  EXPECT_EQ(HitTest(surface, {-1, -1}), Hit{K::kSurface});
}

TEST(HitTest, LabelsSwallowTheirClicks) {
  const Surface surface;
  EXPECT_EQ(HitTest(surface, {240, 720}), Hit{K::kSwallowed});                  // "8"
  EXPECT_EQ(HitTest(surface, {374, 720 + 7 * 720 + 254}), Hit{K::kSwallowed});  // "1"
  EXPECT_EQ(HitTest(surface, {375, 720}), Hit{K::kSurface});                    // right of "8"
  EXPECT_EQ(HitTest(surface, {3000, 6400}), Hit{K::kSwallowed});                // file letters
  EXPECT_EQ(HitTest(surface, {5100, 6900}), Hit{K::kSwallowed});                // title
}

TEST(HitTest, HiddenControlsAreNeverHit) {
  const Surface surface;
  EXPECT_EQ(HitTest(surface, {130, 7930}), Hit{K::kSurface});  // the spare holder
  // The first choice's place shows the square below while no panel is shown: E6.
  EXPECT_EQ(HitTest(surface, {2760 + 240 + 360, 1800 + 360 + 360}), (Hit{K::kSquare, 45}));
}

struct ChoiceCase {
  ControlName panel;
  std::int16_t choice;
  std::int32_t top_in_panel;
};

class ChoiceHit : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ChoiceHit, ShownPanelDeliversItsChoice) {
  const ChoiceCase c = GetParam();
  const Point origin{2760 + 240, 1800 + c.top_in_panel};
  const Surface open = PromptOpen(c.panel);
  for (const Point p :
       {Point{origin.x + 360, origin.y + 360}, origin, Point{origin.x + 719, origin.y + 359}}) {
    EXPECT_EQ(HitTest(open, p), (Hit{K::kChoice, c.choice})) << p.x << "," << p.y;
  }
  // Just outside the choice, still on the panel.
  EXPECT_EQ(HitTest(open, {origin.x - 1, origin.y + 360}), Hit{K::kSwallowed});
  EXPECT_EQ(HitTest(open, {origin.x + 720, origin.y + 360}), Hit{K::kSwallowed});
}

TEST_P(ChoiceHit, HiddenPanelDeliversNothing) {
  const ChoiceCase c = GetParam();
  const ControlName other = c.panel == N::kWhitePanel ? N::kBlackPanel : N::kWhitePanel;
  const Point centre{2760 + 240 + 360, 1800 + c.top_in_panel + 360};
  EXPECT_EQ(HitTest(Surface(), centre).kind, K::kSquare);
  const Hit with_other = HitTest(PromptOpen(other), centre);
  EXPECT_NE(with_other, (Hit{K::kChoice, c.choice}));
}

INSTANTIATE_TEST_SUITE_P(
    AllChoices, ChoiceHit,
    testing::Values(ChoiceCase{N::kWhitePanel, 0, 360}, ChoiceCase{N::kWhitePanel, 1, 960},
                    ChoiceCase{N::kWhitePanel, 2, 1680}, ChoiceCase{N::kWhitePanel, 3, 2400},
                    ChoiceCase{N::kBlackPanel, 4, 240}, ChoiceCase{N::kBlackPanel, 5, 960},
                    ChoiceCase{N::kBlackPanel, 6, 1680}, ChoiceCase{N::kBlackPanel, 7, 2400}));

TEST(HitTest, OverlappingChoicesGoToTheOneAbove) {
  // The queen reaches 120 twips into the rook below it; the rook lies above it.
  const Surface open = PromptOpen(N::kWhitePanel);
  EXPECT_EQ(HitTest(open, {3100, 1800 + 959}), (Hit{K::kChoice, 0}));
  EXPECT_EQ(HitTest(open, {3100, 1800 + 960}), (Hit{K::kChoice, 1}));
  EXPECT_EQ(HitTest(open, {3100, 1800 + 1079}), (Hit{K::kChoice, 1}));
}

TEST(HitTest, OpenPromptSwallowsPanelAndLetsTheBackdropThrough) {
  const Surface open = PromptOpen(N::kWhitePanel);
  EXPECT_EQ(HitTest(open, {2760 + 10, 1800 + 10}), Hit{K::kSwallowed});  // panel caption
  // Between the panel and the backdrop's edge the press reaches the square below (D7).
  EXPECT_EQ(HitTest(open, {2640 + 10, 1200 + 10}), (Hit{K::kSquare, 52}));
  // The black panel's higher queen is not there while the white one is shown.
  EXPECT_EQ(HitTest(open, {3100, 2050}), Hit{K::kSwallowed});
}

}  // namespace
}  // namespace velmora
