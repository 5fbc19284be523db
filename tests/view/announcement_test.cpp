// Announcements as values and as words.
#include "view/announcement.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

Square At(std::u16string_view name) {
  return *ParseSquareName(name[0], name[1]);
}

TEST(AnnouncementWordsTest, EveryKindReadsAsThePersonExpects) {
  struct Case {
    std::optional<Announcement> announcement;
    std::u16string_view words;
  };
  const Case cases[] = {
      {AnnounceMove(u'P', u'*', At(u"E2"), At(u"E4")), u"white pawn E2 to E4"},
      {AnnounceMove(u'n', u'B', At(u"G1"), At(u"F3")), u"black knight captures white bishop on F3"},
      {AnnounceMove(u'Q', u'q', At(u"D1"), At(u"D8")), u"white queen captures black queen on D8"},
      {AnnounceMove(u'r', u'r', At(u"A8"), At(u"A1")), u"black rook captures black rook on A1"},
      {AnnounceMove(u'P', u'*', At(u"B7"), At(u"B8"), u'Q'),
       u"white pawn B7 to B8, promoted to queen"},
      {AnnounceMove(u'p', u'R', At(u"B2"), At(u"A1"), u'n'),
       u"black pawn captures white rook on A1, promoted to knight"},
      {AnnounceMove(u'*', u'P', At(u"C3"), At(u"E4")), u"E4 cleared"},
      {AnnounceCastling(u'K', 1, 2), u"white king castles, E1 to G1"},
      {AnnounceCastling(u'K', 1, -2), u"white king castles, E1 to C1"},
      {AnnounceCastling(u'k', 8, -2), u"black king castles, E8 to C8"},
      {AnnounceCastling(u'K', 5, 2), u"white king castles, E5 to G5"},
      {AnnounceNewPosition(), u"new position"},
      {AnnounceCheck(Picture::kWhiteKing, At(u"E1")), u"white king on E1 in check"},
      {AnnounceCheck(Picture::kTransparent, At(u"D4")), u"D4 in check"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(c.announcement.has_value());
    EXPECT_EQ(AnnouncementWords(*c.announcement), c.words);
  }
}

TEST(AnnouncementWordsTest, AMoveOntoItsOwnSquareIsNoAnnouncement) {
  EXPECT_FALSE(AnnounceMove(u'P', u'P', At(u"E2"), At(u"E2")).has_value());
  EXPECT_FALSE(AnnounceMove(u'*', u'*', At(u"A1"), At(u"A1")).has_value());
}

TEST(PictureWordsTest, SideThenKindAndEmptyForNoPiece) {
  const std::pair<Picture, std::u16string_view> cases[] = {
      {Picture::kWhitePawn, u"white pawn"},     {Picture::kWhiteBishop, u"white bishop"},
      {Picture::kWhiteKnight, u"white knight"}, {Picture::kWhiteQueen, u"white queen"},
      {Picture::kWhiteKing, u"white king"},     {Picture::kWhiteRook, u"white rook"},
      {Picture::kBlackPawn, u"black pawn"},     {Picture::kBlackRook, u"black rook"},
      {Picture::kTransparent, u"empty"},        {Picture::kNone, u"empty"},
  };
  for (const auto& [picture, words] : cases) EXPECT_EQ(PictureWords(picture), words);
}

}  // namespace
}  // namespace velmora
