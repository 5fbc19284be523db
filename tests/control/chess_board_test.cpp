// The later members of a ChessBoard: defaults, refusals, notices, the position record and the
// saved values; a UserControl1 has none of them.
#include <gtest/gtest.h>

#include "board/failure.h"
#include "platform/headless/memory_bag.h"
#include "tests/support/control_fixture.h"
#include "view/display_list.h"
#include "view/highlight.h"

namespace velmora::testing {
namespace {

using ChessBoardTest = ChessBoardFixture;
using FirstClassTest = ControlFixture;

TEST_F(ChessBoardTest, StartsWithItsDefaults) {
  EXPECT_EQ(control->control_class(), ControlClass::kChessBoard);
  EXPECT_TRUE(control->DragEnabled());
  EXPECT_TRUE(control->ShowLegalMoves());
  EXPECT_EQ(control->Orientation(), 0);
  EXPECT_TRUE(control->ShowLastMove());
  EXPECT_EQ(control->AnimationTime(), 150);
  EXPECT_EQ(control->LegalMoves(), u"");
  EXPECT_EQ(control->LastMove(), u"");
  EXPECT_EQ(control->CheckSquare(), u"");
  EXPECT_EQ(control->Marks(), u"");
  EXPECT_EQ(control->UserMarks(), u"");
  EXPECT_EQ(control->Fen(), u"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  for (const Member& member : kMembers) {
    if (member.saved == 0) continue;
    EXPECT_EQ(ReadMember(*control, member), DefaultOf(member, ControlClass::kChessBoard))
        << std::string(member.name.begin(), member.name.end());
  }
}

TEST_F(FirstClassTest, HasNoneOfTheLaterMembers) {
  EXPECT_EQ(control->control_class(), ControlClass::kUserControl1);
  EXPECT_FALSE(control->DragEnabled());
  EXPECT_FALSE(control->ShowLegalMoves());
  EXPECT_FALSE(control->ShowLastMove());
  EXPECT_EQ(control->AnimationTime(), 0);
  const Refused refused = control->LegalMoves(u"E2-E4");
  ASSERT_TRUE(refused);
  EXPECT_NE(refused->reason.find(u"LegalMoves"), std::u16string::npos);
  EXPECT_TRUE(control->DragEnabled(true));
  EXPECT_TRUE(control->Fen(u"8/8/8/8/8/8/8/8"));
  EXPECT_FALSE(control->DragEnabled());
  EXPECT_EQ(control->LegalMoves(), u"");
  EXPECT_EQ(Position(), kInitialPosition);
  EXPECT_TRUE(host.log().empty());
}

// A write that is taken sends one notice and reads back in the member's own form.
struct TakenCase {
  const char* what;
  std::function<Refused(BoardControl&)> write;
  std::function<std::u16string(const BoardControl&)> read;
  std::u16string read_back;
  std::u16string notice;
};

class TakenWriteTest : public ChessBoardFixture, public ::testing::WithParamInterface<TakenCase> {};

TEST_P(TakenWriteTest, ReadsBackAndNotices) {
  const TakenCase& c = GetParam();
  EXPECT_FALSE(c.write(*control));
  EXPECT_EQ(c.read(*control), c.read_back);
  EXPECT_EQ(host.log(), (Entries{NoticeOf(c.notice)}));
}

std::u16string Number(std::int32_t n) {
  const std::string text = std::to_string(n);
  return {text.begin(), text.end()};
}

INSTANTIATE_TEST_SUITE_P(
    Members, TakenWriteTest,
    ::testing::Values(
        TakenCase{"legal moves", [](auto& c) { return c.LegalMoves(u"e2e4 G1-F3"); },
                  [](auto& c) { return c.LegalMoves(); }, u"E2-E4 G1-F3", u"LegalMoves"},
        TakenCase{"last move", [](auto& c) { return c.LastMove(u"e1-g1"); },
                  [](auto& c) { return c.LastMove(); }, u"E1-G1", u"LastMove"},
        TakenCase{"check square", [](auto& c) { return c.CheckSquare(u"e8"); },
                  [](auto& c) { return c.CheckSquare(); }, u"E8", u"CheckSquare"},
        TakenCase{"marks", [](auto& c) { return c.Marks(u"gD4,RE5"); },
                  [](auto& c) { return c.Marks(); }, u"Gd4 Re5", u"Marks"},
        TakenCase{"user marks", [](auto& c) { return c.UserMarks(u"Bg1f3"); },
                  [](auto& c) { return c.UserMarks(); }, u"Bg1f3", u"UserMarks"},
        TakenCase{"orientation", [](auto& c) { return c.Orientation(1); },
                  [](auto& c) { return Number(c.Orientation()); }, u"1", u"Orientation"},
        TakenCase{"animation time", [](auto& c) { return c.AnimationTime(2000); },
                  [](auto& c) { return Number(c.AnimationTime()); }, u"2000", u"AnimationTime"},
        TakenCase{"theme", [](auto& c) { return c.Theme(5); },
                  [](auto& c) { return Number(c.Theme()); }, u"5", u"Theme"},
        TakenCase{"drag", [](auto& c) { return c.DragEnabled(false); },
                  [](auto& c) { return Number(c.DragEnabled()); }, u"0", u"DragEnabled"},
        TakenCase{"last move cleared", [](auto& c) { return c.LastMove(u""); },
                  [](auto& c) { return c.LastMove(); }, u"", u"LastMove"}),
    CaseName<TakenCase>);

// A refused write changes nothing, sends no notice and shows no message.
struct RefusedCase {
  const char* what;
  std::function<Refused(BoardControl&)> write;
};

class RefusedWriteTest : public ChessBoardFixture,
                         public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedWriteTest, ChangesNothing) {
  BoardControl& c = *control;
  ASSERT_FALSE(c.LegalMoves(u"E2-E4"));
  ASSERT_FALSE(c.Marks(u"Gd4"));
  host.Clear();
  const Refused refused = GetParam().write(c);
  ASSERT_TRUE(refused);
  EXPECT_FALSE(refused->reason.empty());
  EXPECT_EQ(c.LegalMoves(), u"E2-E4");
  EXPECT_EQ(c.Marks(), u"Gd4");
  EXPECT_EQ(c.Orientation(), 0);
  EXPECT_EQ(c.AnimationTime(), 150);
  EXPECT_EQ(c.LightSquareColor(), 0xB5D9F0);
  EXPECT_EQ(c.board().PositionText(), kInitialPosition);
  EXPECT_TRUE(host.log().empty());
  EXPECT_TRUE(forms.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Members, RefusedWriteTest,
    ::testing::Values(
        RefusedCase{"legal moves", [](auto& c) { return c.LegalMoves(u"E2-E4 x"); }},
        RefusedCase{"marks", [](auto& c) { return c.Marks(u"Gd4 Zz9"); }},
        RefusedCase{"user marks", [](auto& c) { return c.UserMarks(u"G"); }},
        RefusedCase{"last move", [](auto& c) { return c.LastMove(u"e2e4"); }},
        RefusedCase{"check square", [](auto& c) { return c.CheckSquare(u"E"); }},
        RefusedCase{"orientation", [](auto& c) { return c.Orientation(2); }},
        RefusedCase{"negative orientation", [](auto& c) { return c.Orientation(-1); }},
        RefusedCase{"animation", [](auto& c) { return c.AnimationTime(2001); }},
        RefusedCase{"theme", [](auto& c) { return c.Theme(6); }},
        RefusedCase{"system colour", [](auto& c) { return c.LightSquareColor(-2147483643); }},
        RefusedCase{"fen", [](auto& c) { return c.Fen(u"8/8/8 w"); }},
        RefusedCase{"position", [](auto& c) { return c.PutPosition(u"RNB"); }}),
    CaseName<RefusedCase>);

TEST_F(ChessBoardTest, AFenWriteLoadsThroughThePositionCell) {
  EXPECT_FALSE(control->Fen(u"k7/8/8/8/8/8/8/4K3 w - - 0 1"));
  EXPECT_EQ(CellAt(u"A8"), u'k');
  EXPECT_EQ(CellAt(u"E1"), u'K');
  EXPECT_EQ(CellAt(u"E2"), kEmptyCell);
  EXPECT_EQ(control->Fen(), u"k7/8/8/8/8/8/8/4K3");
  EXPECT_EQ(control->PutPosition(), u"");
  ASSERT_TRUE(control->surface().LastAnnouncement());
  EXPECT_EQ(control->surface().LastAnnouncement()->kind, Announcement::Kind::kNewPosition);
  EXPECT_EQ(PictureAt(u"E2"), PictureForCell(kEmptyCell));
  EXPECT_EQ(host.log(), (Entries{NoticeOf(u"Fen")}));
}

// A person's move ends whole, by clicks ("E1 G1") or a drag ("E1>G1"): one Change for the move
// after its BeforeMove, then AfterMove with the same texts; a promotion chooses the rook. An
// empty square's click raises nothing.
struct GestureCase {
  const char* what;
  std::u16string fen, gesture, after, promotion = u"";
};

class GestureTest : public ChessBoardFixture, public ::testing::WithParamInterface<GestureCase> {};

TEST_P(GestureTest, EndsAsOneWholeMove) {
  const GestureCase& c = GetParam();
  ASSERT_FALSE(control->Fen(c.fen));
  host.Clear();
  const std::u16string from = c.gesture.substr(0, 2), to = c.gesture.substr(3);
  if (c.gesture[2] == u'>') {
    ASSERT_TRUE(control->BeginDrag(SquareNumber(*ParseSquareName(from[0], from[1])), 0, 0));
    control->Drop(SquareNumber(*ParseSquareName(to[0], to[1])));
  } else {
    Click(from);
    if (!to.empty()) Click(to);
  }
  if (!c.promotion.empty()) control->ClickChoice(1);
  EXPECT_EQ(control->Fen(), c.after);
  EXPECT_EQ(control->GetMove(), to.empty() ? u"" : from + u"-" + to);
  const std::vector<std::u16string> move = {from, to, c.promotion};
  const Entries moved = {ChangeEvent(), RecordingHost::Event{EventId::kBeforeMove, {0}, move},
                         ChangeEvent(), RecordingHost::Event{EventId::kAfterMove, {}, move}};
  EXPECT_EQ(host.log(), to.empty() ? Entries{} : moved);
  EXPECT_TRUE(forms.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Moves, GestureTest,
    ::testing::Values(
        GestureCase{"castling by clicks", u"r3k2r/8/8/8/8/8/8/R3K2R", u"E1 G1",
                    u"r3k2r/8/8/8/8/8/8/R4RK1"},
        GestureCase{"castling by drag", u"r3k2r/8/8/8/8/8/8/R3K2R", u"E8>C8",
                    u"2kr3r/8/8/8/8/8/8/R3K2R"},
        GestureCase{"en passant by clicks", u"4k3/8/8/3pP3/8/8/8/4K3", u"E5 D6",
                    u"4k3/8/3P4/8/8/8/8/4K3"},
        GestureCase{"en passant by drag", u"4k3/8/8/8/3pP3/8/8/4K3", u"D4>E3",
                    u"4k3/8/8/8/8/4p3/8/4K3"},
        GestureCase{"promotion", u"4k3/P7/8/8/8/8/8/4K3", u"A7 A8", u"R3k3/8/8/8/8/8/8/4K3", u"R"},
        GestureCase{"an empty square", u"4k3/8/8/8/8/8/8/4K3", u"A3 ", u"4k3/8/8/8/8/8/8/4K3"}),
    CaseName<GestureCase>);

// The picked piece stays on its square, which is repainted with the selection tint.
TEST_F(ChessBoardTest, APickedPieceStaysOnItsTintedSquare) {
  Click(u"E2");
  EXPECT_EQ(PictureAt(u"E2"), Picture::kWhitePawn);
  EXPECT_EQ(observer.highlights, (std::vector<std::int16_t>{13}));
  const DisplayList list = BuildDisplayList(control->surface(), u"");
  const Rgb square = control->surface().SquareFill(13);
  EXPECT_TRUE(std::any_of(list.begin(), list.end(), [&](const PaintCommand& command) {
    return command.kind == PaintKind::kTint && command.source.index == 13 &&
           command.fill == TintedColour(kSelectionTint, kSelectionOpacity, square);
  }));
}

// A host that replays a move after a takeback writes the text PutMove holds.
TEST_F(ChessBoardTest, EveryPutMoveWriteMoves) {
  ASSERT_FALSE(control->PutMove(u"E2-E4"));
  ASSERT_FALSE(control->Fen(u"8/8/8/8/8/8/4P3/8"));
  ASSERT_FALSE(control->PutMove(u"E2-E4"));
  EXPECT_EQ(control->Fen(), u"8/8/8/8/4P3/8/8/8");
}

std::vector<std::u16string> Names(const MemoryBag& bag) {
  std::vector<std::u16string> names;
  for (const auto& [name, value] : bag.values()) names.push_back(name);
  return names;
}

TEST_F(ChessBoardTest, SavesTheLaterMembersAfterTheFourAndLoadsThemBack) {
  ASSERT_FALSE(control->DragEnabled(false));
  ASSERT_FALSE(control->Orientation(1));
  ASSERT_FALSE(control->AnimationTime(0));
  ASSERT_FALSE(control->Theme(1));
  ASSERT_FALSE(control->LightSquareColor(0x123456));
  ASSERT_FALSE(control->Coordinates(2));
  ASSERT_FALSE(control->EditMode(true));
  MemoryBag saved;
  control->SaveProperties(saved);
  EXPECT_EQ(Names(saved),
            (std::vector<std::u16string>{
                u"Enabled", u"GetMove", u"PutMove", u"PutPosition", u"DragEnabled",
                u"ShowLegalMoves", u"Orientation", u"ShowLastMove", u"AnimationTime", u"Theme",
                u"LightSquareColor", u"DarkSquareColor", u"Coordinates", u"EditMode"}));
  const auto other = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  other->LoadProperties(saved);
  EXPECT_FALSE(other->DragEnabled());
  EXPECT_TRUE(other->ShowLegalMoves());
  EXPECT_EQ(other->Orientation(), 1);
  EXPECT_EQ(other->AnimationTime(), 0);
  EXPECT_EQ(other->Theme(), 1);
  EXPECT_EQ(other->surface().Look(), control->surface().Look());
  EXPECT_TRUE(other->surface().EditMode());
  EXPECT_EQ(saved.reads(), Names(saved));
}

// A bag with a bad value among a ChessBoard's later members changes none of them, and the
// surface still shows what they say.
TEST_F(ChessBoardTest, ABadSavedValueLeavesEveryLaterMemberAsItWas) {
  const std::vector<std::vector<std::pair<std::u16string, PropertyValue>>> bags = {
      {{u"Orientation", 3.0}},
      {{u"AnimationTime", 1e300}},
      {{u"DragEnabled", u"maybe"}},
      {{u"Orientation", 1.0}, {u"ShowLastMove", false}, {u"AnimationTime", 1e300}},
      {{u"DragEnabled", false}, {u"ShowLegalMoves", u"x"}, {u"Orientation", 1.0}},
      {{u"ShowLastMove", false}, {u"AnimationTime", 0.5}},
      {{u"Theme", 2.0}, {u"Coordinates", 3.0}},
      {{u"Theme", 2.0}, {u"DarkSquareColor", -2147483643.0}},
  };
  control->PutMove(u"E2-E4");
  const auto shown = [&] {
    std::vector<MemberValue> values;
    for (const Member& member : kMembers) {
      if (member.chess_board_only) values.push_back(ReadMember(*control, member));
    }
    return std::tuple(values, control->surface().Orientation(),
                      control->surface().LastMoveSquares(), control->surface().Look());
  };
  const auto before = shown();
  for (const auto& values : bags) {
    MemoryBag bag;
    for (const auto& [name, value] : values) bag.Set(name, value);
    EXPECT_THROW(control->LoadProperties(bag), Failure);
    EXPECT_EQ(shown(), before);
  }
  MemoryBag good;
  good.Set(u"Orientation", 1.0);
  good.Set(u"ShowLastMove", false);
  control->LoadProperties(good);
  EXPECT_EQ(control->surface().Orientation(), BoardOrientation::kBlackAtBottom);
  EXPECT_EQ(control->surface().LastMoveSquares(), 0u);
}

TEST_F(FirstClassTest, SavesAndReadsOnlyTheFour) {
  MemoryBag saved;
  control->SaveProperties(saved);
  EXPECT_EQ(Names(saved),
            (std::vector<std::u16string>{u"Enabled", u"GetMove", u"PutMove", u"PutPosition"}));
  saved.Set(u"DragEnabled", true);
  control->LoadProperties(saved);
  EXPECT_EQ(saved.reads(),
            (std::vector<std::u16string>{u"Enabled", u"GetMove", u"PutMove", u"PutPosition"}));
  EXPECT_FALSE(control->DragEnabled());
}

}  // namespace
}  // namespace velmora::testing
