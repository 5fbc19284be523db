#include "view/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "board/square.h"
#include "view/surface.h"

namespace velmora {
namespace {

TEST(LayoutTest, SquareOneIsBottomLeftAndSquare64TopRight) {
  for (std::int16_t n = 1; n <= 64; ++n) {
    const Point o = SquareOrigin(n);
    const Point right = SquareOrigin(static_cast<std::int16_t>(n % 8 == 0 ? n : n + 1));
    const Point up = SquareOrigin(static_cast<std::int16_t>(n > 56 ? n : n + 8));
    if (n % 8 != 0) {
      EXPECT_EQ(right.x - o.x, 720) << n;
    }
    if (n <= 56) {
      EXPECT_EQ(o.y - up.y, 720) << n;
    }
  }
  EXPECT_EQ(SquareOrigin(1).x, 480);
  EXPECT_EQ(SquareOrigin(1).y, 5520);
  EXPECT_EQ(SquareOrigin(64).x, 5520);
  EXPECT_EQ(SquareOrigin(64).y, 480);
}

TEST(LayoutTest, ColoursAlternateWithA1AndH8Dark) {
  EXPECT_EQ(SquareColour(1), colours::kDarkSquare);
  EXPECT_EQ(SquareColour(64), colours::kDarkSquare);
  EXPECT_EQ(SquareColour(8), colours::kLightSquare);
  EXPECT_EQ(SquareColour(57), colours::kLightSquare);
  for (std::int16_t n = 1; n < 64; ++n) {
    if (n % 8 != 0) {
      EXPECT_NE(SquareColour(n), SquareColour(static_cast<std::int16_t>(n + 1))) << n;
    }
    if (n <= 56) {
      EXPECT_NE(SquareColour(n), SquareColour(static_cast<std::int16_t>(n + 8))) << n;
    }
  }
}

TEST(LayoutTest, LayersNeverGoDownInPaintingOrder) {
  Layer last = Layer::kBackground;
  for (const ControlSpec& spec : DesignLayout()) {
    EXPECT_GE(spec.layer, last);
    last = spec.layer;
  }
  // The black panel lies above the white one, each directly under its own choices.
  const auto layout = DesignLayout();
  const auto at = [&](ControlRef ref) {
    return std::find_if(layout.begin(), layout.end(), [&](auto& s) { return s.ref == ref; }) -
           layout.begin();
  };
  EXPECT_LT(at({ControlName::kWhitePanel}), at({ControlName::kChoice, 0}));
  EXPECT_LT(at({ControlName::kChoice, 3}), at({ControlName::kBlackPanel}));
  EXPECT_LT(at({ControlName::kBlackPanel}), at({ControlName::kChoice, 4}));
  EXPECT_LT(at({ControlName::kPromptBackdrop}), at({ControlName::kWhitePanel}));
}

TEST(LayoutTest, EveryControlIsThereOnceAndHiddenHoldersLieOutsideTheDesign) {
  std::set<std::pair<int, int>> seen;
  for (const ControlSpec& spec : DesignLayout()) {
    EXPECT_TRUE(seen.insert({static_cast<int>(spec.ref.name), spec.ref.index}).second);
    if (!spec.visible && !spec.parent && spec.ref.name != ControlName::kPromptBackdrop &&
        spec.ref.name != ControlName::kWhitePanel && spec.ref.name != ControlName::kBlackPanel) {
      EXPECT_GE(spec.top, kDesignHeight) << static_cast<int>(spec.ref.name);
    }
  }
  EXPECT_EQ(seen.size(), 2u + 64 + 65 + 8 + 2 + 1 + 1 + 2 + 8);
}

TEST(LayoutTest, BackdropCoversColumnsDAndERows2To7WithThePanelInside) {
  const ControlSpec& backdrop = *FindControl({ControlName::kPromptBackdrop});
  const Point d7 = SquareOrigin(SquareNumber({7, 4}));
  const Point e2 = SquareOrigin(SquareNumber({2, 5}));
  EXPECT_EQ(backdrop.left, d7.x);
  EXPECT_EQ(backdrop.top, d7.y);
  EXPECT_EQ(backdrop.left + backdrop.width, e2.x + 735);
  EXPECT_EQ(backdrop.top + backdrop.height, e2.y + 735);
  for (ControlName panel : {ControlName::kWhitePanel, ControlName::kBlackPanel}) {
    const ControlSpec& frame = *FindControl({panel});
    EXPECT_EQ(frame.left - backdrop.left, 120);
    EXPECT_EQ(backdrop.left + backdrop.width - (frame.left + frame.width), 120);
    EXPECT_EQ(frame.top - backdrop.top, 600);
    EXPECT_EQ(backdrop.top + backdrop.height - (frame.top + frame.height), 480);
  }
}

TEST(LayoutTest, CaptionsOfDigitsFilesAndPanels) {
  for (std::int16_t k = 0; k < 8; ++k) {
    const ControlSpec& digit = *FindControl({ControlName::kRankLabel, k});
    EXPECT_EQ(digit.caption, std::u16string(1, static_cast<char16_t>(56 - k)));
    const Point row_top = SquareOrigin(SquareNumber({static_cast<std::int16_t>(8 - k), 1}));
    EXPECT_EQ(digit.top, row_top.y + 240);
  }
  EXPECT_EQ(kFileLetters.size(), 83u);
  EXPECT_EQ(FindControl({ControlName::kBlackPanel})->caption, u"Promote To?");
}

TEST(LayoutTest, ANewSurfaceShowsTheInitialPosition) {
  const Surface surface;
  const std::u16string_view initial =
      u"RNBQKBNRPPPPPPPP********************************pppppppprnbqkbnr";
  for (std::int16_t n = 1; n <= 64; ++n) {
    const Picture p = surface.PictureOf(n);
    if (initial[n - 1] == u'*') {
      EXPECT_EQ(p, Picture::kTransparent) << n;
    } else {
      EXPECT_EQ(p, PictureForCell(initial[n - 1])) << n;
    }
  }
  EXPECT_EQ(surface.PictureOf(0), Picture::kNone);
  for (ControlName c :
       {ControlName::kWhitePanel, ControlName::kBlackPanel, ControlName::kPromptBackdrop}) {
    EXPECT_FALSE(surface.IsVisible(c));
  }
  EXPECT_FALSE(surface.IsShown(*FindControl({ControlName::kChoice, 0})));
  EXPECT_TRUE(surface.Enabled());
}

TEST(LayoutTest, ChoiceLetters) {
  EXPECT_EQ(
      std::u16string(u"QRBNqrbn"),
      (std::u16string{*ChoiceLetter(0), *ChoiceLetter(1), *ChoiceLetter(2), *ChoiceLetter(3),
                      *ChoiceLetter(4), *ChoiceLetter(5), *ChoiceLetter(6), *ChoiceLetter(7)}));
  EXPECT_FALSE(ChoiceLetter(8).has_value());
  EXPECT_FALSE(ChoiceLetter(-1).has_value());
}

}  // namespace
}  // namespace velmora
