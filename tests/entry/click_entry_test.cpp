// Moves entered by clicks, driven the way a person drives the board.
#include "entry/click_entry.h"

#include <gtest/gtest.h>

#include "entry/castling.h"
#include "tests/support/control_fixture.h"

namespace velmora::testing {
namespace {

using ClickEntryTest = ControlFixture;

Entries Changes(int n) {
  return Entries(static_cast<std::size_t>(n), ChangeEvent());
}

TEST_F(ClickEntryTest, OrdinaryMoveReportsSquareThenMoveAndChangesTwoPictures) {
  std::vector<std::u16string> seen;
  std::vector<EntryState> states;
  host.SetHandler([&](EventId, std::span<const EventArg>) {
    seen.push_back(control->GetMove());
    states.push_back(control->entry_state());
  });
  Click(u"E2");
  EXPECT_EQ(PictureAt(u"E2"), Picture::kNone);
  EXPECT_EQ(control->surface().PictureOf(0), Picture::kWhitePawn);
  EXPECT_EQ(control->entry_state(), EntryState::kPicked);
  Click(u"E4");
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"E2", u"E2-E4"}));
  EXPECT_EQ(states, (std::vector<EntryState>{EntryState::kIdle, EntryState::kIdle}))
      << "the first Change comes before the pick is in force; the second after the move";
  EXPECT_EQ(observer.pictures, (std::vector<std::int16_t>{13, 29}));
  EXPECT_EQ(PictureAt(u"E4"), Picture::kWhitePawn);
  EXPECT_EQ(CellAt(u"E2"), u'*');
  EXPECT_EQ(CellAt(u"E4"), u'P');
  EXPECT_EQ(observer.move_display, 2);
  EXPECT_EQ(host.log(), Changes(2));
}

TEST_F(ClickEntryTest, EmptySquareOnlyOnAFirstClick) {
  Click(u"E4");
  EXPECT_EQ(forms.messages(), std::vector<std::u16string>{u"Empty Square"});
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_TRUE(observer.pictures.empty());
  EXPECT_EQ(control->GetMove(), u"");
  Click(u"G1");
  Click(u"E5");
  EXPECT_EQ(forms.messages().size(), 1u);
  EXPECT_EQ(CellAt(u"E5"), u'N');
}

TEST_F(ClickEntryTest, SameSquareTwiceLeavesTheBoardAndEmptiesPutMove) {
  control->PutMove(u"A1-A1");
  host.Clear();
  Click(u"B1");
  Click(u"B1");
  EXPECT_EQ(Position(), kInitialPosition);
  EXPECT_EQ(PictureAt(u"B1"), Picture::kWhiteKnight);
  EXPECT_EQ(control->GetMove(), u"B1-B1");
  EXPECT_EQ(control->PutMove(), u"");
}

TEST_F(ClickEntryTest, CapturesEitherSideAndNoTurnOrder) {
  Click(u"D8");
  Click(u"D1");  // the black queen takes the white queen
  Click(u"D1");
  Click(u"D2");  // the same side again
  Click(u"A2");
  Click(u"B2");  // onto a piece of its own side
  EXPECT_EQ(CellAt(u"D1"), u'*');
  EXPECT_EQ(CellAt(u"D2"), u'q');
  EXPECT_EQ(CellAt(u"B2"), u'P');
  EXPECT_EQ(CellAt(u"A2"), u'*');
  EXPECT_EQ(CellAt(u"D8"), u'*');
}

TEST(CastledRowTest, Patterns) {
  struct Case {
    std::u16string_view row;
    char16_t king;
    int step;
    std::optional<std::u16string_view> expected;
  };
  const Case cases[] = {
      {u"RNBQK**R", u'K', 2, u"RNBQ*RK*"}, {u"R***KBNR", u'K', -2, u"**KR*BNR"},
      {u"rnbqk**r", u'k', 2, u"rnbq*rk*"}, {u"r***kbnr", u'k', -2, u"**kr*bnr"},
      {u"K***K**R", u'K', 2, u"K****RK*"},  // the king's own column is not compared
      {u"RNBQKBNR", u'K', 2, {}},           // pieces between
      {u"RNBQKB*R", u'K', 2, {}},          {u"RNBQK**R", u'K', 1, {}},
      {u"RNBQK**R", u'K', -2, {}},         {u"RNBQK**R", u'k', 2, {}},
      {u"rnbqk**r", u'K', 2, {}},          {u"R***KBNR", u'K', 2, {}},
      {u"RNBQK**r", u'K', 2, {}},          {u"R***K", u'K', -2, {}},
  };
  for (const Case& c : cases) {
    const auto row = CastledRow(c.row, c.king, c.step);
    const std::string label(c.row.begin(), c.row.end());
    ASSERT_EQ(row.has_value(), c.expected.has_value()) << label << " " << c.step;
    if (row) {
      EXPECT_EQ(std::u16string_view(row->data(), 8), *c.expected) << label;
    }
  }
}

