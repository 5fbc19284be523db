#include "view/layout.h"

#include <array>
#include <vector>

namespace velmora {
namespace {

constexpr Font kSansBold{u"MS Sans Serif", 8.25, true};
constexpr Font kTextBoxFont{u"Times New Roman", 12, true};
constexpr Font kTitleFont{u"Napa Heavy SF", 14.25, true};
constexpr Rgb kWindow{255, 255, 255};

// The hidden spare holder lies below the visible design, where nothing can click it.
constexpr std::int32_t kHolderLeft = 120;
constexpr std::int32_t kHolderTop = 7920;

constexpr std::int32_t kPanelLeft = 2760;
constexpr std::int32_t kPanelTop = 1800;
constexpr std::int32_t kChoiceLeft = 240;  // inside the panel

struct Choice {
  std::int32_t top;
  Picture picture;
  char16_t letter;
};

constexpr Choice kChoices[8] = {
    {360, Picture::kWhiteQueen, u'Q'},   {960, Picture::kWhiteRook, u'R'},
    {1680, Picture::kWhiteBishop, u'B'}, {2400, Picture::kWhiteKnight, u'N'},
    {240, Picture::kBlackQueen, u'q'},   {960, Picture::kBlackRook, u'r'},
    {1680, Picture::kBlackBishop, u'b'}, {2400, Picture::kBlackKnight, u'n'},
};

constexpr std::u16string_view kRankDigits = u"87654321";
constexpr std::u16string_view kTurnedRankDigits = u"12345678";
// The letters sit where the columns are: turning swaps A with H, B with G and so on, and keeps
// every letter's place.
constexpr std::u16string_view kTurnedFileLetters =
    u"     H         G           F          E         D           C          B          A";

std::vector<ControlSpec> BuildLayout() {
  std::vector<ControlSpec> t;
  auto add = [&t](ControlSpec spec) { t.push_back(spec); };
  using N = ControlName;
  using K = ControlKind;
  using L = Layer;
  // A filled shape, outlined that many pixels wide.
  auto shape = [&add](ControlRef ref, L layer, Point at, std::int32_t width, std::int32_t height,
                      bool visible, Rgb back, std::int16_t outline) {
    ControlSpec spec{ref, K::kShape, layer, at.x, at.y, width, height, visible};
    spec.back = back;
    spec.outline_width = outline;
    add(spec);
  };

  shape({N::kBackground}, L::kBackground, {0, 0}, kDesignWidth, kDesignHeight, true,
        colours::kBackground, 4);
  shape({N::kBoardBorder}, L::kBorder, {120, 120}, 6495, 6495, true, colours::kBorder, 3);
  for (std::int16_t n = 1; n <= 64; ++n) {
    shape({N::kSquare, n}, L::kSquares, SquareOrigin(n), 735, 735, true, SquareColour(n), 1);
  }
  add({{N::kSquarePicture, 0}, K::kImage, L::kPictures, kHolderLeft, kHolderTop, 735, 735, false});
  for (std::int16_t n = 1; n <= 64; ++n) {
    const Point o = SquareOrigin(n);
    ControlSpec slot{{N::kSquarePicture, n}, K::kImage, L::kPictures, o.x, o.y, 720, 720, true};
    slot.design_picture = DesignSquarePicture(n);
    add(slot);
  }
  for (std::int16_t k = 0; k < 8; ++k) {
    ControlSpec digit{
        {N::kRankLabel, k}, K::kLabel, L::kLabels, 240, 720 + 720 * k, 135, 255, true, {},
        colours::kBorder};
    digit.caption = kRankDigits.substr(static_cast<std::size_t>(k), 1);
    digit.font = kSansBold;
    add(digit);
  }
  ControlSpec files{{N::kFileLabel}, K::kLabel, L::kLabels, 480, 6360, 5895, 255, true};
  files.caption = kFileLetters;
  files.font = kSansBold;
  add(files);
  ControlSpec title{
      {N::kTitleLabel},     K::kLabel, L::kLabels, 5040, 6840, 1575, 375, true, {}, {},
      colours::kLightSquare};
  title.caption = kTitle;
  title.font = kTitleFont;
  add(title);
  shape({N::kPromptBackdrop}, L::kBackdrop, {2640, 1200}, 1455, 4335, false, colours::kLightSquare,
        1);

  ControlSpec move{
      {N::kMoveDisplay}, K::kTextBox, L::kChildWindows, 2760, 6720, 1095, 375, true, {}, kWindow};
  move.font = kTextBoxFont;
  move.enabled = false;
  move.centred = true;
  add(move);

  for (const N panel : {N::kWhitePanel, N::kBlackPanel}) {
    ControlSpec frame{{panel}, K::kPanel, L::kChildWindows,     kPanelLeft, kPanelTop, 1215, 3255,
                      false,   {},        colours::kLightSquare};
    frame.caption = kPromptCaption;
    frame.font = kSansBold;
    add(frame);
    const std::int16_t first = panel == N::kWhitePanel ? 0 : 4;
    for (std::int16_t k = first; k < first + 4; ++k) {
      ControlSpec choice{{N::kChoice, k},
                         K::kImage,
                         L::kChildWindows,
                         kChoiceLeft,
                         kChoices[k].top,
                         720,
                         720,
                         true,
                         panel};
      choice.design_picture = kChoices[k].picture;
      add(choice);
    }
  }
  return t;
}

}  // namespace

Point SquareOrigin(std::int16_t n) {
  const std::int32_t row = (n - 1) / 8 + 1;
  const std::int32_t col = (n - 1) % 8 + 1;
  return {480 + 720 * (col - 1), 5520 - 720 * (row - 1)};
}

DrawnPlace PlaceOfSquare(std::int16_t n, BoardOrientation orientation) {
  const std::int16_t drawn = DrawnSquare(n, orientation);
  return {7 - (drawn - 1) / 8, (drawn - 1) % 8};
}

std::optional<std::int16_t> SquareAtPlace(DrawnPlace place, BoardOrientation orientation) {
  if (place.row < 0 || place.row > 7 || place.column < 0 || place.column > 7) return std::nullopt;
  const auto drawn = static_cast<std::int16_t>((7 - place.row) * 8 + place.column + 1);
  return DrawnSquare(drawn, orientation);
}

std::optional<std::int16_t> SquareToward(std::int16_t n, int up, int right,
                                         BoardOrientation orientation) {
  const DrawnPlace at = PlaceOfSquare(n, orientation);
  return SquareAtPlace({at.row - up, at.column + right}, orientation);
}

std::u16string_view RankLabelCaption(std::int16_t k, BoardOrientation orientation) {
  const std::u16string_view digits =
      orientation == BoardOrientation::kBlackAtBottom ? kTurnedRankDigits : kRankDigits;
  return digits.substr(static_cast<std::size_t>(k), 1);
}

std::u16string_view FileLabelCaption(BoardOrientation orientation) {
  return orientation == BoardOrientation::kBlackAtBottom ? kTurnedFileLetters : kFileLetters;
}

Picture DesignSquarePicture(std::int16_t n) {
  const std::int16_t row = static_cast<std::int16_t>((n - 1) / 8 + 1);
  if (row >= 3 && row <= 6) return Picture::kTransparent;
  constexpr std::u16string_view kHomeRows = u"RNBQKBNRPPPPPPPP";
  const std::int16_t col = static_cast<std::int16_t>((n - 1) % 8);
  const char16_t white = kHomeRows[(row == 1 || row == 8 ? 0 : 8) + col];
  const char16_t letter = row <= 2 ? white : static_cast<char16_t>(white - u'A' + u'a');
  return *PictureForCell(letter);
}

Rgb SquareColour(std::int16_t n) {
  const int row = (n - 1) / 8 + 1;
  const int col = (n - 1) % 8 + 1;
  return (row + col) % 2 == 0 ? colours::kDarkSquare : colours::kLightSquare;
}

std::span<const ControlSpec> DesignLayout() {
  static const std::vector<ControlSpec> layout = BuildLayout();
  return layout;
}

const ControlSpec* FindControl(ControlRef ref) {
  // Every control by name and index (-1 to 64), so a lookup is one step.
  static const auto table = [] {
    constexpr std::size_t kNames = static_cast<std::size_t>(ControlName::kChoice) + 1;
    std::array<std::array<const ControlSpec*, 66>, kNames> t{};
    for (const ControlSpec& spec : DesignLayout()) {
      t[static_cast<std::size_t>(spec.ref.name)][static_cast<std::size_t>(spec.ref.index + 1)] =
          &spec;
    }
    return t;
  }();
  const auto name = static_cast<std::size_t>(ref.name);
  if (name >= table.size() || ref.index < -1 || ref.index > 64) return nullptr;
  return table[name][static_cast<std::size_t>(ref.index + 1)];
}

std::optional<char16_t> ChoiceLetter(std::int16_t k) {
  if (k < 0 || k > 7) return std::nullopt;
  return kChoices[k].letter;
}

}  // namespace velmora
