// BeforeMove: a ChessBoard asks its host before a person's move is made, and a cancel leaves
// everything as it was before the destination was chosen.
#include <gtest/gtest.h>

#include "tests/support/control_fixture.h"

namespace velmora::testing {
namespace {

class BeforeMoveTest : public ChessBoardFixture {
 protected:
  // Answers every BeforeMove with `cancel`, noting what it was asked and what the board held.
  void Answer(bool cancel) {
    host.SetHandler([this, cancel](EventId id, std::span<const EventArg> args) {
      if (id != EventId::kBeforeMove) return;
      asked.push_back(Position());
      *std::get<bool*>(args[3]) = cancel;
    });
  }
  RecordingHost::Entry BeforeMove(std::u16string from, std::u16string to,
                                  std::u16string promotion = u"") {
    return RecordingHost::Event{EventId::kBeforeMove, {0}, {from, to, promotion}};
  }

  std::vector<std::u16string> asked;  // the position each time the host was asked
};

TEST_F(BeforeMoveTest, IsAskedBeforeTheBoardChangesThenChangeAndAfterMoveFollow) {
  Answer(false);
  Click(u"E2");
  Click(u"E4");
  EXPECT_EQ(asked, (std::vector<std::u16string>{kInitialPosition}));
  EXPECT_EQ(host.log(),
            (Entries{ChangeEvent(), BeforeMove(u"E2", u"E4"), ChangeEvent(),
                     RecordingHost::Event{EventId::kAfterMove, {}, {u"E2", u"E4", u""}}}));
  EXPECT_EQ(CellAt(u"E4"), u'P');
}

TEST_F(BeforeMoveTest, ACancelLeavesThePiecePickedAndRaisesNoChange) {
  Answer(true);
  const Picture f3 = PictureAt(u"F3");
  Click(u"G1");
  Click(u"F3");
  EXPECT_EQ(Position(), kInitialPosition);
  EXPECT_EQ(control->GetMove(), u"G1");
  EXPECT_EQ(control->entry_state(), EntryState::kPicked);
  EXPECT_EQ(control->surface().PictureOf(0), Picture::kWhiteKnight);
  EXPECT_EQ(PictureAt(u"F3"), f3);
  EXPECT_EQ(host.CountEvents(EventId::kChange), 1) << "only the pick's";
  EXPECT_TRUE(forms.messages().empty());
  Answer(false);
  Click(u"H3");
  EXPECT_EQ(CellAt(u"H3"), u'N');
  EXPECT_EQ(control->GetMove(), u"G1-H3");
}

TEST_F(BeforeMoveTest, ACancelledCastlingLeavesTheRow) {
  Load(Rows({u"R***K**R", u"PPPPPPPP", u"********", u"********", u"********", u"********",
             u"pppppppp", u"r***k**r"}));
  Answer(true);
  Click(u"E1");
  Click(u"G1");
  EXPECT_EQ(control->board().RowText(1), u"R***K**R");
  EXPECT_EQ(control->entry_state(), EntryState::kPicked);
  EXPECT_EQ(host.log(), (Entries{ChangeEvent(), BeforeMove(u"E1", u"G1")}));
}

TEST_F(BeforeMoveTest, IsAskedAfterThePromotionChoiceWithItsLetter) {
  Load(Rows({u"****K***", u"********", u"********", u"********", u"********", u"********",
             u"*P******", u"****k***"}));
  Answer(true);
  Click(u"B7");
  Click(u"B8");
  control->ClickChoice(1);
  EXPECT_EQ(host.log(), (Entries{ChangeEvent(), BeforeMove(u"B7", u"B8", u"R")}));
  EXPECT_EQ(CellAt(u"B7"), u'P');
  EXPECT_EQ(CellAt(u"B8"), kEmptyCell);
  EXPECT_EQ(control->entry().moving_piece, u'P') << "the pawn is picked again, not the rook";
  EXPECT_EQ(control->surface().Chooser(), 0);
  Answer(false);
  Click(u"B8");
  control->ClickChoice(0);
  EXPECT_EQ(CellAt(u"B8"), u'Q');
}

TEST_F(BeforeMoveTest, ThePutBackIsNotAsked) {
  Answer(true);
  Click(u"E2");
  Click(u"E2");
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
}

TEST_F(ControlFixture, AUserControl1NeverAsks) {
  Click(u"E2");
  Click(u"E4");
  EXPECT_EQ(host.CountEvents(EventId::kBeforeMove), 0);
  EXPECT_EQ(CellAt(u"E4"), u'P');
}

}  // namespace
}  // namespace velmora::testing
