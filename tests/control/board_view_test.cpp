// What a ChessBoard shows besides its pieces: the side at the bottom, the last move and the
// square in check, kept by the rules moves and loads follow, named for screen readers and
// reported to the screen square by square.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "board/move_list.h"
#include "control/accessible_model.h"
#include "entry/keyboard_entry.h"
#include "platform/headless/memory_bag.h"
#include "tests/support/control_fixture.h"
#include "view/accessible_parts.h"

namespace velmora::testing {
namespace {

std::int16_t N(std::u16string_view name) {
  return SquareNumber(*ParseSquareName(name[0], name[1]));
}

std::uint64_t Bits(std::initializer_list<std::u16string_view> names) {
  std::uint64_t bits = 0;
  for (const auto name : names) bits |= std::uint64_t{1} << (N(name) - 1);
  return bits;
}

std::vector<std::int16_t> Sorted(std::vector<std::int16_t> squares) {
  std::sort(squares.begin(), squares.end());
  return squares;
}

const std::u16string kCastlingRow = Rows({u"R***K**R", u"PPPPPPPP", u"********", u"********",
                                          u"********", u"********", u"pppppppp", u"r***k**r"});
const std::u16string kPawnOnB7 = Rows({u"****K***", u"********", u"********", u"********",
                                       u"********", u"********", u"*P******", u"****k***"});

class BoardViewTest : public ChessBoardFixture {
 protected:
  std::u16string Name(std::u16string_view square) const {
    return DescribePart(*control, N(square))->name;
  }
  const Surface& surface() const { return control->surface(); }
};

// Each way a move is made leaves its two squares as the last move and ends the check.
struct MoveCase {
  const char* what;
  std::u16string position;
  std::function<void(BoardControl&, HeadlessForms&)> make;
  std::u16string last_move;
};

class LastMoveTest : public BoardViewTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(LastMoveTest, TintsTheMoveAndEndsTheCheck) {
  const MoveCase& c = GetParam();
  Load(c.position);
  ASSERT_FALSE(control->CheckSquare(u"E1"));
  c.make(*control, forms);
  EXPECT_EQ(control->LastMove(), c.last_move);
  EXPECT_EQ(control->CheckSquare(), u"");
  EXPECT_EQ(surface().CheckSquare(), 0);
  const MoveText move = *ParseMoveTextToken(c.last_move);
  EXPECT_EQ(surface().LastMoveSquares(), (std::uint64_t{1} << (SquareNumber(move.from) - 1)) |
                                             (std::uint64_t{1} << (SquareNumber(move.to) - 1)));
}

INSTANTIATE_TEST_SUITE_P(
    Moves, LastMoveTest,
    ::testing::Values(MoveCase{"host_move", kInitialPosition,
                               [](BoardControl& c, auto&) { c.PutMove(u"E2-E4"); }, u"E2-E4"},
                      MoveCase{"clicks", kInitialPosition,
                               [](BoardControl& c, auto&) {
                                 c.ClickSquare(N(u"G1"));
                                 c.ClickSquare(N(u"F3"));
                               },
                               u"G1-F3"},
                      MoveCase{"castling_by_clicks_marks_the_king", kCastlingRow,
                               [](BoardControl& c, auto&) {
                                 c.ClickSquare(N(u"E1"));
                                 c.ClickSquare(N(u"G1"));
                               },
                               u"E1-G1"},
                      MoveCase{"promotion_marks_the_pawn", kPawnOnB7,
                               [](BoardControl& c, HeadlessForms&) {
                                 c.ClickSquare(N(u"B7"));
                                 c.ClickSquare(N(u"B8"));
                                 c.ClickChoice(1);
                               },
                               u"B7-B8"},
                      MoveCase{"a_drag", kInitialPosition,
                               [](BoardControl& c, auto&) {
                                 ASSERT_TRUE(c.BeginDrag(N(u"D2"), 0, 0));
                                 c.Drop(N(u"D4"));
                               },
                               u"D2-D4"}),
    CaseName<MoveCase>);

TEST_F(BoardViewTest, TheHostReadsTheLastMoveWhenChangeTellsOfTheMove) {
  std::vector<std::u16string> at_change;
  host.SetHandler([&](EventId id, std::span<const EventArg>) {
    if (id == EventId::kChange) at_change.push_back(control->LastMove());
  });
  control->PutMove(u"E2-E4");
  Click(u"E7");
  Click(u"E5");
  EXPECT_EQ(at_change, (std::vector<std::u16string>{u"E2-E4", u"E2-E4", u"E7-E5"}));
}

TEST_F(BoardViewTest, WhatIsNoMoveLeavesTheLastMoveAndTheCheck) {
  control->PutMove(u"E2-E4");
  ASSERT_FALSE(control->CheckSquare(u"E8"));
  Click(u"D2");
  Click(u"D2");                // put back on its own square
  control->PutMove(u"C2-C2");  // onto itself
  control->PutMove(u"E2E4x");  // no square names: refused
  host.SetHandler([](EventId id, std::span<const EventArg> args) {
    if (id == EventId::kBeforeMove) *std::get<bool*>(args[3]) = true;
  });
  Click(u"G1");
  Click(u"F3");  // vetoed
  EXPECT_EQ(control->LastMove(), u"E2-E4");
  EXPECT_EQ(control->CheckSquare(), u"E8");
  EXPECT_EQ(surface().LastMoveSquares(), Bits({u"E2", u"E4"}));
}

// Every way a position is loaded clears both; a refused one clears nothing.
TEST_F(BoardViewTest, ALoadClearsTheLastMoveAndTheCheck) {
  const std::vector<std::function<void()>> loads = {
      [&] { control->PutPosition(kCastlingRow); },
      [&] { control->PutMove(u"**"); },
      [&] { ASSERT_FALSE(control->Fen(u"4k3/8/8/8/8/8/8/4K3 w - - 0 1")); },
  };
  for (std::size_t i = 0; i < loads.size(); ++i) {
    control->PutMove(u"");  // the cell acts only when its text changes
    control->PutMove(u"E2-E4");
    ASSERT_FALSE(control->CheckSquare(u"E8"));
    EXPECT_TRUE(control->Fen(u"8/8/8/8/8/8/8/9"));
    control->PutPosition(u"short");  // refused with its message
    EXPECT_EQ(control->LastMove(), u"E2-E4") << "load " << i;
    loads[i]();
    EXPECT_EQ(control->LastMove(), u"") << "load " << i;
    EXPECT_EQ(control->CheckSquare(), u"") << "load " << i;
    EXPECT_EQ(surface().LastMoveSquares(), 0u) << "load " << i;
    EXPECT_EQ(surface().CheckSquare(), 0) << "load " << i;
  }
}

TEST_F(BoardViewTest, AFenWriteShowsNoMessageWhateverItHolds) {
  for (const std::u16string_view bad :
       {u"", u"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP",
        u"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x",
        u"rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR", u"\u00e9"}) {
    const Refused refused = control->Fen(bad);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->reason.rfind(u"Fen: ", 0), 0u);
  }
  EXPECT_TRUE(forms.messages().empty());
  EXPECT_EQ(Position(), kInitialPosition);
  EXPECT_EQ(control->PutPosition(), u"");
}

TEST_F(BoardViewTest, TheHostSetsAndClearsWhatIsShown) {
  ASSERT_FALSE(control->LastMove(u"g1-f3"));
  EXPECT_EQ(surface().LastMoveSquares(), Bits({u"G1", u"F3"}));
  ASSERT_FALSE(control->ShowLastMove(false));
  EXPECT_EQ(surface().LastMoveSquares(), 0u);
  EXPECT_EQ(control->LastMove(), u"G1-F3");  // kept, only not shown
  control->PutMove(u"E2-E4");
  EXPECT_EQ(surface().LastMoveSquares(), 0u);
  ASSERT_FALSE(control->ShowLastMove(true));
  EXPECT_EQ(surface().LastMoveSquares(), Bits({u"E2", u"E4"}));
  ASSERT_FALSE(control->LastMove(u""));
  EXPECT_EQ(surface().LastMoveSquares(), 0u);
  ASSERT_FALSE(control->CheckSquare(u"e8"));
  EXPECT_EQ(surface().CheckSquare(), N(u"E8"));
  ASSERT_FALSE(control->CheckSquare(u""));
  EXPECT_EQ(surface().CheckSquare(), 0);
}

// The screen hears of exactly the squares whose look changed: the old and the new.
TEST_F(BoardViewTest, OnlyTheSquaresThatChangeAreReported) {
  ASSERT_FALSE(control->LastMove(u"E2-E4"));
  ASSERT_FALSE(control->CheckSquare(u"E1"));
  observer.Clear();
  ASSERT_FALSE(control->LastMove(u"E4-E5"));
  EXPECT_EQ(Sorted(observer.highlights), (std::vector<std::int16_t>{N(u"E2"), N(u"E5")}));
  observer.Clear();
  ASSERT_FALSE(control->CheckSquare(u"E8"));
  EXPECT_EQ(Sorted(observer.highlights), (std::vector<std::int16_t>{N(u"E1"), N(u"E8")}));
  EXPECT_EQ(observer.turns, 0);
  observer.Clear();
  control->PutMove(u"D7-D5");
  EXPECT_EQ(Sorted(observer.highlights),
            (std::vector<std::int16_t>{N(u"E4"), N(u"D5"), N(u"E5"), N(u"D7"), N(u"E8")}));
  EXPECT_EQ(std::set<std::int16_t>(observer.pictures.begin(), observer.pictures.end()),
            (std::set<std::int16_t>{N(u"D5"), N(u"D7")}));
  observer.Clear();
  ASSERT_FALSE(control->Orientation(1));
  EXPECT_EQ(observer.turns, 1);
  EXPECT_TRUE(observer.highlights.empty());
  EXPECT_TRUE(observer.pictures.empty());
}

TEST_F(BoardViewTest, NamesSayWhatTheSquaresShow) {
  control->PutMove(u"E2-E4");
  ASSERT_FALSE(control->CheckSquare(u"E1"));
  EXPECT_EQ(Name(u"E4"), u"E4, white pawn, last move");
  EXPECT_EQ(Name(u"E2"), u"E2, empty, last move");
  EXPECT_EQ(Name(u"E1"), u"E1, white king, in check");
  EXPECT_EQ(Name(u"D1"), u"D1, white queen");
  Click(u"E4");
  EXPECT_EQ(Name(u"E4"), u"E4, white pawn, picked up, last move");
  ASSERT_FALSE(control->ShowLastMove(false));
  EXPECT_EQ(Name(u"E2"), u"E2, empty");
}

TEST_F(BoardViewTest, SettingCheckIsAnnounced) {
  observer.Clear();
  ASSERT_FALSE(control->CheckSquare(u"E1"));
  ASSERT_FALSE(control->CheckSquare(u"E1"));  // no change: nothing new to hear
  ASSERT_FALSE(control->CheckSquare(u""));
  ASSERT_FALSE(control->CheckSquare(u"D4"));
  std::vector<std::u16string> words;
  for (const Announcement& a : observer.announcements) words.push_back(AnnouncementWords(a));
  EXPECT_EQ(words, (std::vector<std::u16string>{u"white king on E1 in check", u"D4 in check"}));
  EXPECT_EQ(AnnouncementWords(*surface().LastAnnouncement()), u"D4 in check");
}

TEST_F(BoardViewTest, TurningMovesNothingButTheView) {
  control->PutMove(u"E2-E4");
  ASSERT_FALSE(control->Orientation(1));
  EXPECT_EQ(surface().Orientation(), BoardOrientation::kBlackAtBottom);
  EXPECT_EQ(control->Fen(), u"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR");
  EXPECT_EQ(Name(u"E4"), u"E4, white pawn, last move");
  EXPECT_EQ(surface().PictureOf(N(u"E4")), Picture::kWhitePawn);
  // The square drawn top-left is H1 now, and the accessible place says so.
  const Rect h1 = *PartRect(surface(), N(u"H1"));
  EXPECT_EQ(h1.left, 480);
  EXPECT_EQ(h1.top, 480);
  ASSERT_FALSE(control->Orientation(0));
  EXPECT_EQ(surface().Orientation(), BoardOrientation::kWhiteAtBottom);
}

TEST_F(BoardViewTest, KeysOnATurnedBoardGoAsDrawn) {
  ASSERT_FALSE(control->Orientation(1));
  control->SurfaceFocus(true);
  const auto press = [&](std::int16_t key, std::int16_t shift = 0) {
    std::int16_t code = key, down = shift, up = shift;
    control->SurfaceKeyDown(code, down);
    code = key;
    control->SurfaceKeyUp(code, up);
  };
  press(keys::kHome, shift_bits::kCtrl);
  EXPECT_EQ(control->focus().Square(), N(u"H1"));
  press(keys::kUp);  // away from the person: H1 is the top row already
  EXPECT_EQ(control->focus().Square(), N(u"H1"));
  press(keys::kDown);
  press(keys::kRight);
  EXPECT_EQ(control->focus().Square(), N(u"G2"));
  press(keys::kSpace);
  EXPECT_EQ(control->GetMove(), u"G2");
}

TEST_F(BoardViewTest, ATurnedBoardIsSavedAndShownTurnedWhenLoaded) {
  ASSERT_FALSE(control->Orientation(1));
  MemoryBag saved;
  control->SaveProperties(saved);
  const auto other = BoardControl::Create(forms, host, ControlClass::kChessBoard);
  other->LoadProperties(saved);
  EXPECT_EQ(other->Orientation(), 1);
  EXPECT_EQ(other->surface().Orientation(), BoardOrientation::kBlackAtBottom);
}

TEST_F(ControlFixture, AFirstClassControlShowsNoneOfIt) {
  control->PutMove(u"E2-E4");
  Click(u"D2");
  Click(u"D4");
  EXPECT_EQ(control->LastMove(), u"");
  EXPECT_EQ(control->surface().LastMoveSquares(), 0u);
  EXPECT_TRUE(control->Orientation(1));
  EXPECT_EQ(control->surface().Orientation(), BoardOrientation::kWhiteAtBottom);
  EXPECT_TRUE(observer.highlights.empty());
  EXPECT_EQ(DescribePart(*control, N(u"D4"))->name, u"D4, white pawn");
}

}  // namespace
}  // namespace velmora::testing
