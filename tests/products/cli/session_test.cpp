#include "products/cli/session.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace velmora::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct Outcome {
  bool ok;
  std::vector<std::string> out;
  std::string err;
};

// Runs a script on a new instance, or on `session` when one is given.
Outcome RunScript(const std::string& script, bool keep_going = false) {
  std::ostringstream out, err;
  Session session(out, err);
  const bool ok = session.Run(Lines(script), keep_going);
  return {ok, Lines(out.str()), err.str()};
}

std::string TempPath(const std::string& name) {
  return testing::TempDir() + "/velmora_" + name;
}

// Rows 1 to 8: kings on E1 and E8, a white pawn on A7 about to promote.
const std::string kPawnOnA7 = "****K***" + std::string(5 * 8, '*') + "P*******" + "****k***";

TEST(Session, HostCallsClicksAndEventsPrintAsTheyHappen) {
  const Outcome run = RunScript(R"(# a short game
get PutMove
set PutMove E2-E4
get GetMove
click E7
click e5
click E3
set PutPosition short
event KeyPress 65
reply KeyAscii 0
event KeyPress 66
event MouseDown 1 2 30.5 40
event Click
set Enabled False
get Enabled
event Click
board
)");
  EXPECT_TRUE(run.ok) << run.err;
  const std::vector<std::string> expected = {
      R"(PutMove = "")",
      R"(announce "white pawn E2 to E4")",
      "event Change",
      "notice PutMove",
      R"(GetMove = "E2-E4")",
      "event Change",
      R"(announce "black pawn E7 to E5")",
      "event Change",
      R"(message "Empty Square")",
      R"(message "Data Length Error")",
      "notice PutPosition",
      "event KeyPress KeyAscii=65",
      "after KeyPress KeyAscii=65",
      "event KeyPress KeyAscii=66",
      "after KeyPress KeyAscii=0",
      "event MouseDown Button=1 Shift=2 X=30.5 Y=40",
      "after MouseDown Button=1 Shift=2 X=30.5 Y=40",
      "event Click",
      "notice Enabled",
      "Enabled = False",
      "8 rnbqkbnr",
      "7 pppp*ppp",
      "6 ********",
      "5 ****p***",
      "4 ****P***",
      "3 ********",
      "2 PPPP*PPP",
      "1 RNBQKBNR",
  };
  EXPECT_EQ(run.out, expected);
}

TEST(Session, LinesAfterAPromotionClickAnswerThePrompt) {
  const Outcome run = RunScript("set PutPosition \"" + kPawnOnA7 + R"("
click A7
click A8
get GetMove
choose 1
board
expect GetMove A7-A8
)");
  EXPECT_TRUE(run.ok) << run.err;
  // The get runs while the prompt waits, before the choice.
  const std::vector<std::string> expected = {R"(announce "new position")",
                                             "notice PutPosition",
                                             "event Change",
                                             R"(GetMove = "A7")",
                                             R"(announce "white pawn A7 to A8, promoted to rook")",
                                             "event Change",
                                             "8 R***k***",
                                             "7 ********",
                                             "6 ********",
                                             "5 ********",
                                             "4 ********",
                                             "3 ********",
                                             "2 ********",
                                             "1 ****K***"};
  EXPECT_EQ(run.out, expected);
}

TEST(Session, PromptClosesWhenTheScriptRunsOut) {
  std::ostringstream out, err;
  Session session(out, err);
  EXPECT_TRUE(
      session.Run(Lines("set PutPosition \"" + kPawnOnA7 + "\"\nclick A7\nclick A8\n"), false))
      << err.str();
  // The click is dropped: the pawn stays, the pick is released.
  EXPECT_EQ(session.control().board().RowText(7), u"P*******");
  EXPECT_EQ(session.control().board().RowText(8), u"****k***");
  EXPECT_EQ(session.control().GetMove(), u"A7");
  EXPECT_EQ(session.control().entry_state(), EntryState::kIdle);
}

TEST(Session, MalformedLineStopsTheRunWithNothingApplied) {
  const Outcome run = RunScript("set PutMove E2-E4\nset PutMove \"E7-E5\nset PutMove D2-D4\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.err, "line 2: unterminated quote\n");
  EXPECT_EQ(run.out, (std::vector<std::string>{R"(announce "white pawn E2 to E4")", "event Change",
                                               "notice PutMove"}));
}

TEST(Session, KeepGoingRunsTheRestButStillFails) {
  const Outcome run =
      RunScript("set PutMove E2-E4\nfly away\nget PutMove\nexpect PutMove E2-E5\n", true);
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.err,
            "line 2: unknown operation \"fly\"\n"
            "line 4: expected PutMove = \"E2-E5\", but it is \"E2-E4\"\n");
  EXPECT_EQ(run.out.back(), R"(PutMove = "E2-E4")");
}

