// Both bitnesses on one machine: registered side by side, removed in either order, and installed,
// used and removed by the installer. The program runs 64-bit and is given the installer and the
// folders of both built libraries (each with its client):
//   velmora_install_tests.exe VelmoraSW.msi X86_FOLDER X64_FOLDER
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "com_fixture.h"
#include "registry_snapshot.h"
#include "runtime/com/registration.h"

namespace velmora::testing {
namespace {

struct Inputs {
  std::wstring installer;
  std::wstring folder[2];  // 0: the 32-bit library's, 1: the 64-bit one's; each ends in '\'
};
Inputs inputs;

enum Bitness { k32 = 0, k64 = 1 };
const char* const kBitnessName[] = {"32-bit", "64-bit"};

const std::wstring kClassKey = L"CLSID\\" + com::GuidText(__uuidof(::UserControl1));
const std::wstring kVersionKey = L"TypeLib\\" + com::GuidText(LIBID_Project1) + L"\\1.1";
const wchar_t* const kTargetKey[] = {L"\\409\\win32", L"\\409\\win64"};
const ClassesView* const kMachineView[] = {&kMachine32, &kMachine64};
const std::vector<ClassesView> kAllViews = {kMachine32, kMachine64, kUser32, kUser64};

std::wstring Library(Bitness bitness) {
  return inputs.folder[bitness] + L"VelmoraSW.ocx";
}

// regsvr32 of the library's own bitness.
DWORD Regsvr32(Bitness bitness, const std::wstring& options) {
  wchar_t system[MAX_PATH] = {};
  if (bitness == k32) {
    GetSystemWow64DirectoryW(system, MAX_PATH);
  } else {
    GetSystemDirectoryW(system, MAX_PATH);
  }
  return RunProgram(std::wstring(system) + L"\\regsvr32.exe " + options + L" \"" +
                    Library(bitness) + L"\"");
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

// The client of that bitness, from its build folder, creates the control by its ProgID.
bool ClientCreatesTheControl(Bitness bitness) {
  std::string output;
  RunProgram(L"\"" + inputs.folder[bitness] + L"velmora_client.exe\"", &output);
  const std::vector<std::string> expected = {"progid found", "create GetMove E2-E4",
                                             "chessboard GetMove E2-E4", "typelib Project1",
                                             "done"};
  const bool created = Lines(output) == expected;
  if (!created) std::printf("%s client said:\n%s", kBitnessName[bitness], output.c_str());
  return created;
}

std::string Left(const std::vector<ClassesView>& views) {
  return Difference({}, Snapshot(views));
}

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(inputs.installer.empty()) << "usage: program VelmoraSW.msi X86_DIR X64_DIR";
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_EQ(Left(kAllViews), "") << "the registry holds the control before the test";
  }
  void TearDown() override {
    for (const Bitness bitness : {k32, k64}) {
      Regsvr32(bitness, L"/u /s");
      Regsvr32(bitness, L"/u /s /n /i:user");
    }
    CoUninitialize();
  }
};

TEST_F(InstallTest, BothBitnessesRegisterSideBySideAndEitherGoesFirst) {
  for (const Bitness first : {k32, k64}) {
    const Bitness second = first == k32 ? k64 : k32;
    SCOPED_TRACE(kBitnessName[first]);
    ASSERT_EQ(Regsvr32(k64, L"/s"), 0u);
    ASSERT_EQ(Regsvr32(k32, L"/s"), 0u);
    for (const Bitness bitness : {k32, k64}) {
      EXPECT_EQ(ValueOf(*kMachineView[bitness], kClassKey + L"\\InprocServer32"), Library(bitness));
      EXPECT_EQ(ValueOf(kMachine64, kVersionKey + kTargetKey[bitness]), Library(bitness));
      EXPECT_TRUE(ClientCreatesTheControl(bitness));
    }

    ASSERT_EQ(Regsvr32(first, L"/u /s"), 0u);
    EXPECT_FALSE(HasKey(*kMachineView[first], kClassKey));
    EXPECT_FALSE(HasKey(kMachine64, kVersionKey + kTargetKey[first]));
    EXPECT_EQ(ValueOf(kMachine64, kVersionKey + kTargetKey[second]), Library(second));
    EXPECT_TRUE(ClientCreatesTheControl(second)) << "the other bitness lost its registration";

    ASSERT_EQ(Regsvr32(second, L"/u /s"), 0u);
    EXPECT_EQ(Left(kAllViews), "");
  }
}

// Where the installer puts each library: Program Files (x86 or not) \Velmora\x86 or \x64.
std::wstring InstalledFolder(Bitness bitness) {
  wchar_t base[MAX_PATH] = {};
  GetEnvironmentVariableW(bitness == k32 ? L"ProgramFiles(x86)" : L"ProgramW6432", base, MAX_PATH);
  return std::wstring(base) + (bitness == k32 ? L"\\Velmora\\x86\\" : L"\\Velmora\\x64\\");
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A key's empty default value and no default value read the same; the installer writes the
// latter.
RegistrySnapshot WithoutEmptyDefaults(RegistrySnapshot snapshot) {
  std::erase_if(snapshot, [](const auto& entry) {
    return entry.first.back() == L':' && entry.second.empty();
  });
  return snapshot;
}

// msiexec with an action (/i, /x), the installer, then properties.
DWORD Msiexec(const std::wstring& action, const std::wstring& properties = L"") {
  return RunProgram(L"msiexec " + action + L" \"" + inputs.installer + L"\" " + properties +
                    L" /qn");
}

TEST_F(InstallTest, InstallerRegistersWhatRegistrationWritesForTheMachineThenRemovesAll) {
  const Replacements built = {{inputs.folder[k32], L"<x86>\\"}, {inputs.folder[k64], L"<x64>\\"}};
  ASSERT_EQ(Regsvr32(k64, L"/s"), 0u);
  ASSERT_EQ(Regsvr32(k32, L"/s"), 0u);
  const RegistrySnapshot registered = WithoutEmptyDefaults(Snapshot(kAllViews, built));
  ASSERT_EQ(Regsvr32(k32, L"/u /s"), 0u);
  ASSERT_EQ(Regsvr32(k64, L"/u /s"), 0u);

  ASSERT_EQ(Msiexec(L"/i", L"ALLUSERS=1"), 0u);
  const Replacements installed = {{InstalledFolder(k32), L"<x86>\\"},
                                  {InstalledFolder(k64), L"<x64>\\"}};
  EXPECT_EQ(Difference(registered, WithoutEmptyDefaults(Snapshot(kAllViews, installed))), "");
  for (const Bitness bitness : {k32, k64}) {
    EXPECT_TRUE(FileExists(InstalledFolder(bitness) + L"VelmoraSW.ocx")) << kBitnessName[bitness];
    EXPECT_TRUE(FileExists(InstalledFolder(bitness) + L"VelmoraSW.manifest"));
    EXPECT_TRUE(ClientCreatesTheControl(bitness));
  }
  EXPECT_TRUE(FileExists(InstalledFolder(k64) + L"README.md"));

  ASSERT_EQ(Msiexec(L"/x"), 0u);
  EXPECT_EQ(Left(kAllViews), "");
  for (const Bitness bitness : {k32, k64}) {
    EXPECT_FALSE(FileExists(InstalledFolder(bitness) + L"VelmoraSW.ocx")) << kBitnessName[bitness];
    EXPECT_FALSE(FileExists(InstalledFolder(bitness))) << kBitnessName[bitness];
  }
}

TEST_F(InstallTest, PerUserInstallationRegistersOnlyUnderTheUsersClasses) {
  ASSERT_EQ(Msiexec(L"/i", L"ALLUSERS=\"\""), 0u);
  EXPECT_EQ(Left({kMachine32, kMachine64}), "");
  // Wine keeps one view of the user's classes, so the class names one library or the other.
  const std::wstring library = ValueOf(kUser64, kClassKey + L"\\InprocServer32");
  EXPECT_TRUE(FileExists(library)) << Narrow(library);
  for (const Bitness bitness : {k32, k64}) {
    const std::wstring file = ValueOf(kUser64, kVersionKey + kTargetKey[bitness]);
    EXPECT_TRUE(FileExists(file)) << Narrow(file);
  }
  EXPECT_EQ(ValueOf(kUser64, L"Project1.UserControl1\\CLSID"),
            com::GuidText(__uuidof(::UserControl1)));
  for (const std::wstring prog_id : {L"Velmora.ChessBoard.1", L"Velmora.ChessBoard"}) {
    EXPECT_EQ(ValueOf(kUser64, prog_id + L"\\CLSID"), com::GuidText(__uuidof(::ChessBoard)));
  }
  // Wine's installer removes in the context the command line names, not the one installed.
  ASSERT_EQ(Msiexec(L"/x", L"ALLUSERS=\"\""), 0u);
  EXPECT_EQ(Left(kAllViews), "");
}

}  // namespace
}  // namespace velmora::testing

int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Folders are given as they come; each gets its closing separator.
  if (argc == 4) {
    velmora::testing::inputs.installer = argv[1];
    for (int i = 0; i < 2; ++i) {
      std::wstring folder = argv[2 + i];
      if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
      velmora::testing::inputs.folder[i] = folder;
    }
  }
  const int result = RUN_ALL_TESTS();
  const ::testing::UnitTest& run = *::testing::UnitTest::GetInstance();
  std::printf("VELMORA-INSTALL-TESTS: %s %d of %d\n", result == 0 ? "PASSED" : "FAILED",
              result == 0 ? run.successful_test_count() : run.failed_test_count(),
              run.test_to_run_count());
  return result;
}
