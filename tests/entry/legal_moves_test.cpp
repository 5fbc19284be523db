// Clicks while the host lists the legal moves: what is refused, what is picked instead, and the
// destination marks a ChessBoard shows for the picked piece.
#include <gtest/gtest.h>

#include "entry/keyboard_entry.h"
#include "tests/support/control_fixture.h"
#include "view/accessible_parts.h"
#include "view/display_list.h"

namespace velmora::testing {
namespace {

class LegalMovesTest : public ChessBoardFixture {
 protected:
  void List(std::u16string_view moves) {
    ASSERT_FALSE(control->LegalMoves(moves));
    host.Clear();
    observer.Clear();
  }
  std::u16string LastWords() const {
    const auto& last = control->surface().LastAnnouncement();
    return last ? AnnouncementWords(*last) : std::u16string();
  }
  static std::int16_t N(std::u16string_view name) {
    return SquareNumber(*ParseSquareName(name[0], name[1]));
  }
};

TEST_F(LegalMovesTest, APieceWithNoListedMoveIsNotPicked) {
  List(u"E2-E4 G1-F3");
  Click(u"D2");
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_EQ(PictureAt(u"D2"), Picture::kWhitePawn);
  EXPECT_EQ(LastWords(), u"the white pawn on D2 has no legal move");
  EXPECT_TRUE(host.log().empty());
  EXPECT_TRUE(forms.messages().empty());
}

TEST_F(LegalMovesTest, AnUnlistedDestinationLeavesThePiecePicked) {
  List(u"E2-E4 E2-E3");
  Click(u"E2");
  Click(u"E5");
  EXPECT_EQ(control->entry_state(), EntryState::kPicked);
  EXPECT_EQ(control->surface().Picked(), N(u"E2"));
  EXPECT_EQ(control->GetMove(), u"E2");
  EXPECT_EQ(Position(), kInitialPosition);
  EXPECT_EQ(LastWords(), u"E5 is not a legal move for the white pawn on E2");
  EXPECT_EQ(host.log(), (Entries{ChangeEvent()})) << "only the pick's";
  EXPECT_TRUE(forms.messages().empty());
  Click(u"E4");
  EXPECT_EQ(control->GetMove(), u"E2-E4");
  EXPECT_EQ(CellAt(u"E4"), u'P');
}

TEST_F(LegalMovesTest, KeysAreFilteredAsClicksAre) {
  List(u"A2-A4");
  control->SurfaceFocus(true);
  std::int16_t space = keys::kSpace, no_shift = 0;
  control->SurfaceKeyDown(space, no_shift);  // the focus square starts on A1
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_EQ(LastWords(), u"the white rook on A1 has no legal move");
}

TEST_F(LegalMovesTest, ThePickedSquareIsThePutBackAsWithoutAList) {
  List(u"E2-E4");
  Click(u"E2");
  Click(u"E2");
  EXPECT_EQ(control->entry_state(), EntryState::kIdle);
  EXPECT_EQ(control->GetMove(), u"E2-E2");
  EXPECT_EQ(PictureAt(u"E2"), Picture::kWhitePawn);
  EXPECT_EQ(Position(), kInitialPosition);
}

TEST_F(LegalMovesTest, AnUnlistedClickOnAPieceWithListedMovesPicksIt) {
  List(u"E2-E4 G1-F3");
  Click(u"E2");
  Click(u"G1");
  EXPECT_EQ(control->surface().Picked(), N(u"G1"));
  EXPECT_EQ(control->GetMove(), u"G1");
  EXPECT_EQ(PictureAt(u"E2"), Picture::kWhitePawn);
  EXPECT_EQ(PictureAt(u"G1"), Picture::kWhiteKnight) << "a ChessBoard's picked piece stays";
  EXPECT_EQ(control->surface().PictureOf(0), Picture::kWhiteKnight);
  Click(u"F3");
  EXPECT_EQ(CellAt(u"F3"), u'N');
  EXPECT_EQ(CellAt(u"E2"), u'P');
}

TEST_F(LegalMovesTest, CastlingTakesTheKingsListedMove) {
  Load(Rows({u"R***K**R", u"PPPPPPPP", u"********", u"********", u"********", u"********",
             u"pppppppp", u"r***k**r"}));
  List(u"e1g1 E1-F1");
  Click(u"E1");
  Click(u"G1");
  EXPECT_EQ(control->board().RowText(1), u"R****RK*");
}

TEST_F(LegalMovesTest, ThePickedPiecesDestinationsAreMarkedAndNamed) {
  Load(Rows({u"RNBQKBNR", u"PPPPPPPP", u"********", u"********", u"********", u"p*******",
             u"*ppppppp", u"rnbqkbnr"}));
  List(u"B1-A3 B1-C3 B1-D2 G1-F3");
  Click(u"B1");
  const std::vector<std::int16_t> marked{N(u"D2"), N(u"A3"), N(u"C3")};
  EXPECT_EQ(observer.marks, marked) << "only the picked piece's, in square order";
  EXPECT_TRUE(control->surface().IsDestination(N(u"A3")));
  EXPECT_FALSE(control->surface().IsDestination(N(u"F3")));
  EXPECT_EQ(SquarePartName(control->surface(), N(u"A3")), u"A3, empty, legal destination");
  EXPECT_EQ(SquarePartName(control->surface(), N(u"D2")), u"D2, white pawn, legal destination");

  std::vector<std::pair<std::int16_t, DestinationShape>> shapes;
  for (const PaintCommand& c : BuildDisplayList(control->surface(), control->GetMove())) {
    if (c.kind == PaintKind::kDestination) shapes.emplace_back(c.source.index, c.destination);
  }
  EXPECT_EQ(shapes, (std::vector<std::pair<std::int16_t, DestinationShape>>{
                        {N(u"D2"), DestinationShape::kRing},
                        {N(u"A3"), DestinationShape::kDot},
                        {N(u"C3"), DestinationShape::kDot}}));

  observer.Clear();
  Click(u"C3");
  EXPECT_EQ(observer.marks, marked) << "the same squares again as the marks go";
  EXPECT_EQ(control->surface().Destinations(), 0u);
}

TEST_F(LegalMovesTest, MarksFollowShowLegalMovesAndTheList) {
  ASSERT_FALSE(control->ShowLegalMoves(false));
  List(u"E2-E4");
  Click(u"E2");
  EXPECT_EQ(control->surface().Destinations(), 0u);
  ASSERT_FALSE(control->ShowLegalMoves(true));
  EXPECT_TRUE(control->surface().IsDestination(N(u"E4")));
  ASSERT_FALSE(control->LegalMoves(u"E2-E3"));
  EXPECT_TRUE(control->surface().IsDestination(N(u"E3")));
  EXPECT_FALSE(control->surface().IsDestination(N(u"E4")));
}

TEST_F(LegalMovesTest, TheMarksLieOverThePieces) {
  List(u"E2-E4");
  Click(u"E2");
  const DisplayList list = BuildDisplayList(control->surface(), control->GetMove());
  std::size_t mark = 0, last_piece = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].kind == PaintKind::kDestination) mark = i;
    if (list[i].kind == PaintKind::kIcon) last_piece = i;
  }
  EXPECT_GT(mark, last_piece);
}

}  // namespace
}  // namespace velmora::testing