struct CastleCase {
  std::u16string position;
  std::u16string_view from, to;
  std::u16string_view row_after;  // the king's row
  std::int16_t row;
};

class CastlingClickTest : public ControlFixture,
                          public ::testing::WithParamInterface<CastleCase> {};

TEST_P(CastlingClickTest, RewritesTheRowRepaintsAndKeepsGetMove) {
  Load(GetParam().position);
  Click(GetParam().from);
  observer.Clear();
  Click(GetParam().to);
  EXPECT_EQ(control->board().RowText(GetParam().row), GetParam().row_after);
  EXPECT_EQ(control->GetMove(), GetParam().from);
  EXPECT_EQ(host.CountEvents(EventId::kChange), 1) << "only the first click reports";
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_TRUE(control->entry().castle_done);
  for (std::int16_t n = 1; n <= 64; ++n) {
    EXPECT_EQ(control->surface().PictureOf(n), *PictureForCell(Position()[n - 1])) << n;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, CastlingClickTest,
    ::testing::Values(CastleCase{Rows({u"RNBQK**R", u"PPPPPPPP", u"********", u"********",
                                       u"********", u"********", u"pppppppp", u"rnbqkbnr"}),
                                 u"E1", u"G1", u"RNBQ*RK*", 1},
                      CastleCase{Rows({u"R***KBNR", u"PPPPPPPP", u"********", u"********",
                                       u"********", u"********", u"pppppppp", u"rnbqkbnr"}),
                                 u"E1", u"C1", u"**KR*BNR", 1},
                      CastleCase{Rows({u"RNBQKBNR", u"PPPPPPPP", u"********", u"********",
                                       u"********", u"********", u"pppppppp", u"rnbqk**r"}),
                                 u"E8", u"G8", u"rnbq*rk*", 8},
                      CastleCase{Rows({u"RNBQKBNR", u"PPPPPPPP", u"********", u"********",
                                       u"********", u"********", u"pppppppp", u"r***kbnr"}),
                                 u"E8", u"C8", u"**kr*bnr", 8},
                      CastleCase{Rows({u"K***K**R", u"********", u"********", u"********",
                                       u"********", u"********", u"********", u"********"}),
                                 u"A1", u"C1", u"K****RK*", 1},
                      CastleCase{Rows({u"********", u"********", u"********", u"********",
                                       u"****K**R", u"********", u"********", u"********"}),
                                 u"E5", u"G5", u"*****RK*", 5}));

struct NearMiss {
  std::u16string_view row1;
  std::u16string_view from, to;
};

class CastlingNearMissTest : public ControlFixture,
                             public ::testing::WithParamInterface<NearMiss> {};

TEST_P(CastlingNearMissTest, MovesTheKingAlone) {
  Load(Rows({GetParam().row1, u"********", u"********", u"********", u"********", u"********",
             u"********", u"****k***"}));
  Click(GetParam().from);
  Click(GetParam().to);
  EXPECT_EQ(CellAt(GetParam().to), u'K');
  EXPECT_EQ(CellAt(GetParam().from), u'*');
  EXPECT_EQ(control->GetMove(),
            std::u16string(GetParam().from) + u"-" + std::u16string(GetParam().to));
  EXPECT_EQ(observer.pictures.size(), 2u) << "an ordinary move changes two pictures";
}

INSTANTIATE_TEST_SUITE_P(Rows, CastlingNearMissTest,
                         ::testing::Values(NearMiss{u"RNBQKB*R", u"E1", u"G1"},  // piece between
                                           NearMiss{u"****K**R", u"E1", u"G2"},  // other row
                                           NearMiss{u"****K**R", u"E1", u"F1"},  // one column
                                           NearMiss{u"****K***", u"E1", u"G1"},  // no rook
                                           NearMiss{u"****K**R", u"E1", u"H1"}));

TEST_F(ClickEntryTest, TheRookMovedTowardsTheKingIsNoCastling) {
  Load(Rows({u"****K**R", u"********", u"********", u"********", u"********", u"********",
             u"********", u"****k***"}));
  Click(u"H1");
  Click(u"F1");
  EXPECT_EQ(control->board().RowText(1), u"****KR**");
}

struct PromotionCase {
  std::u16string_view from, to;
  std::int16_t choice;
  char16_t piece;
  ControlName panel;
};

class PromotionTest : public ControlFixture, public ::testing::WithParamInterface<PromotionCase> {
 protected:
  void SetUp() override {
    Load(Rows({u"****K***", u"*p******", u"********", u"********", u"********", u"********",
               u"*P******", u"****k***"}));
  }
};

TEST_P(PromotionTest, TheChosenPieceLandsAndTheMoveNamesOnlyTheSquares) {
  const PromotionCase& c = GetParam();
  bool panel_shown_while_waiting = false;
  forms.Queue([&](BoardControl& ctl) {
    panel_shown_while_waiting = ctl.surface().IsVisible(c.panel) &&
                                ctl.surface().IsVisible(ControlName::kPromptBackdrop) &&
                                ctl.entry_state() == EntryState::kPrompting;
    ctl.ClickChoice(c.choice);
  });
  Click(c.from);
  Click(c.to);
  EXPECT_TRUE(panel_shown_while_waiting);
  EXPECT_EQ(CellAt(c.to), c.piece);
  EXPECT_EQ(CellAt(c.from), u'*');
  EXPECT_EQ(PictureAt(c.to), *PictureForCell(c.piece)) << "repainted after the choice";
  EXPECT_EQ(control->GetMove(), std::u16string(c.from) + u"-" + std::u16string(c.to));
  EXPECT_FALSE(control->surface().IsVisible(ControlName::kWhitePanel));
  EXPECT_FALSE(control->surface().IsVisible(ControlName::kBlackPanel));
  EXPECT_FALSE(control->surface().IsVisible(ControlName::kPromptBackdrop));
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, PromotionTest,
    ::testing::Values(PromotionCase{u"B7", u"B8", 0, u'Q', ControlName::kWhitePanel},
                      PromotionCase{u"B7", u"A8", 1, u'R', ControlName::kWhitePanel},
                      PromotionCase{u"B7", u"C8", 2, u'B', ControlName::kWhitePanel},
                      PromotionCase{u"B7", u"E8", 3, u'N', ControlName::kWhitePanel},
                      PromotionCase{u"B2", u"B1", 4, u'q', ControlName::kBlackPanel},
                      PromotionCase{u"B2", u"A1", 5, u'r', ControlName::kBlackPanel},
                      PromotionCase{u"B2", u"C1", 6, u'b', ControlName::kBlackPanel},
                      PromotionCase{u"B2", u"E1", 7, u'n', ControlName::kBlackPanel}));

TEST_F(ClickEntryTest, PawnsOntoTheOtherEndAreNotPrompted) {
  Load(Rows({u"****K***", u"*P******", u"********", u"********", u"********", u"********",
             u"*p******", u"****k***"}));
  Click(u"B7");
  Click(u"B8");
  Click(u"B2");
  Click(u"B1");
  EXPECT_EQ(forms.pumps(), 0);
  EXPECT_EQ(CellAt(u"B8"), u'p');
  EXPECT_EQ(CellAt(u"B1"), u'P');
}

TEST_F(ClickEntryTest, APawnAlreadyOnItsLastRowClickedTwiceIsPromotedInPlace) {
  Load(Rows({u"****K***", u"********", u"********", u"********", u"********", u"********",
             u"********", u"P***k***"}));
  forms.QueueChoiceClick(3);
  Click(u"A8");
  Click(u"A8");
  EXPECT_EQ(CellAt(u"A8"), u'N');
  EXPECT_EQ(control->GetMove(), u"A8-A8");
}

TEST_F(ClickEntryTest, SquareClicksDuringThePromptAreIgnored) {
  Load(Rows({u"****K***", u"********", u"********", u"********", u"********", u"********",
             u"*P******", u"****k***"}));
  Click(u"B7");
  forms.QueueSquareClick(SquareNumber({1, 5}));  // the white king
  forms.QueueSquareClick(SquareNumber({2, 5}));
  forms.QueueSquareClick(SquareNumber({8, 1}));
  forms.QueueChoiceClick(0);
  host.Clear();
  Click(u"B8");
  EXPECT_EQ(Position(), Rows({u"****K***", u"********", u"********", u"********", u"********",
                              u"********", u"********", u"*Q**k***"}));
  EXPECT_EQ(control->GetMove(), u"B7-B8");
  EXPECT_EQ(host.log(), Changes(1));
}

TEST_F(ClickEntryTest, ChoiceClicksOutsideAPromptAreIgnored) {
  Click(u"B1");
  control->ClickChoice(0);
  Click(u"C3");
  EXPECT_EQ(CellAt(u"C3"), u'N');
}

TEST_F(ClickEntryTest, HostWritesDuringThePromptRunAndTheMoveCompletes) {
  Load(Rows({u"****K***", u"********", u"********", u"********", u"********", u"********",
             u"*P******", u"****k***"}));
  forms.Queue([](BoardControl& ctl) { ctl.PutMove(u"E1-D1"); });
  forms.QueueChoiceClick(1);
  Click(u"B7");
  Click(u"B8");
  EXPECT_EQ(CellAt(u"D1"), u'K');
  EXPECT_EQ(CellAt(u"B8"), u'R');
  EXPECT_EQ(control->GetMove(), u"B7-B8");
}

TEST_F(ClickEntryTest, ClosingDuringThePromptAbandonsTheMove) {
  const std::u16string position = Rows({u"****K***", u"********", u"********", u"********",
                                        u"********", u"********", u"*P******", u"****k***"});
  for (bool queue_close : {true, false}) {  // an explicit close, or input running dry
    Load(position);
    Click(u"B7");
    if (queue_close) forms.QueueClose();
    Click(u"B8");
    EXPECT_EQ(Position(), position);
    EXPECT_EQ(control->GetMove(), u"B7");
    EXPECT_EQ(control->entry_state(), EntryState::kIdle);
    EXPECT_FALSE(control->surface().IsVisible(ControlName::kWhitePanel));
    EXPECT_FALSE(control->surface().IsVisible(ControlName::kPromptBackdrop));
    EXPECT_EQ(PictureAt(u"B7"), Picture::kWhitePawn) << "the lifted pawn is shown again";
    control->PutPosition(u"");
  }
}

TEST_F(ClickEntryTest, HostChangesBetweenTheClicksLeaveThePickInForce) {
  Click(u"G1");
  control->PutPosition(std::u16string(64, u'*'));
  EXPECT_EQ(PictureAt(u"G1"), Picture::kNone);
  control->PutMove(u"**");
  EXPECT_EQ(PictureAt(u"G1"), Picture::kWhiteKnight) << "repainted from the board";
  observer.Clear();
  Click(u"F3");
  EXPECT_EQ(CellAt(u"G1"), u'*');
  EXPECT_EQ(CellAt(u"F3"), u'N');
  EXPECT_EQ(PictureAt(u"G1"), Picture::kWhiteKnight) << "the from-square's picture is left alone";
  EXPECT_EQ(observer.pictures, std::vector<std::int16_t>{SquareNumber({3, 6})});
}

TEST_F(ClickEntryTest, AHostThatMovesFromInsideChangeFindsAFinishedMove) {
  int depth = 0;
  host.SetHandler([&](EventId id, std::span<const EventArg>) {
    if (id != EventId::kChange || control->GetMove() != u"E2-E4" || depth++ > 0) return;
    control->PutMove(u"E7-E5");
  });
  Click(u"E2");
  Click(u"E4");
  EXPECT_EQ(CellAt(u"E4"), u'P');
  EXPECT_EQ(CellAt(u"E5"), u'p');
  EXPECT_EQ(control->GetMove(), u"E7-E5");
}

}  // namespace
}  // namespace velmora::testing
