// The command-line host's ChessBoard lines: the later members, drags, pointer points, BeforeMove,
// AfterMove.
#include <gtest/gtest.h>

#include <sstream>

#include "products/cli/script.h"
#include "products/cli/session.h"

namespace velmora::cli {
namespace {

Operation Parsed(std::string_view line) {
  const ParsedLine parsed = ParseLine(line);
  EXPECT_TRUE(std::holds_alternative<Operation>(parsed)) << line;
  return std::get<Operation>(parsed);
}

TEST(ChessBoardLine, DragsPointsRepliesAndValuesOfEachKind) {
  const auto drag = std::get<DragOp>(Parsed("drag E2 e4"));
  EXPECT_EQ(drag.from, 13);
  EXPECT_EQ(drag.to, std::optional<std::int16_t>(29));
  EXPECT_FALSE(std::get<DragOp>(Parsed("drag G1 off")).to);
  const auto move = std::get<PointerOp>(Parsed("move 10 -3"));
  EXPECT_EQ(move.kind, PointerOp::Kind::kMove);
  EXPECT_EQ(move.x, 10);
  EXPECT_EQ(move.y, -3);
  EXPECT_EQ(std::get<PointerOp>(Parsed("release 1 2")).kind, PointerOp::Kind::kRelease);
  EXPECT_EQ(std::get<ReplyOp>(Parsed("reply Cancel True")).value, 1.0);
  EXPECT_EQ(std::get<ReplyOp>(Parsed("reply Cancel False")).value, 0.0);
  EXPECT_EQ(std::get<std::int32_t>(std::get<SetOp>(Parsed("set AnimationTime 300")).value), 300);
  EXPECT_FALSE(std::get<bool>(std::get<SetOp>(Parsed("set ShowLegalMoves False")).value));
  EXPECT_EQ(std::get<std::u16string>(std::get<SetOp>(Parsed("set LegalMoves \"e2e4 g1f3\"")).value),
            u"e2e4 g1f3");
}

TEST(ChessBoardLine, RightButtonMarksAndWaits) {
  const auto circle = std::get<RightOp>(Parsed("rclick d5 Shift"));
  EXPECT_EQ(circle.from, 36);
  EXPECT_EQ(circle.to, std::optional<std::int16_t>(36));
  EXPECT_EQ(circle.shift, 1);
  const auto arrow = std::get<RightOp>(Parsed("rdrag G1 F3 Alt"));
  EXPECT_EQ(arrow.to, std::optional<std::int16_t>(22));
  EXPECT_EQ(arrow.shift, 4);
  EXPECT_FALSE(std::get<RightOp>(Parsed("rdrag G1 off")).to);
  EXPECT_EQ(std::get<WaitOp>(Parsed("wait 75")).ms, 75);
}

TEST(ChessBoardLine, MalformedLinesSayWhy) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"drag E2", "takes 2 arguments"},        {"drag E2 X9", "a square or off"},
      {"press 1 a", "two whole numbers"},      {"reply Cancel maybe", "True, False or off"},
      {"set Orientation one", "whole number"}, {"set DragEnabled 1", "True or False"},
      {"rclick E9", "takes a square"},         {"rclick E4 Meta", "Shift, Ctrl or Alt"},
      {"rdrag E2", "takes 2 to 3 arguments"},  {"wait -1", "milliseconds"},
      {"wait 60001", "milliseconds"},          {"set LightSquareColor \"#12345\"", "#rrggbb"},
      {"drag spare:13 E4", "a square or off"}, {"paste", "takes 1 argument"},
  };
  for (const auto& [line, says] : cases) {
    const ParsedLine parsed = ParseLine(line);
    const auto* error = std::get_if<ParseError>(&parsed);
    ASSERT_NE(error, nullptr) << line;
    EXPECT_NE(error->what.find(says), std::string::npos) << error->what;
  }
}

struct Outcome {
  bool ok;
  std::string out;
  std::string err;
};

Outcome RunOn(const std::string& script, ControlClass control_class = ControlClass::kChessBoard) {
  std::vector<std::string> lines;
  std::istringstream in(script);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::ostringstream out, err;
  Session session(out, err, control_class);
  const bool ok = session.Run(lines, false);
  return {ok, out.str(), err.str()};
}