TEST(Session, MalformedLineInsideAPromptClosesIt) {
  const Outcome run = RunScript("set PutPosition \"" + kPawnOnA7 +
                                "\"\nclick A7\nclick A8\nchoose nine\nchoose 0\n");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.err, "line 4: choose takes 0 to 7, not \"nine\"\n");
}

TEST(Session, SavedPropertiesLoadBackTheSameTexts) {
  const std::string path = TempPath("saved.txt");
  const Outcome saved = RunScript(
      R"(set GetMove "say \"hi\"\nnext \uD800 line"
set PutMove "\\*\t"
set Enabled False
save )" +
      path + "\n");
  ASSERT_TRUE(saved.ok) << saved.err;
  std::ostringstream out, err;
  Session session(out, err);
  ASSERT_TRUE(
      session.Run(Lines("load " + path + "\nget GetMove\nget PutMove\nget Enabled\n"), false))
      << err.str();
  EXPECT_EQ(session.control().GetMove(), std::u16string(u"say \"hi\"\nnext \xD800 line"));
  EXPECT_EQ(session.control().PutMove(), u"\\*\t");
  EXPECT_FALSE(session.control().Enabled());
  EXPECT_EQ(Lines(out.str()),
            (std::vector<std::string>{"event Change", R"(GetMove = "say \"hi\"\nnext \uD800 line")",
                                      R"(PutMove = "\\*\t")", "Enabled = False"}));
}

TEST(Session, LoadStopsWhereTheControlFails) {
  const std::string path = TempPath("bad_value.txt");
  std::ofstream(path) << "GetMove = \"E2\"\nEnabled = \"maybe\"\n";
  std::ostringstream out, err;
  Session session(out, err);
  EXPECT_FALSE(session.Run(Lines("load " + path + "\nget GetMove\n"), true));
  EXPECT_NE(err.str().find("line 1: failure 13: "), std::string::npos) << err.str();
  // Enabled is read first and fails, so GetMove stays as it was.
  EXPECT_EQ(session.control().GetMove(), u"");
}

TEST(Session, MalformedPropertyFileLoadsNothing) {
  const std::string path = TempPath("malformed.txt");
  std::ofstream(path) << "GetMove = \"E2\"\nEnabled True\n";
  std::ostringstream out, err;
  Session session(out, err);
  EXPECT_FALSE(session.Run(Lines("load " + path + "\n"), false));
  EXPECT_NE(err.str().find(path + ":2: expected Name = value; nothing loaded"), std::string::npos)
      << err.str();
  EXPECT_EQ(session.control().GetMove(), u"");
  EXPECT_TRUE(out.str().empty());
}

TEST(Session, RenderWritesAPng) {
  const std::string path = TempPath("board.png");
  const Outcome run = RunScript("render " + path + " 2\n");
  ASSERT_TRUE(run.ok) << run.err;
  std::ifstream png(path, std::ios::binary);
  char signature[8] = {};
  png.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
}

}  // namespace
}  // namespace velmora::cli

namespace velmora::cli {
namespace {

std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines,
                                           std::string_view head) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    if (line.starts_with(head)) out.push_back(line);
  }
  return out;
}

// Rows 1 to 8: both sides can castle, a pawn of each side is one step from promotion.
const std::string kKeyboardGame =
    "R***K**R"
    "*******p"
    "********"
    "****p***"
    "********"
    "********"
    "*P******"
    "r***k**r";

