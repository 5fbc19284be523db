// The texts a host writes into the later members: move lists, square marks, position records.
#include <gtest/gtest.h>

#include "board/fen.h"
#include "board/move_list.h"
#include "board/position_text.h"
#include "board/square_marks.h"
#include "tests/support/control_fixture.h"

namespace velmora::testing {
namespace {

struct TextCase {
  const char* what;
  std::u16string text;
  std::optional<std::u16string> read_back;  // none: refused
};

class MoveListTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(MoveListTest, ReadsBackInMoveTextFormOrRefusesTheWhole) {
  const auto parsed = ParseMoveList(GetParam().text);
  if (!GetParam().read_back) {
    ASSERT_TRUE(std::holds_alternative<Refusal>(parsed));
    EXPECT_FALSE(std::get<Refusal>(parsed).reason.empty());
    return;
  }
  ASSERT_FALSE(std::holds_alternative<Refusal>(parsed));
  EXPECT_EQ(MoveListText(std::get<std::vector<MoveText>>(parsed)), *GetParam().read_back);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MoveListTest,
    ::testing::Values(TextCase{"empty is any move", u"", u""}, TextCase{"blanks only", u"   ", u""},
                      TextCase{"move texts", u"E2-E4 G1-F3", u"E2-E4 G1-F3"},
                      TextCase{"capture and lower case", u"e4xd5", u"E4-D5"},
                      TextCase{"engine moves", u"e2e4  g8f6", u"E2-E4 G8-F6"},
                      TextCase{"promotions are one move", u"e7e8q e7e8n E7-E8", u"E7-E8"},
                      TextCase{"engine promotion upper case", u"a2a1Q", u"A2-A1"},
                      TextCase{"off the board", u"E2-E9", std::nullopt},
                      TextCase{"other separator", u"E2/E4", std::nullopt},
                      TextCase{"comma separated", u"E2-E4,G1-F3", std::nullopt},
                      TextCase{"bad promotion letter", u"e7e8k", std::nullopt},
                      TextCase{"one bad token", u"E2-E4 hello", std::nullopt},
                      TextCase{"three letters", u"E2E", std::nullopt}),
    CaseName<TextCase>);

TEST(RefusalTest, QuotesAtMostFortyCharactersOfTheText) {
  // A quote, `count` letters, then `end`.
  const auto quoted = [](std::size_t count, char16_t letter, std::u16string_view end) {
    std::u16string text(1, u'"');
    text.append(count, letter);
    return text.append(end);
  };
  const auto huge = ParseMoveList(std::u16string(1'000'000, u'x'));
  EXPECT_EQ(std::get<Refusal>(huge).reason.substr(0, 43), quoted(40, u'x', u"\u2026\""));
  // A character outside the basic plane is kept whole or left out whole.
  EXPECT_EQ(Quoted(std::u16string(39, u'a') + u"\U0001F600b"), quoted(39, u'a', u"\u2026\""));
  EXPECT_EQ(Quoted(std::u16string(40, u'a')), quoted(40, u'a', u"\""));
}

TEST(MoveTokenTest, LastMoveTakesOnlyMoveTexts) {
  EXPECT_EQ(ParseMoveTextToken(u"E1-G1"), (MoveText{{1, 5}, {1, 7}}));
  EXPECT_FALSE(ParseMoveTextToken(u"e1g1"));
  EXPECT_EQ(ParseMoveToken(u"e1g1"), (MoveText{{1, 5}, {1, 7}}));
}

class SquareMarksTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(SquareMarksTest, ReadsBackAsGameRecordsWriteThem) {
  const auto parsed = ParseSquareMarks(GetParam().text);
  if (!GetParam().read_back) {
    EXPECT_TRUE(std::holds_alternative<Refusal>(parsed));
    return;
  }
  ASSERT_FALSE(std::holds_alternative<Refusal>(parsed));
  EXPECT_EQ(SquareMarksText(std::get<std::vector<SquareMark>>(parsed)), *GetParam().read_back);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SquareMarksTest,
    ::testing::Values(TextCase{"empty", u"", u""},
                      TextCase{"circles and an arrow", u"Gd4 Re5 Gg1f3", u"Gd4 Re5 Gg1f3"},
                      TextCase{"commas and cases", u"yD4,bA1H8, ,", u"Yd4 Ba1h8"},
                      TextCase{"a later circle recolours in place", u"Gd4 Re5 Bd4", u"Bd4 Re5"},
                      TextCase{"a later arrow recolours in place", u"Gg1f3 Rf3g1 Yg1f3 Bg1f3",
                               u"Bg1f3 Rf3g1"},
                      TextCase{"an arrow to its own square is its circle", u"Gd4 Rd4d4", u"Rd4d4"},
                      TextCase{"unknown colour", u"Xd4", std::nullopt},
                      TextCase{"one square and a half", u"Gd4e", std::nullopt},
                      TextCase{"off the board", u"Gi1", std::nullopt},
                      TextCase{"no colour", u"d4", std::nullopt}),
    CaseName<TextCase>);

TEST(SquareMarksTest, KeepsColourAndShape) {
  const auto parsed = ParseSquareMarks(u"Bh8 Ra1b2");
  ASSERT_TRUE(std::holds_alternative<std::vector<SquareMark>>(parsed));
  EXPECT_EQ(std::get<std::vector<SquareMark>>(parsed),
            (std::vector<SquareMark>{{MarkColour::kBlue, {8, 8}, std::nullopt},
                                     {MarkColour::kRed, {1, 1}, Square{2, 2}}}));
}

class RecordTest : public ::testing::TestWithParam<TextCase> {};

// read_back here is the 64-character position text, row 1 first.
TEST_P(RecordTest, GivesThePositionTextRowOneFirst) {
  const auto parsed = PositionTextOfRecord(GetParam().text);
  if (!GetParam().read_back) {
    EXPECT_TRUE(std::holds_alternative<Refusal>(parsed));
    return;
  }
  ASSERT_FALSE(std::holds_alternative<Refusal>(parsed));
  const std::u16string& position = std::get<std::u16string>(parsed);
  EXPECT_EQ(position, *GetParam().read_back);
  EXPECT_EQ(CheckPositionText(position), PositionVerdict::kValid);
}

const std::u16string kAfterE4 = u"RNBQKBNRPPPP*PPP************P*******************pppppppprnbqkbnr";
const std::u16string kLoneKings = Rows({u"****K***", u"********", u"********", u"********",
                                        u"********", u"********", u"********", u"k*******"});

INSTANTIATE_TEST_SUITE_P(
    Texts, RecordTest,
    ::testing::Values(
        TextCase{"placement alone", u"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
                 kInitialPosition},
        TextCase{"whole record", u"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
                 kAfterE4},
        TextCase{"no castling, counters", u"k7/8/8/8/8/8/8/4K3 w - - 12 40", kLoneKings},
        TextCase{"seven ranks", u"8/8/8/8/8/8/8", std::nullopt},
        TextCase{"rank of nine", u"k8/8/8/8/8/8/8/4K3", std::nullopt},
        TextCase{"two digits in a row", u"k43/8/8/8/8/8/8/4K3", std::nullopt},
        TextCase{"a nine", u"9/8/8/8/8/8/8/8", std::nullopt},
        TextCase{"bad letter", u"x7/8/8/8/8/8/8/8", std::nullopt},
        TextCase{"bad side", u"k7/8/8/8/8/8/8/4K3 x - - 0 1", std::nullopt},
        TextCase{"castling out of order", u"k7/8/8/8/8/8/8/4K3 w qK - 0 1", std::nullopt},
        TextCase{"en passant on rank 4", u"k7/8/8/8/8/8/8/4K3 w - e4 0 1", std::nullopt},
        TextCase{"move number zero", u"k7/8/8/8/8/8/8/4K3 w - - 0 0", std::nullopt},
        TextCase{"a seventh field", u"k7/8/8/8/8/8/8/4K3 w - - 0 1 x", std::nullopt},
        TextCase{"empty", u"", std::nullopt}),
    CaseName<TextCase>);

TEST(RecordTest, PlacementFieldOfABoardReadsBackThroughTheParser) {
  Board board = Board::Initial();
  EXPECT_EQ(PlacementField(board), u"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  LoadPositionText(board, kAfterE4);
  EXPECT_EQ(PlacementField(board), u"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR");
  EXPECT_EQ(std::get<std::u16string>(PositionTextOfRecord(PlacementField(board))), kAfterE4);
}

}  // namespace
}  // namespace velmora::testing
