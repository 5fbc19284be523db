#include "view/display_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "view/highlight.h"

namespace velmora {
namespace {

using N = ControlName;

// Position of the first command painted for a control; -1 when the list leaves it out.
int IndexOf(const DisplayList& list, ControlRef ref) {
  const auto it = std::find_if(list.begin(), list.end(),
                               [ref](const PaintCommand& c) { return c.source == ref; });
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

const PaintCommand& CommandOf(const DisplayList& list, ControlRef ref) {
  const int index = IndexOf(list, ref);
  EXPECT_GE(index, 0) << "control missing from the list";
  return list.at(static_cast<std::size_t>(std::max(index, 0)));
}

Surface PromptOpen(ControlName panel) {
  Surface surface;
  surface.SetVisible(panel, true);
  surface.SetVisible(N::kPromptBackdrop, true);
  return surface;
}

TEST(DisplayList, NewInstanceLeavesHiddenControlsOut) {
  const DisplayList list = BuildDisplayList(Surface(), u"");
  for (const ControlRef hidden : {ControlRef{N::kSquarePicture, 0}, ControlRef{N::kPromptBackdrop},
                                  ControlRef{N::kWhitePanel}, ControlRef{N::kBlackPanel},
                                  ControlRef{N::kChoice, 0}, ControlRef{N::kChoice, 7}}) {
    EXPECT_EQ(IndexOf(list, hidden), -1) << static_cast<int>(hidden.name) << "/" << hidden.index;
  }
  // Background, border, 64 squares, 64 pictures, 8 digits, file letters, title, move display.
  EXPECT_EQ(list.size(), 2u + 64u + 64u + 8u + 1u + 1u + 1u);
}

TEST(DisplayList, NewInstancePaintsInLayerOrder) {
  const DisplayList list = BuildDisplayList(Surface(), u"");
  EXPECT_EQ(IndexOf(list, {N::kBackground}), 0);
  EXPECT_EQ(IndexOf(list, {N::kBoardBorder}), 1);
  for (std::int16_t n = 1; n <= 64; ++n) {
    EXPECT_EQ(IndexOf(list, {N::kSquare, n}), 1 + n);
    EXPECT_EQ(IndexOf(list, {N::kSquarePicture, n}), 65 + n);
  }
  EXPECT_LT(IndexOf(list, {N::kSquarePicture, 64}), IndexOf(list, {N::kRankLabel, 0}));
  EXPECT_EQ(list.back().source, (ControlRef{N::kMoveDisplay}));
}

TEST(DisplayList, SquaresShowTheirColourAndPicture) {
  const DisplayList list = BuildDisplayList(Surface(), u"");
  const PaintCommand& a1 = CommandOf(list, {N::kSquare, 1});
  EXPECT_EQ(a1.kind, PaintKind::kRectangle);
  EXPECT_EQ(a1.fill, colours::kDarkSquare);
  EXPECT_EQ(a1.rect.left, 480);
  EXPECT_EQ(a1.rect.top, 5520);
  EXPECT_EQ(a1.rect.width, 735);
  EXPECT_EQ(a1.line_width, 1);
  EXPECT_EQ(CommandOf(list, {N::kSquare, 8}).fill, colours::kLightSquare);

  const PaintCommand& rook = CommandOf(list, {N::kSquarePicture, 1});
  EXPECT_EQ(rook.kind, PaintKind::kIcon);
  EXPECT_EQ(rook.picture, Picture::kWhiteRook);
  EXPECT_EQ(CommandOf(list, {N::kSquarePicture, 5}).picture, Picture::kWhiteKing);
  EXPECT_EQ(CommandOf(list, {N::kSquarePicture, 61}).picture, Picture::kBlackKing);
  EXPECT_EQ(CommandOf(list, {N::kSquarePicture, 28}).picture, Picture::kTransparent);
}

TEST(DisplayList, SquareShowingNothingIsLeftOutAndMovedPictureShows) {
  Surface surface;
  surface.SetPicture(29, surface.PictureOf(13));
  surface.SetPicture(13, Picture::kNone);
  const DisplayList list = BuildDisplayList(surface, u"E2-E4");
  EXPECT_EQ(IndexOf(list, {N::kSquarePicture, 13}), -1);
  EXPECT_GE(IndexOf(list, {N::kSquare, 13}), 0);
  EXPECT_EQ(CommandOf(list, {N::kSquarePicture, 29}).picture, Picture::kWhitePawn);
}

TEST(DisplayList, ShapesCarryTheirOutline) {
  const DisplayList list = BuildDisplayList(Surface(), u"");
  const PaintCommand& background = CommandOf(list, {N::kBackground});
  EXPECT_EQ(background.fill, colours::kBackground);
  EXPECT_EQ(background.line_width, 4);
  EXPECT_EQ(background.line, colours::kWindowText);
  const PaintCommand& border = CommandOf(list, {N::kBoardBorder});
  EXPECT_EQ(border.fill, colours::kBorder);
  EXPECT_EQ(border.line_width, 3);
}

TEST(DisplayList, ABoardAloneStandsOnItsThemesBackgroundWithoutAFrame) {
  Surface surface;
  surface.SetBoardAlone();
  surface.SetLook({.background = {1, 2, 3}});
  const DisplayList list = BuildDisplayList(surface, u"");
  const PaintCommand& background = CommandOf(list, {N::kBackground});
  EXPECT_EQ(background.fill, (Rgb{1, 2, 3}));
  EXPECT_EQ(background.line_width, 0);
}

TEST(DisplayList, LabelsAreTextInTheirFonts) {
  const DisplayList list = BuildDisplayList(Surface(), u"");
  const PaintCommand& top_digit = CommandOf(list, {N::kRankLabel, 0});
  EXPECT_EQ(top_digit.kind, PaintKind::kText);
  EXPECT_EQ(top_digit.text, u"8");
  EXPECT_EQ(top_digit.fill, colours::kBorder);
  EXPECT_EQ(CommandOf(list, {N::kRankLabel, 7}).text, u"1");
  const PaintCommand& files = CommandOf(list, {N::kFileLabel});
  EXPECT_EQ(files.text.size(), 83u);
  EXPECT_FALSE(files.fill.has_value());
  const PaintCommand& title = CommandOf(list, {N::kTitleLabel});
  EXPECT_EQ(title.text, u"Velmora");
  EXPECT_EQ(title.line, colours::kLightSquare);
  ASSERT_TRUE(title.font.has_value());
  EXPECT_EQ(title.font->face, u"Napa Heavy SF");
}

TEST(DisplayList, MoveDisplayIsADisabledCentredTextBox) {
  const DisplayList list = BuildDisplayList(Surface(), u"E2-E4");
  const PaintCommand& move = CommandOf(list, {N::kMoveDisplay});
  EXPECT_EQ(move.kind, PaintKind::kTextBox);
  EXPECT_EQ(move.text, u"E2-E4");
  EXPECT_FALSE(move.enabled);
  EXPECT_TRUE(move.centred);
  ASSERT_TRUE(move.font.has_value());
  EXPECT_EQ(move.font->face, u"Times New Roman");
  EXPECT_TRUE(move.font->bold);
  EXPECT_EQ(move.font->points, 12);
}

struct PromptCase {
  ControlName shown;
  ControlName hidden;
  std::int16_t first_choice;
  std::int32_t first_top;  // surface top of the queen
};

class PromptDisplay : public testing::TestWithParam<PromptCase> {};

TEST_P(PromptDisplay, PanelAndChoicesLieAboveTheSquares) {
  const PromptCase c = GetParam();
  const DisplayList list = BuildDisplayList(PromptOpen(c.shown), u"G7");
  const int backdrop = IndexOf(list, {N::kPromptBackdrop});
  const int panel = IndexOf(list, {c.shown});
  ASSERT_GE(backdrop, 0);
  ASSERT_GE(panel, 0);
  EXPECT_GT(backdrop, IndexOf(list, {N::kSquarePicture, 64}));
  EXPECT_GT(backdrop, IndexOf(list, {N::kTitleLabel}));
  EXPECT_GT(panel, backdrop);
  EXPECT_EQ(IndexOf(list, {c.hidden}), -1);

  const PaintCommand& frame = list[static_cast<std::size_t>(panel)];
  EXPECT_EQ(frame.kind, PaintKind::kGroupFrame);
  EXPECT_EQ(frame.text, u"Promote To?");
  EXPECT_EQ(frame.fill, colours::kLightSquare);

  for (std::int16_t k = 0; k < 8; ++k) {
    const bool mine = k >= c.first_choice && k < c.first_choice + 4;
    const int at = IndexOf(list, {N::kChoice, k});
    if (!mine) {
      EXPECT_EQ(at, -1) << "choice " << k;
      continue;
    }
    ASSERT_GT(at, panel) << "choice " << k;
    EXPECT_EQ(list[static_cast<std::size_t>(at)].rect.left, 2760 + 240);
  }
  const PaintCommand& queen = CommandOf(list, {N::kChoice, c.first_choice});
  EXPECT_EQ(queen.rect.top, c.first_top);
  EXPECT_EQ(queen.picture, c.first_choice == 0 ? Picture::kWhiteQueen : Picture::kBlackQueen);
}

INSTANTIATE_TEST_SUITE_P(BothSides, PromptDisplay,
                         testing::Values(PromptCase{N::kWhitePanel, N::kBlackPanel, 0, 1800 + 360},
                                         PromptCase{N::kBlackPanel, N::kWhitePanel, 4,
                                                    1800 + 240}));

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// Each scheme, and a pair of the host's own, colours the squares; the last move's tint follows.
TEST(DisplayList, SquaresWearTheSurfacesColours) {
  std::vector<SquareColours> schemes;
  for (std::int32_t theme = 0; theme <= kLastTheme; ++theme) {
    schemes.push_back(ThemeColours(static_cast<Theme>(theme)));
  }
  schemes.push_back({{1, 2, 3}, {250, 251, 252}});
  for (const SquareColours& colours : schemes) {
    Surface surface;
    surface.SetLook({colours});
    surface.SetLastMoveSquares(1);  // A1, dark
    const DisplayList list = BuildDisplayList(surface, u"");
    EXPECT_EQ(CommandOf(list, {N::kSquare, 1}).fill, colours.dark);
    EXPECT_EQ(CommandOf(list, {N::kSquare, 2}).fill, colours.light);
    const auto tint = std::find_if(
        list.begin(), list.end(), [](const PaintCommand& c) { return c.kind == PaintKind::kTint; });
    ASSERT_NE(tint, list.end());
    EXPECT_EQ(tint->fill, LastMoveColour(colours.dark));
  }
}

// Inside, the file letters lie in the bottom row's squares and the rank digits in the left
// column's, in the other square colour, turned with the board; the margin labels go. Outside
// keeps the margin labels; none shows neither.
TEST(DisplayList, CoordinatesLieInsideTheEdgeSquaresOrInTheMargin) {
  const auto texts = [](const DisplayList& list) {
    std::u16string shown;
    for (const PaintCommand& c : list) {
      if (c.kind == PaintKind::kText && c.source.name == N::kSquarePicture) shown += c.text;
    }
    return shown;
  };
  for (const auto orientation :
       {BoardOrientation::kWhiteAtBottom, BoardOrientation::kBlackAtBottom}) {
    Surface surface;
    surface.SetOrientation(orientation);
    surface.SetLook({.coordinates = Coordinates::kInside});
    const DisplayList list = BuildDisplayList(surface, u"");
    EXPECT_EQ(texts(list), orientation == BoardOrientation::kWhiteAtBottom ? u"a1b2c3d4e5f6g7h8"
                                                                           : u"h8g7f6e5d4c3b2a1");
    EXPECT_EQ(IndexOf(list, {N::kFileLabel}), -1);
    // The bottom left place is dark: its letter is in the light colour.
    const auto letter = std::find_if(list.begin(), list.end(), [](const PaintCommand& c) {
      return c.kind == PaintKind::kText && c.source == ControlRef{N::kSquarePicture, 1};
    });
    ASSERT_NE(letter, list.end());
    EXPECT_EQ(letter->line, surface.Look().squares.light);
  }
  Surface outside;
  EXPECT_EQ(texts(BuildDisplayList(outside, u"")), u"");
  EXPECT_GE(IndexOf(BuildDisplayList(outside, u""), {N::kFileLabel}), 0);
  Surface none;
  none.SetLook({.coordinates = Coordinates::kNone});
  EXPECT_EQ(texts(BuildDisplayList(none, u"")), u"");
  EXPECT_EQ(IndexOf(BuildDisplayList(none, u""), {N::kRankLabel, 0}), -1);
}

}  // namespace
}  // namespace velmora
