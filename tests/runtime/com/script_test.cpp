// Scripts run by the system's script host drive the registered classes by their ProgIDs.
#include <sstream>
#include <string>
#include <vector>

#include "com_fixture.h"

namespace velmora::testing {
namespace {

using ScriptTest = RegisteredLibraryTest;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

TEST_F(ScriptTest, VbscriptPushesMovesAndReadsThemBack) {
  std::string output;
  // The script host exits 0 even when a script fails, so the printed lines decide.
  RunProgram(L"cscript //nologo \"" + BesideProgram(L"push_moves.vbs") + L"\"", &output);
  EXPECT_EQ(Lines(output), (std::vector<std::string>{"GetMove E2-E4", "GetMove E7-E5", "GetMove G1",
                                                     "PutMove **", "Enabled False", "done"}))
      << output;
}

TEST_F(ScriptTest, VbscriptDrivesEveryMemberOfChessBoardAndFindsNoneOnUserControl1) {
  std::string output;
  RunProgram(L"cscript //nologo \"" + BesideProgram(L"chess_board.vbs") + L"\"", &output);
  EXPECT_EQ(Lines(output),
            (std::vector<std::string>{
                "defaults True True 0 True 150 [][][][][]",
                "Fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
                "GetMove E2-E4",
                "GetMove G1",
                "Enabled False",
                "written False False False 1 2000",
                "from truths 0 0",
                "LegalMoves E2-E4 G1-F3 E7-E8",
                "LastMove E7-E5 CheckSquare E8 Marks Gd4 Re5 Gg1f3 UserMarks Ya1",
                "Fen rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR",
                // E_INVALIDARG, from the library, with the reason as the error's description.
                "LegalMoves refused 80070057 Project1 True",
                "Orientation refused 80070057 Project1 True",
                "AnimationTime refused 80070057 Project1 True",
                "Fen refused 80070057 Project1 True",
                "kept E2-E4 G1-F3 E7-E8 0 0",
                // "Object doesn't support this property or method"
                "UserControl1 DragEnabled error 438",
                "UserControl1 LegalMoves error 438",
                "UserControl1 GetMove E2-E4",
                "done",
            }))
      << output;
}

}  // namespace
}  // namespace velmora::testing