TEST(Session, AWholeGameByKeyboardAlone) {
  const std::string script = "set PutPosition " + kKeyboardGame + R"(
# white castles king side: the focus starts on A1
key Right
key Right
key Right
key Right
key Space
key Right
key Right
key Enter
# black castles queen side
key Ctrl+Home
key End
key Left
key Left
key Left
key Space
key Left
key Left
key Enter
# white promotes by arrows: B7 to B8, the third choice down
key Left
key Down
key Space
key Up
key Enter
key Down
key Down
key Down
key Up
key Space
# black promotes by letter: H2 to H1
key End
key PageDown
key Up
key Space
key Down
key Enter
key Shift+Q
# an ordinary move and a capture with the rook
key Ctrl+End
key Left
key Left
key Space
key Up
key Up
key Up
key Enter
key Space
key Left
key Enter
# an empty square answers with a message box
key Home
key Space
board
)";
  const Outcome run = RunScript(script);
  EXPECT_TRUE(run.ok) << run.err;
  EXPECT_EQ(LinesStartingWith(run.out, "announce"),
            (std::vector<std::string>{
                R"(announce "new position")",
                R"(announce "white king castles, E1 to G1")",
                R"(announce "black king castles, E8 to C8")",
                R"(announce "white pawn B7 to B8, promoted to bishop")",
                R"(announce "black pawn H2 to H1, promoted to queen")",
                R"(announce "white rook F1 to F4")",
                R"(announce "white rook captures black pawn on E4")",
            }));
  EXPECT_EQ(LinesStartingWith(run.out, "message"),
            std::vector<std::string>{R"(message "Empty Square")"});
  const std::vector<std::string> board(run.out.end() - 8, run.out.end());
  EXPECT_EQ(board,
            (std::vector<std::string>{"8 *Bkr***r", "7 ********", "6 ********", "5 ********",
                                      "4 ****R***", "3 ********", "2 ********", "1 R*****Kq"}));
  const auto presses = LinesStartingWith(Lines(script), "key ");
  EXPECT_EQ(LinesStartingWith(run.out, "event KeyDown").size(), presses.size());
  EXPECT_EQ(LinesStartingWith(run.out, "event KeyUp").size(), presses.size());
  const auto characters = LinesStartingWith(run.out, "event KeyPress");
  EXPECT_EQ(characters.size(), LinesStartingWith(presses, "key Space").size() +
                                   LinesStartingWith(presses, "key Enter").size() + 1)
      << "Space, Enter and Shift+Q make characters; arrows make none";
  EXPECT_EQ(LinesStartingWith(characters, "event KeyPress KeyAscii=81").size(), 1u);
}

TEST(Session, TheHostTakesAKeyAndADisabledControlIgnoresKeys) {
  const Outcome run = RunScript(R"(key Up
reply KeyCode 0
key Up
key Space
reply KeyCode off
set Enabled False
key Up
key Space
set Enabled True
accessible
)");
  EXPECT_TRUE(run.ok) << run.err;
  EXPECT_EQ(LinesStartingWith(run.out, "event KeyDown"),
            (std::vector<std::string>{"event KeyDown KeyCode=38 Shift=0",
                                      "event KeyDown KeyCode=38 Shift=0",
                                      "event KeyDown KeyCode=32 Shift=0"}))
      << "the disabled control raises nothing";
  EXPECT_EQ(run.out.back(), "focus 9") << "only the first Up moved the focus";
  EXPECT_EQ(LinesStartingWith(run.out, "event Change").size(), 0u) << "no pick was made";
}

TEST(Session, AccessiblePrintsEveryPartTheFocusAndThePrompt) {
  const Outcome run = RunScript("set PutPosition \"" + kPawnOnA7 + R"("
click A7
click A8
accessible
choose 0
key Up
accessible
)");
  EXPECT_TRUE(run.ok) << run.err;
  const auto boards = LinesStartingWith(run.out, "board ");
  ASSERT_EQ(boards.size(), 2u);
  EXPECT_EQ(boards[0], R"(board table "Chess board" focusable)");
  const auto prompts = LinesStartingWith(run.out, "prompt ");
  EXPECT_EQ(prompts, std::vector<std::string>{R"(prompt "Promote To?")"});
  const auto parts = LinesStartingWith(run.out, "part ");
  ASSERT_EQ(parts.size(), 69u + 65u);
  EXPECT_EQ(parts[0], R"(part 1 cell "A1, empty" focusable)");
  EXPECT_EQ(parts[48], R"(part 49 cell "A7, white pawn, picked up" focusable selected)");
  EXPECT_EQ(parts[64], R"(part 65 text "new position" value "A7")");
  EXPECT_EQ(parts[65], R"(part 66 button "white queen" focusable focused)");
  EXPECT_EQ(parts[68], R"(part 69 button "white knight" focusable)");
  EXPECT_EQ(parts[69 + 56], R"(part 57 cell "A8, white queen" focusable focused)");
  EXPECT_EQ(parts[69 + 64],
            R"(part 65 text "white pawn A7 to A8, promoted to queen" value "A7-A8")");
  EXPECT_EQ(LinesStartingWith(run.out, "focus "),
            (std::vector<std::string>{"focus 66", "focus 57"}))
      << "Up from A8 stays at the edge";
}

}  // namespace
}  // namespace velmora::cli
