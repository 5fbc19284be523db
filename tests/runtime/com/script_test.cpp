// A script run by the system's script host drives the registered control by its ProgID.
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

}  // namespace
}  // namespace velmora::testing
