// What assistive technology is told: parts, names, states, and the announcements of moves.
#include "control/accessible_model.h"

#include <gtest/gtest.h>

#include "tests/support/control_fixture.h"
#include "view/accessible_parts.h"

namespace velmora::testing {
namespace {

class AccessibleTest : public ControlFixture {
 protected:
  std::u16string Name(std::int16_t part) const { return DescribePart(*control, part)->name; }
  AccessibleStates States(std::int16_t part) const { return DescribePart(*control, part)->states; }
  std::vector<std::u16string> Words() const {
    std::vector<std::u16string> words;
    for (const Announcement& a : observer.announcements) words.push_back(AnnouncementWords(a));
    return words;
  }
  static std::int16_t N(std::u16string_view name) {
    return SquareNumber(*ParseSquareName(name[0], name[1]));
  }
};

TEST_F(AccessibleTest, TheBoardIsATableOfSixtyFourNamedCellsAndTheMoveDisplay) {
  const auto board = DescribePart(*control, kBoardPart);
  ASSERT_TRUE(board);
  EXPECT_EQ(board->role, AccessibleRole::kTable);
  EXPECT_EQ(board->name, u"Chess board");
  const std::pair<std::u16string_view, std::u16string_view> cells[] = {
      {u"A1", u"A1, white rook"}, {u"E1", u"E1, white king"},  {u"E2", u"E2, white pawn"},
      {u"E3", u"E3, empty"},      {u"D8", u"D8, black queen"}, {u"G8", u"G8, black knight"},
      {u"C7", u"C7, black pawn"}, {u"H6", u"H6, empty"},
  };
  for (const auto& [square, name] : cells) EXPECT_EQ(Name(N(square)), name);
  for (std::int16_t n = 1; n <= 64; ++n) {
    EXPECT_EQ(DescribePart(*control, n)->role, AccessibleRole::kCell);
  }
  EXPECT_EQ(DescribePart(*control, kMoveDisplayPart)->role, AccessibleRole::kStaticText);
  EXPECT_FALSE(DescribePart(*control, 66)) << "no choices without the prompt";
  EXPECT_FALSE(DescribePart(*control, -1));
}

TEST_F(AccessibleTest, APickedSquareNamesItsPieceAndIsSelected) {
  Click(u"E2");
  EXPECT_EQ(Name(N(u"E2")), u"E2, white pawn, picked up");
  EXPECT_TRUE(States(N(u"E2")).selected);
  EXPECT_EQ(SelectedPart(*control), N(u"E2"));
  EXPECT_EQ(observer.selections, 1);
  Click(u"E4");
  EXPECT_EQ(Name(N(u"E2")), u"E2, empty");
  EXPECT_EQ(Name(N(u"E4")), u"E4, white pawn");
  EXPECT_FALSE(States(N(u"E2")).selected);
  EXPECT_FALSE(SelectedPart(*control));
  EXPECT_EQ(observer.selections, 2);
  for (const std::int16_t part : {N(u"E2"), N(u"E4"), kMoveDisplayPart}) {
    EXPECT_NE(std::find(observer.names.begin(), observer.names.end(), part), observer.names.end())
        << "name change reported for part " << part;
  }
}

TEST_F(AccessibleTest, StatesFollowFocusAndEnabled) {
  EXPECT_EQ(States(1), (AccessibleStates{true, false, false, false}));
  EXPECT_FALSE(FocusedPart(*control)) << "no focus, no focused part";
  control->SurfaceFocus(true);
  EXPECT_EQ(States(1), (AccessibleStates{true, true, false, false}));
  EXPECT_EQ(FocusedPart(*control), 1);
  control->FocusPart(N(u"C5"));
  EXPECT_TRUE(States(N(u"C5")).focused);
  EXPECT_FALSE(States(1).focused);
  control->Enabled(false);
  EXPECT_TRUE(States(N(u"C5")).unavailable);
  EXPECT_TRUE(States(kBoardPart).unavailable);
  EXPECT_FALSE(States(kMoveDisplayPart).focusable);
}

TEST_F(AccessibleTest, ThePromptShowsFourButtonsWithTheFocusOnTheFirst) {
  Load(Rows({u"****K***", u"*p******", u"********", u"********", u"********", u"********",
             u"*P******", u"****k***"}));
  control->SurfaceFocus(true);
  std::vector<std::u16string> buttons;
  std::optional<std::int16_t> focused;
  std::int16_t last = 0;
  forms.Queue([&](BoardControl& c) {
    last = LastPart(c.surface());
    focused = FocusedPart(c);
    for (std::int16_t part = 66; part <= 69; ++part) {
      const auto button = DescribePart(c, part);
      EXPECT_EQ(button->role, AccessibleRole::kPushButton);
      EXPECT_EQ(button->description, u"Promote To?");
      buttons.push_back(button->name);
    }
    c.ActivatePart(67);
  });
  Click(u"B7");
  Click(u"B8");
  EXPECT_EQ(last, 69);
  EXPECT_EQ(focused, 66);
  EXPECT_EQ(buttons, (std::vector<std::u16string>{u"white queen", u"white rook", u"white bishop",
                                                  u"white knight"}));
  EXPECT_EQ(CellAt(u"B8"), u'R');
  EXPECT_EQ(LastPart(control->surface()), 65);
  EXPECT_EQ(FocusedPart(*control), N(u"B8"));
}

struct AnnounceCase {
  const char* what;
  std::u16string position;  // empty: the initial position
  std::vector<std::u16string_view> clicks;
  std::vector<std::u16string_view> host_moves;
  std::vector<std::u16string> words;
};

class AnnounceTest : public AccessibleTest, public ::testing::WithParamInterface<AnnounceCase> {};

TEST_P(AnnounceTest, EachCompletedMoveIsAnnouncedOnce) {
  if (!GetParam().position.empty()) Load(GetParam().position);
  for (const auto square : GetParam().clicks) Click(square);
  for (const auto move : GetParam().host_moves) control->PutMove(std::u16string(move));
  EXPECT_EQ(Words(), GetParam().words);
}

const std::u16string kCastlingRows = Rows({u"R***K**R", u"********", u"********", u"********",
                                           u"********", u"********", u"********", u"r***k**r"});

INSTANTIATE_TEST_SUITE_P(
    Moves, AnnounceTest,
    ::testing::Values(
        AnnounceCase{"click move", u"", {u"E2", u"E4"}, {}, {u"white pawn E2 to E4"}},
        AnnounceCase{"a pick alone", u"", {u"E2"}, {}, {}},
        AnnounceCase{"same square", u"", {u"E2", u"E2"}, {}, {}},
        AnnounceCase{"host move and capture",
                     u"",
                     {},
                     {u"E2-E4", u"D8xD1"},
                     {u"white pawn E2 to E4", u"black queen captures white queen on D1"}},
        AnnounceCase{"host moves an empty square", u"", {}, {u"E4-E2"}, {u"E2 cleared"}},
        AnnounceCase{"host move onto itself", u"", {}, {u"E2-E2"}, {}},
        AnnounceCase{"host reset", u"", {}, {u"**"}, {u"new position"}},
        AnnounceCase{"castlings",
                     kCastlingRows,
                     {u"E1", u"G1", u"E8", u"C8"},
                     {},
                     {u"white king castles, E1 to G1", u"black king castles, E8 to C8"}}),
    CaseName<AnnounceCase>);

TEST_F(AccessibleTest, ALoadedPositionIsANewPosition) {
  control->PutPosition(kInitialPosition);
  EXPECT_EQ(Words(), std::vector<std::u16string>{u"new position"});
  control->PutPosition(u"too short");
  EXPECT_EQ(Words().size(), 1u) << "a refused position announces nothing";
}

TEST_F(AccessibleTest, AMoveIsAnnouncedBeforeChangeAndAReplyAfterIt) {
  std::vector<std::size_t> heard_at_change;
  host.SetHandler([&](EventId id, std::span<const EventArg>) {
    if (id != EventId::kChange) return;
    heard_at_change.push_back(observer.announcements.size());
    if (control->GetMove() == u"E2-E4") control->PutMove(u"E7-E5");
  });
  Click(u"E2");
  Click(u"E4");
  EXPECT_EQ(heard_at_change, (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_EQ(Words(), (std::vector<std::u16string>{u"white pawn E2 to E4", u"black pawn E7 to E5"}));
}

TEST_F(AccessibleTest, APromotionIsAnnouncedWithTheChosenPiece) {
  Load(Rows({u"****K***", u"*p******", u"********", u"********", u"********", u"********",
             u"*P******", u"****k***"}));
  forms.QueueChoiceClick(0);
  Click(u"B7");
  Click(u"B8");
  forms.QueueChoiceClick(7);
  Click(u"B2");
  Click(u"B1");
  EXPECT_EQ(Words(), (std::vector<std::u16string>{u"white pawn B7 to B8, promoted to queen",
                                                  u"black pawn B2 to B1, promoted to knight"}));
}

TEST_F(AccessibleTest, AClosedPromptAnnouncesNothing) {
  Load(Rows({u"****K***", u"********", u"********", u"********", u"********", u"********",
             u"*P******", u"****k***"}));
  forms.QueueClose();
  Click(u"B7");
  Click(u"B8");
  EXPECT_TRUE(observer.announcements.empty());
  EXPECT_FALSE(SelectedPart(*control));
}

}  // namespace
}  // namespace velmora::testing
