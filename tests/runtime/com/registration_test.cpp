// Self-registration through the system's regsvr32, as an installer does it: machine-wide, and
// per user through DllInstall. Each run covers the library of the program's own bitness.
#include <string>

#include "com_fixture.h"
#include "project_data.h"
#include "registry_snapshot.h"
#include "runtime/com/registration.h"

namespace velmora::testing {
namespace {

using RegistrationTest = LibraryTest;

constexpr bool k64Bit = sizeof(void*) == 8;
const ClassesView& kOwnMachine = k64Bit ? kMachine64 : kMachine32;
const ClassesView& kOwnUser = k64Bit ? kUser64 : kUser32;
const wchar_t* const kTarget = k64Bit ? L"win64" : L"win32";

const ClassesView& kOtherMachine = k64Bit ? kMachine32 : kMachine64;
const std::wstring kClassKey = L"CLSID\\" + com::GuidText(__uuidof(::UserControl1));
const std::wstring kTypeLibKey = L"TypeLib\\" + com::GuidText(LIBID_Project1);
const std::wstring kInterfaceKey = L"Interface\\" + com::GuidText(__uuidof(_UserControl1));
const std::wstring kEventInterfaceKey = L"Interface\\" + com::GuidText(__uuidof(__UserControl1));
const std::wstring kBoardKey = L"CLSID\\" + com::GuidText(__uuidof(::ChessBoard));
const std::wstring kBoardClassId = com::GuidText(__uuidof(::ChessBoard));

DWORD Regsvr32(const std::wstring& options) {
  return RunProgram(L"regsvr32 " + options + L" \"" + LibraryPath() + L"\"");
}

// The entries a registration writes under one view's classes, the library's own path filled in.
void ExpectRegistered(const ClassesView& view) {
  const std::wstring path = LibraryPath();
  const struct {
    std::wstring key;
    const wchar_t* name;
    std::wstring value;
  } expected[] = {
      {kClassKey, nullptr, L"Project1.UserControl1"},
      {kClassKey + L"\\ProgID", nullptr, L"Project1.UserControl1"},
      {kClassKey + L"\\InprocServer32", nullptr, path},
      {kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {kClassKey + L"\\Control", nullptr, L""},
      {kClassKey + L"\\ToolboxBitmap32", nullptr, path + L", 30000"},
      {kClassKey + L"\\MiscStatus", nullptr, L"131473"},
      {kClassKey + L"\\MiscStatus\\1", nullptr, L"131473"},
      {kClassKey + L"\\TypeLib", nullptr, com::GuidText(LIBID_Project1)},
      {kClassKey + L"\\Version", nullptr, L"1.1"},
      {L"Project1.UserControl1", nullptr, L"Project1.UserControl1"},
      {L"Project1.UserControl1\\CLSID", nullptr, com::GuidText(__uuidof(::UserControl1))},
      {kTypeLibKey + L"\\1.1", nullptr, L"Project1"},
      {kTypeLibKey + L"\\1.1\\409\\" + kTarget, nullptr, path},
      {kInterfaceKey, nullptr, L"_UserControl1"},
      {kInterfaceKey + L"\\TypeLib", nullptr, com::GuidText(LIBID_Project1)},
      {kEventInterfaceKey, nullptr, L"__UserControl1"},
      // The second class: the same entries, and its version-independent ProgID.
      {kBoardKey, nullptr, L"Velmora.ChessBoard.1"},
      {kBoardKey + L"\\ProgID", nullptr, L"Velmora.ChessBoard.1"},
      {kBoardKey + L"\\VersionIndependentProgID", nullptr, L"Velmora.ChessBoard"},
      {kBoardKey + L"\\InprocServer32", nullptr, path},
      {kBoardKey + L"\\Control", nullptr, L""},
      {kBoardKey + L"\\TypeLib", nullptr, com::GuidText(LIBID_Project1)},
      {kBoardKey + L"\\Version", nullptr, L"1.1"},
      {L"Velmora.ChessBoard.1\\CLSID", nullptr, kBoardClassId},
      {L"Velmora.ChessBoard\\CLSID", nullptr, kBoardClassId},
      {L"Velmora.ChessBoard\\CurVer", nullptr, L"Velmora.ChessBoard.1"},
      {L"Interface\\" + com::GuidText(__uuidof(_ChessBoard)), nullptr, L"_ChessBoard"},
      {L"Interface\\" + com::GuidText(__uuidof(__ChessBoard)), nullptr, L"__ChessBoard"},
  };
  for (const auto& entry : expected) {
    EXPECT_EQ(ValueOf(view, entry.key, entry.name), entry.value)
        << Narrow(view.name) << "\\" << Narrow(entry.key);
  }
}

TEST_F(RegistrationTest, RegistersTheClassItsProgIdAndTypeLibraryThenRemovesThem) {
  ASSERT_EQ(Regsvr32(L"/s"), 0u);
  ExpectRegistered(kOwnMachine);
  CLSID from_prog_id{};
  EXPECT_EQ(CLSIDFromProgID(L"Project1.UserControl1", &from_prog_id), S_OK);
  EXPECT_TRUE(IsEqualGUID(from_prog_id, __uuidof(::UserControl1)));
  EXPECT_EQ(Difference({}, Snapshot({kUser32, kUser64})), "") << "nothing per user";

  ASSERT_EQ(Regsvr32(L"/u /s"), 0u);
  EXPECT_EQ(Difference({}, Snapshot({kMachine32, kMachine64})), "");
}

TEST_F(RegistrationTest, PerUserRegistrationWritesOnlyTheUsersClassesThenRemovesThem) {
  const RegistrySnapshot machine_before = Snapshot({kMachine32, kMachine64});
  ASSERT_EQ(Regsvr32(L"/s /n /i:user"), 0u);
  ExpectRegistered(kOwnUser);
  EXPECT_EQ(Difference(machine_before, Snapshot({kMachine32, kMachine64})), "");

  ASSERT_EQ(Regsvr32(L"/s /u /n /i:user"), 0u);
  EXPECT_EQ(Difference({}, Snapshot({kUser32, kUser64})), "");
  EXPECT_EQ(Difference(machine_before, Snapshot({kMachine32, kMachine64})), "");
}

TEST_F(RegistrationTest, RemovingOneScopeLeavesTheOtherWhole) {
  ASSERT_EQ(Regsvr32(L"/s"), 0u);
  ASSERT_EQ(Regsvr32(L"/s /n /i:user"), 0u);
  const RegistrySnapshot machine = Snapshot({kMachine32, kMachine64});
  ASSERT_EQ(Regsvr32(L"/s /u /n /i:user"), 0u);
  EXPECT_EQ(Difference(machine, Snapshot({kMachine32, kMachine64})), "");
  EXPECT_EQ(Difference({}, Snapshot({kUser32, kUser64})), "");
  ASSERT_EQ(Regsvr32(L"/s /u"), 0u);
  EXPECT_EQ(Difference({}, Snapshot({kMachine32, kMachine64})), "");
}

TEST_F(RegistrationTest, UnregisteringWhatIsNotRegisteredSucceeds) {
  ASSERT_EQ(Regsvr32(L"/u /s"), 0u);
  ASSERT_EQ(Regsvr32(L"/u /s /n /i:user"), 0u);
  EXPECT_FALSE(HasKey(kOwnMachine, kClassKey));
  EXPECT_FALSE(HasKey(kOwnUser, kClassKey));
}

TEST_F(RegistrationTest, InstallTakesUserMachineOrNothingAndRefusesOtherScopes) {
  using Install = HRESULT(WINAPI*)(BOOL, LPCWSTR);
  const auto install =
      reinterpret_cast<Install>(reinterpret_cast<void (*)()>(Export("DllInstall")));
  ASSERT_NE(install, nullptr);
  for (const wchar_t* scope : {L"users", L"machines", L"all", L" user", L"HKCU"}) {
    EXPECT_EQ(install(TRUE, scope), E_INVALIDARG) << Narrow(scope);
    EXPECT_EQ(install(FALSE, scope), E_INVALIDARG) << Narrow(scope);
  }
  EXPECT_FALSE(HasKey(kOwnMachine, kClassKey));
  EXPECT_FALSE(HasKey(kOwnUser, kClassKey));
  const struct {
    const wchar_t* text;
    const ClassesView* registered;
  } scopes[] = {
      {L"user", &kOwnUser},    {L"USER", &kOwnUser},       {L"", &kOwnMachine},
      {nullptr, &kOwnMachine}, {L"machine", &kOwnMachine}, {L"Machine", &kOwnMachine},
  };
  for (const auto& scope : scopes) {
    const std::string name = scope.text ? Narrow(scope.text) : "(none)";
    ASSERT_EQ(install(TRUE, scope.text), S_OK) << name;
    EXPECT_EQ(ValueOf(*scope.registered, kClassKey + L"\\InprocServer32"), LibraryPath()) << name;
    ASSERT_EQ(install(FALSE, scope.text), S_OK) << name;
    EXPECT_FALSE(HasKey(*scope.registered, kClassKey)) << name;
  }
}

// Marks a class as registered by the other bitness's library, as far as unregistering looks.
void RegisterInOtherView(const com::ClassDescriptor& row) {
  const std::wstring key =
      L"Software\\Classes\\CLSID\\" + com::GuidText(row.class_id) + L"\\InprocServer32";
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                            KEY_WRITE | kOtherMachine.view, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(handle);
}

// Key by key: a tree deletion may not keep to the view the key was opened in.
void RemoveFromOtherView(const com::ClassDescriptor& row) {
  const std::wstring key = L"Software\\Classes\\CLSID\\" + com::GuidText(row.class_id);
  for (const std::wstring& leaf : {key + L"\\InprocServer32", key}) {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, leaf.c_str(), kOtherMachine.view, 0);
  }
}

// The library's two classes, unregistered while the other bitness still registers some of
// them: a class's ProgIDs stay while that bitness registers the class, the type library (all
// but this bitness's file) while it registers any.
TEST_F(RegistrationTest, SharedKeysStayPerClassAndPerTypeLibrary) {
  const auto& rows = ocx::kClasses;
  const com::LibraryDescriptor& library = ocx::kLibrary;
  ASSERT_EQ(std::size(rows), 2u);
  const std::wstring board_independent = rows[1].version_independent_prog_id;
  const std::wstring target = kTypeLibKey + L"\\1.1\\409\\" + kTarget;
  const struct {
    bool other_registers[2];
  } cases[] = {{{false, false}}, {{false, true}}, {{true, false}}, {{true, true}}};
  for (const auto& c : cases) {
    const std::string name =
        std::to_string(c.other_registers[0]) + "," + std::to_string(c.other_registers[1]);
    ASSERT_EQ(com::RegisterLibrary(library, LibraryPath(), com::Scope::kMachine), S_OK) << name;
    for (int i = 0; i < 2; ++i) {
      ASSERT_TRUE(HasKey(kOwnMachine, rows[i].prog_id)) << name;
      if (c.other_registers[i]) RegisterInOtherView(rows[i]);
    }
    ASSERT_EQ(com::UnregisterLibrary(library, LibraryPath(), com::Scope::kMachine), S_OK) << name;
    for (int i = 0; i < 2; ++i) {
      EXPECT_FALSE(HasKey(kOwnMachine, L"CLSID\\" + com::GuidText(rows[i].class_id))) << name;
      EXPECT_EQ(HasKey(kOwnMachine, rows[i].prog_id), c.other_registers[i]) << name << " " << i;
    }
    EXPECT_EQ(HasKey(kOwnMachine, board_independent), c.other_registers[1]) << name;
    const bool any = c.other_registers[0] || c.other_registers[1];
    EXPECT_EQ(HasKey(kOwnMachine, kTypeLibKey + L"\\1.1"), any) << name;
    EXPECT_EQ(HasKey(kOwnMachine, kInterfaceKey), any) << name;
    EXPECT_FALSE(HasKey(kOwnMachine, target)) << name;

    // The other bitness goes too: the last library out takes everything with it.
    for (const auto& row : rows) RemoveFromOtherView(row);
    ASSERT_EQ(com::RegisterLibrary(library, LibraryPath(), com::Scope::kMachine), S_OK) << name;
    ASSERT_EQ(com::UnregisterLibrary(library, LibraryPath(), com::Scope::kMachine), S_OK) << name;
    EXPECT_EQ(Difference({}, Snapshot({kMachine32, kMachine64})), "") << name;
    EXPECT_FALSE(HasKey(kOwnMachine, board_independent)) << name;
  }
}

TEST_F(RegistrationTest, RegisteredClassIsCreatedByProgId) {
  ASSERT_EQ(Regsvr32(L"/s"), 0u);
  {
    CLSID class_id{};
    ASSERT_EQ(CLSIDFromProgID(L"Project1.UserControl1", &class_id), S_OK);
    ComPtr<IDispatch> control;
    ASSERT_EQ(
        CoCreateInstance(class_id, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.PutVoid()),
        S_OK);
    EXPECT_EQ(GetText(control.get(), L"GetMove"), L"");
  }
  CoFreeUnusedLibraries();
  EXPECT_EQ(Regsvr32(L"/u /s"), 0u);
}

}  // namespace
}  // namespace velmora::testing