TEST(ChessBoardSession, RefusalsPrintAndChangeNothing) {
  const Outcome run = RunOn(R"(set LegalMoves "e2e4 E7_E5"
get LegalMoves
set Orientation 3
get Orientation
set LegalMoves "e2e4 g1f3"
get LegalMoves
)");
  EXPECT_TRUE(run.ok) << run.err;
  EXPECT_EQ(run.out,
            "refused LegalMoves: \"E7_E5\" is not a move: write E2-E4, E4xD5 or e2e4, separated "
            "by spaces\n"
            "LegalMoves = \"\"\n"
            "refused Orientation: must lie from 0 to 1\n"
            "Orientation = 0\n"
            "notice LegalMoves\n"
            "LegalMoves = \"E2-E4 G1-F3\"\n");
}

TEST(ChessBoardSession, ColoursReadAsTheirRgbText) {
  const Outcome run = RunOn(R"(set LightSquareColor "#10a0Ff"
get LightSquareColor
expect DarkSquareColor "#b58863"
set DarkSquareColor -2147483643
)");
  EXPECT_TRUE(run.ok) << run.err;
  EXPECT_EQ(run.out,
            "notice LightSquareColor\nLightSquareColor = \"#10a0ff\"\n"
            "refused DarkSquareColor: takes an RGB colour, &HBBGGRR from 0 to &HFFFFFF, not a "
            "system colour\n");
}

TEST(ChessBoardSession, ADragAndAVetoedMove) {
  const Outcome run = RunOn(R"(drag G1 F3
expect GetMove G1-F3
reply Cancel True
drag E2 E4
expect GetMove E2
drag E2 off
expect GetMove E2
)");
  EXPECT_TRUE(run.ok) << run.err;
  EXPECT_NE(run.out.find("event AfterMove FromSquare=\"G1\" ToSquare=\"F3\" Promotion=\"\"\n"),
            std::string::npos);
  EXPECT_NE(run.out.find("event BeforeMove FromSquare=\"E2\" ToSquare=\"E4\" Promotion=\"\" "
                         "Cancel=False\nanswer Cancel=True\n"),
            std::string::npos)
      << run.out;
}

TEST(ChessBoardSession, PointerPointsPastFourPixelsDrag) {
  // E2's picture is the square at column 5, row 2 of the board drawn at 96 dots per inch.
  const PixelGrid grid(DeviceScale::Times(1));
  const PixelBox e2 = grid.BoxOf(*FindControl({ControlName::kSquarePicture, 13}));
  const PixelBox e4 = grid.BoxOf(*FindControl({ControlName::kSquarePicture, 29}));
  const auto at = [](const PixelBox& box, int dx) {
    return std::to_string(box.left + 10 + dx) + " " + std::to_string(box.top + 10);
  };
  const Outcome run =
      RunOn("press " + at(e2, 0) + "\nmove " + at(e2, 4) + "\nrelease " + at(e2, 4) +
            "\nexpect GetMove E2\nclick E2\npress " + at(e2, 0) + "\nmove " + at(e2, 5) +
            "\nmove " + at(e4, 0) + "\nrelease " + at(e4, 0) + "\nexpect GetMove E2-E4\n");
  EXPECT_TRUE(run.ok) << run.err << run.out;
}

// The view members through script lines: a turned board takes presses and drags where it
// draws its squares, moves set the last move and end the check, a position record clears both.
TEST(ChessBoardSession, TurnedBoardLastMoveCheckAndRecord) {
  const Outcome run = RunOn(R"(set Orientation 1
press 40 40
release 40 40
expect GetMove H1
click H1
drag E7 E5
expect LastMove E7-E5
set CheckSquare e1
expect CheckSquare E1
set PutMove D2-D4
expect LastMove D2-D4
expect CheckSquare ""
set Fen "4k3/8/8/8/8/8/8/4K3 b - - 0 1"
expect LastMove ""
get Fen
)");
  EXPECT_TRUE(run.ok) << run.err << run.out;
  EXPECT_NE(run.out.find("announce \"white king on E1 in check\"\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Fen = \"4k3/8/8/8/8/8/8/4K3\"\n"), std::string::npos) << run.out;
}

TEST(ChessBoardSession, MarksByTheRightButtonPrintMarksChanged) {
  const Outcome run = RunOn(R"(rclick D5 Ctrl
rdrag G1 F3
rdrag G1 off
expect UserMarks "Yd5 Gg1f3"
click A3
expect UserMarks "Yd5 Gg1f3"
)");
  EXPECT_TRUE(run.ok) << run.err;
  EXPECT_EQ(run.out,
            "announce \"D5 marked yellow\"\n"
            "event MarksChanged\n"
            "announce \"arrow G1 to F3, green\"\n"
            "event MarksChanged\n"
            "event MouseMove Button=2 Shift=0 X=-14.4 Y=-14.4\n"
            "event MouseUp Button=2 Shift=0 X=-14.4 Y=-14.4\n")
      << "released off the board, the right button is the surface's; a square's click is "
         "no pointer's and clears nothing";
  // A left press and release on A3's middle (device pixels at 96 dpi) clears them.
  const Outcome cleared = RunOn("rclick D5\npress 25 275\nrelease 25 275\n");
  EXPECT_NE(cleared.out.find("announce \"marks cleared\"\nevent MarksChanged\n"), std::string::npos)
      << cleared.out;
}

