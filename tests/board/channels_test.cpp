// The host's two text channels: a position text into PutPosition, a move text into PutMove.
#include <gtest/gtest.h>

#include "board/move_text.h"
#include "board/position_text.h"
#include "tests/support/control_fixture.h"

namespace velmora::testing {
namespace {

const std::u16string kEmptyBoard(64, u'*');
const std::u16string kThreeKings = Rows({u"K***K***", u"********", u"********", u"***K****",
                                         u"********", u"********", u"********", u"P******k"});

using PositionChannelTest = ControlFixture;

struct Rejection {
  const char* what;
  std::u16string text;
  std::u16string_view message;
};

class PositionRejectionTest : public ControlFixture,
                              public ::testing::WithParamInterface<Rejection> {};

TEST_P(PositionRejectionTest, ShowsOneMessageAndChangesNothing) {
  Load(kEmptyBoard);
  const std::u16string before = Position();
  control->PutPosition(GetParam().text);
  ASSERT_EQ(forms.messages().size(), 1u);
  EXPECT_EQ(forms.messages()[0], GetParam().message);
  EXPECT_EQ(Position(), before);
  EXPECT_TRUE(observer.pictures.empty());
  EXPECT_EQ(control->PutPosition(), GetParam().text);
  EXPECT_EQ(host.CountEvents(EventId::kChange), 0);

  control->PutPosition(GetParam().text);
  EXPECT_EQ(forms.messages().size(), 1u) << "the same rejected text again runs nothing";
  control->PutPosition(u"");
  control->PutPosition(GetParam().text);
  EXPECT_EQ(forms.messages().size(), 2u) << "after another text it counts again";
}

std::u16string WithCharAt(std::size_t at, char16_t c) {
  std::u16string text = kInitialPosition;
  text[at] = c;
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PositionRejectionTest,
    ::testing::Values(
        Rejection{"63 characters", kInitialPosition.substr(1), u"Data Length Error"},
        Rejection{"65 characters", kInitialPosition + u" ", u"Data Length Error"},
        Rejection{"one character", u"K", u"Data Length Error"},
        Rejection{"space first", WithCharAt(0, u' '), u"Invalid Character In Piece Array"},
        Rejection{"digit in the middle", WithCharAt(30, u'1'), u"Invalid Character In Piece Array"},
        Rejection{"other letter last", WithCharAt(63, u'x'), u"Invalid Character In Piece Array"},
        Rejection{"full-width letter", WithCharAt(5, u'\uFF2B'),
                  u"Invalid Character In Piece Array"},
        Rejection{"lone surrogate", WithCharAt(9, u'\xD800'), u"Invalid Character In Piece Array"},
        Rejection{"several bad characters", std::u16string(64, u'-'),
                  u"Invalid Character In Piece Array"}),
    CaseName<Rejection>);

TEST_F(PositionChannelTest, ValidTextsLoadRepaintAndEmptyTheCell) {
  for (const std::u16string& text : {kEmptyBoard, kThreeKings, kInitialPosition}) {
    control->PutPosition(text);
    EXPECT_EQ(Position(), text);
    EXPECT_EQ(control->PutPosition(), u"");
    for (std::int16_t n = 1; n <= 64; ++n) {
      EXPECT_EQ(control->surface().PictureOf(n), *PictureForCell(text[n - 1])) << n;
    }
  }
  EXPECT_TRUE(forms.messages().empty());
  EXPECT_EQ(host.CountEvents(EventId::kChange), 0);
}

TEST_F(PositionChannelTest, TheSameTextLoadsAgainAfterASuccess) {
  control->PutPosition(kEmptyBoard);
  control->PutMove(u"**");
  control->PutPosition(kEmptyBoard);
  EXPECT_EQ(Position(), kEmptyBoard);
}

TEST_F(PositionChannelTest, EmptyTextDoesNothing) {
  control->PutPosition(u"x");
  observer.Clear();
  control->PutPosition(u"");
  EXPECT_EQ(forms.messages().size(), 1u);
  EXPECT_TRUE(observer.pictures.empty());
  EXPECT_EQ(Position(), kInitialPosition);
}

TEST_F(PositionChannelTest, ALoadKeepsGetMove) {
  control->PutMove(u"E2-E4");
  host.Clear();
  control->PutPosition(kEmptyBoard);
  EXPECT_EQ(control->GetMove(), u"E2-E4");
  EXPECT_EQ(host.CountEvents(EventId::kChange), 0);
}

struct HostMoveCase {
  const char* what;
  std::u16string start;
  std::u16string move;
  std::u16string expected;
};

class HostMoveTest : public ControlFixture, public ::testing::WithParamInterface<HostMoveCase> {};

TEST_P(HostMoveTest, MovesOneCellRepaintsAndCopiesIntoGetMove) {
  Load(GetParam().start);
  control->PutMove(GetParam().move);
  EXPECT_EQ(Position(), GetParam().expected);
  EXPECT_EQ(control->GetMove(), GetParam().move);
  EXPECT_EQ(control->PutMove(), GetParam().move);
  EXPECT_EQ(host.log(), (Entries{ChangeEvent(), NoticeOf(u"PutMove")}));
  for (std::int16_t n = 1; n <= 64; ++n) {
    EXPECT_EQ(control->surface().PictureOf(n), *PictureForCell(Position()[n - 1])) << n;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Moves, HostMoveTest,
    ::testing::Values(
        HostMoveCase{"E2-E4", kInitialPosition, u"E2-E4",
                     Rows({u"RNBQKBNR", u"PPPP*PPP", u"********", u"****P***", u"********",
                           u"********", u"pppppppp", u"rnbqkbnr"})},
        HostMoveCase{"any separator", kInitialPosition, u"E2xE4",
                     Rows({u"RNBQKBNR", u"PPPP*PPP", u"********", u"****P***", u"********",
                           u"********", u"pppppppp", u"rnbqkbnr"})},
        HostMoveCase{"along a row onto a piece", kInitialPosition, u"A1-D1",
                     Rows({u"*NBRKBNR", u"PPPPPPPP", u"********", u"********", u"********",
                           u"********", u"pppppppp", u"rnbqkbnr"})},
        HostMoveCase{"onto its own square", kInitialPosition, u"E2-E2", kInitialPosition},
        HostMoveCase{"from an empty square", kInitialPosition, u"E4-E2",
                     Rows({u"RNBQKBNR", u"PPPP*PPP", u"********", u"********", u"********",
                           u"********", u"pppppppp", u"rnbqkbnr"})},
        HostMoveCase{"capture of the other side", kInitialPosition, u"D1 D8",
                     Rows({u"RNB*KBNR", u"PPPPPPPP", u"********", u"********", u"********",
                           u"********", u"pppppppp", u"rnbQkbnr"})},
        HostMoveCase{"pawn onto the last row stays a pawn", kEmptyBoard, u"A7-A8", kEmptyBoard}),
    CaseName<HostMoveCase>);

TEST_F(ControlFixture, TextsThatAreNoCommandChangeNothing) {
  for (const char16_t* text : {u"E2E4", u"E2-E4 ", u"", u"*", u"***", u"E2-E4-E5"}) {
    control->PutMove(text);
    EXPECT_EQ(control->PutMove(), text);
  }
  EXPECT_EQ(Position(), kInitialPosition);
  EXPECT_EQ(host.CountEvents(EventId::kChange), 0);
  EXPECT_TRUE(forms.messages().empty());
  EXPECT_TRUE(observer.pictures.empty());
}

TEST_F(ControlFixture, OffBoardMoveTextsAreRefusedBeforeAnythingChanges) {
  for (const char16_t* text :
       {u"e2-e4", u"E2-E9", u"E0-E4", u"I2-E4", u"E2-I4", u"E2-e4", u"E2-E:", u"@1-A1"}) {
    control->PutMove(text);
    EXPECT_EQ(control->PutMove(), text) << "a refused text stays in the cell";
  }
  EXPECT_EQ(Position(), kInitialPosition);
  EXPECT_EQ(control->GetMove(), u"");
  EXPECT_EQ(host.CountEvents(EventId::kChange), 0);
  EXPECT_TRUE(observer.pictures.empty());
}

TEST_F(ControlFixture, ResetTokenRestoresTheInitialPositionOnce) {
  Load(kEmptyBoard);
  control->PutPosition(u"bad");
  control->GetMove(u"E1");
  host.Clear();
  control->PutMove(u"**");
  EXPECT_EQ(Position(), kInitialPosition);
  EXPECT_EQ(control->PutPosition(), u"") << "a reset empties the position cell";
  EXPECT_EQ(control->PutMove(), u"**");
  EXPECT_EQ(control->GetMove(), u"E1");
  EXPECT_EQ(host.log(), Entries{NoticeOf(u"PutMove")});

  control->PutMove(u"E2-E4");
  control->PutMove(u"E2-E4");
  EXPECT_EQ(CellAt(u"E4"), u'P') << "the same move twice moves once";
  control->PutMove(u"**");
  control->PutMove(u"**");
  EXPECT_EQ(Position(), kInitialPosition);
}

TEST_F(ControlFixture, PushingAMoveThatGetMoveAlreadyHoldsRaisesNoChange) {
  control->PutMove(u"E2-E4");
  control->PutMove(u"");
  host.Clear();
  control->PutMove(u"E2-E4");
  EXPECT_EQ(CellAt(u"E4"), u'*') << "the empty from-square was carried";
  EXPECT_EQ(host.CountEvents(EventId::kChange), 0);
}

TEST(HostCommandTest, ClassifiesTexts) {
  EXPECT_EQ(ParseHostCommand(u"**").kind, HostCommandKind::kReset);
  EXPECT_EQ(ParseHostCommand(u"*").kind, HostCommandKind::kNothing);
  EXPECT_EQ(ParseHostCommand(u"e2-e4").kind, HostCommandKind::kOffBoard);
  const HostCommand move = ParseHostCommand(u"H8?A1");
  ASSERT_EQ(move.kind, HostCommandKind::kMove);
  EXPECT_EQ(move.move.from, (Square{8, 8}));
  EXPECT_EQ(move.move.to, (Square{1, 1}));
}

}  // namespace
}  // namespace velmora::testing
