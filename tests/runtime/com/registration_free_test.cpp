// Registration-free use: a host program whose manifest names the library's assembly finds,
// creates, drives and hosts the control with nothing in the registry, from a folder holding
// the program, the library and the library's manifest.
#include <sstream>
#include <string>
#include <vector>

#include "com_fixture.h"
#include "registry_snapshot.h"

namespace velmora::testing {
namespace {

const wchar_t* const kArchitecture = sizeof(void*) == 8 ? L"amd64" : L"x86";

// A host application's own manifest: it depends on the library's assembly.
std::string HostManifest(const std::string& architecture) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
         "  <assemblyIdentity type=\"win32\" name=\"Velmora.Client\" version=\"1.0.0.0\" "
         "processorArchitecture=\"" +
         architecture +
         "\"/>\r\n"
         "  <dependency><dependentAssembly>\r\n"
         "    <assemblyIdentity type=\"win32\" name=\"VelmoraSW\" version=\"1.0.0.0\" "
         "processorArchitecture=\"" +
         architecture +
         "\"/>\r\n"
         "  </dependentAssembly></dependency>\r\n"
         "</assembly>\r\n";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

class RegistrationFreeTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    ASSERT_EQ(RunProgram(L"regsvr32 /u /s \"" + LibraryPath() + L"\""), 0u);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"velmora-unregistered-" + kArchitecture + L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    for (const wchar_t* file : {L"velmora_client.exe", L"VelmoraSW.ocx", L"VelmoraSW.manifest"}) {
      ASSERT_TRUE(CopyFileW(BesideProgram(file).c_str(), (folder_ + file).c_str(), FALSE))
          << Narrow(file);
    }
  }
  void TearDown() override {
    for (const wchar_t* file : {L"velmora_client.exe", L"velmora_client.exe.manifest",
                                L"VelmoraSW.ocx", L"VelmoraSW.manifest"}) {
      DeleteFileW((folder_ + file).c_str());
    }
    RemoveDirectoryW(folder_.c_str());
    LibraryTest::TearDown();
  }

  void WriteHostManifest(const std::string& architecture) {
    const std::string text = HostManifest(architecture);
    const HANDLE file = CreateFileW((folder_ + L"velmora_client.exe.manifest").c_str(),
                                    GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, text.size());
  }

  std::vector<std::string> RunClient() {
    std::string output;
    RunProgram(L"\"" + folder_ + L"velmora_client.exe\" host", &output);
    return Lines(output);
  }

  std::wstring folder_;
};

TEST_F(RegistrationFreeTest, HostWithTheManifestFindsCreatesDrivesAndHostsTheControl) {
  ASSERT_EQ(Difference({}, Snapshot({kMachine32, kMachine64, kUser32, kUser64})), "");
  WriteHostManifest(Narrow(kArchitecture));
  EXPECT_EQ(RunClient(), (std::vector<std::string>{"progid found", "create GetMove E2-E4",
                                                   "chessboard GetMove E2-E4", "typelib Project1",
                                                   "host GetMove G1-F3", "done"}));
  EXPECT_EQ(Difference({}, Snapshot({kMachine32, kMachine64, kUser32, kUser64})), "");
}

TEST_F(RegistrationFreeTest, HostWithoutTheManifestFindsNothing) {
  const auto lines = RunClient();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "progid missing");
  EXPECT_EQ(lines[1].rfind("create failed", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2], "chessboard missing");
  EXPECT_EQ(lines[3], "typelib missing");
}

}  // namespace
}  // namespace velmora::testing