TEST(ChessBoardSession, WaitMovesTheClockAndSlidingPiecesWithIt) {
  const auto slides = [](const std::string& script) {
    std::ostringstream out, err;
    Session session(out, err, ControlClass::kChessBoard);
    std::vector<std::string> lines;
    std::istringstream in(script);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    EXPECT_TRUE(session.Run(lines, false)) << err.str();
    std::vector<SlidingPiece> pieces;
    for (const auto& slide : session.control().surface().Sliding()) {
      if (slide) pieces.push_back(*slide);
    }
    return pieces;
  };
  const Rect e3 = SurfaceRect(*FindControl({ControlName::kSquarePicture, 21}));
  EXPECT_EQ(slides("set PutMove E2-E4\nwait 75\n"),
            (std::vector<SlidingPiece>{{Picture::kWhitePawn, 29, e3.left, e3.top}}));
  EXPECT_TRUE(slides("set PutMove E2-E4\nwait 150\n").empty());
  EXPECT_TRUE(slides("set AnimationTime 0\nset PutMove E2-E4\n").empty());
}

// Edit mode's lines: a spare piece dragged from its place, a board piece dragged off, a letter
// key on the focus square (A1), the clipboard copied and pasted, good and bad.
TEST(ChessBoardSession, EditModeDragsKeysCopyAndPaste) {
  const Outcome run = RunOn(R"(set EditMode True
drag spare:7 E4
drag E2 off
key Shift+N
expect Fen "rnbqkbnr/pppppppp/8/8/4Q3/8/PPPP1PPP/nNBQKBNR"
copy
paste "4k3/8/8/8/8/8/8/4K3 w - - 0 1"
paste hello
expect Fen "4k3/8/8/8/8/8/8/4K3"
)");
  EXPECT_TRUE(run.ok) << run.err;
  EXPECT_EQ(run.out,
            "notice EditMode\n"
            "announce \"white queen put on E4\"\nevent PositionEdited\n"
            "announce \"E2 emptied\"\nevent PositionEdited\n"
            "event KeyDown KeyCode=78 Shift=1\n"
            "announce \"black knight put on A1\"\nevent PositionEdited\n"
            "event KeyPress KeyAscii=78\nevent KeyUp KeyCode=78 Shift=1\n"
            "event KeyDown KeyCode=67 Shift=2\nevent KeyPress KeyAscii=3\n"
            "event KeyUp KeyCode=67 Shift=2\n"
            "copied \"rnbqkbnr/pppppppp/8/8/4Q3/8/PPPP1PPP/nNBQKBNR w Kkq - 0 1\"\n"
            "event KeyDown KeyCode=86 Shift=2\n"
            "announce \"position pasted\"\nevent PositionEdited\n"
            "event KeyPress KeyAscii=22\nevent KeyUp KeyCode=86 Shift=2\n"
            "event KeyDown KeyCode=86 Shift=2\n"
            "announce \"position not pasted: the clipboard holds no position record\"\n"
            "event KeyPress KeyAscii=22\nevent KeyUp KeyCode=86 Shift=2\n");
  EXPECT_EQ(RunOn("copy\n").out,
            "event KeyDown KeyCode=67 Shift=2\nevent KeyPress KeyAscii=3\n"
            "event KeyUp KeyCode=67 Shift=2\ncopied nothing\n")
      << "out of edit mode Ctrl+C is the host's key";
}

TEST(ChessBoardSession, AUserControl1HasNoLaterMembers) {
  const Outcome set = RunOn("set LegalMoves E2-E4\n", ControlClass::kUserControl1);
  EXPECT_TRUE(set.ok);
  EXPECT_EQ(set.out, "refused UserControl1 has no member LegalMoves\n");
  const Outcome get = RunOn("get Fen\n", ControlClass::kUserControl1);
  EXPECT_FALSE(get.ok);
  EXPECT_EQ(get.err, "line 1: UserControl1 has no member Fen\n");
}

}  // namespace
}  // namespace velmora::cli
