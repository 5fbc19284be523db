// Self-registration through the system's regsvr32, as an installer does it.
#include <string>

#include "com_fixture.h"
#include "runtime/com/registration.h"

namespace velmora::testing {
namespace {

using RegistrationTest = LibraryTest;

// The value of a key under HKEY_CLASSES_ROOT, or nothing when the key is missing.
std::optional<std::wstring> Value(const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(data);
}

bool KeyExists(const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(handle);
  return true;
}

const std::wstring kClassKey = L"CLSID\\" + com::GuidText(__uuidof(::UserControl1));
const std::wstring kTypeLibKey = L"TypeLib\\" + com::GuidText(LIBID_Project1);
const std::wstring kInterfaceKey = L"Interface\\" + com::GuidText(__uuidof(_UserControl1));

DWORD Regsvr32(const std::wstring& options) {
  return RunProgram(L"regsvr32 " + options + L" \"" + LibraryPath() + L"\"");
}

TEST_F(RegistrationTest, RegistersTheClassItsProgIdAndTypeLibraryThenRemovesThem) {
  ASSERT_EQ(Regsvr32(L"/s"), 0u);

  const std::wstring path = LibraryPath();
  const struct {
    std::wstring key;
    const wchar_t* name;
    std::wstring value;
  } expected[] = {
      {kClassKey + L"\\ProgID", nullptr, L"Project1.UserControl1"},
      {kClassKey + L"\\InprocServer32", nullptr, path},
      {kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {kClassKey + L"\\Control", nullptr, L""},
      {kClassKey + L"\\ToolboxBitmap32", nullptr, path + L", 30000"},
      {kClassKey + L"\\MiscStatus", nullptr, L"131473"},
      {kClassKey + L"\\TypeLib", nullptr, com::GuidText(LIBID_Project1)},
      {kClassKey + L"\\Version", nullptr, L"1.0"},
      {L"Project1.UserControl1\\CLSID", nullptr, com::GuidText(__uuidof(::UserControl1))},
      {kTypeLibKey + L"\\1.0", nullptr, L"Project1"},
      {kTypeLibKey + L"\\1.0\\409\\win32", nullptr, path},
  };
  for (const auto& entry : expected) {
    EXPECT_EQ(Value(entry.key, entry.name), entry.value)
        << std::string(entry.key.begin(), entry.key.end());
  }
  EXPECT_TRUE(KeyExists(kInterfaceKey));

  CLSID from_prog_id{};
  EXPECT_EQ(CLSIDFromProgID(L"Project1.UserControl1", &from_prog_id), S_OK);
  EXPECT_TRUE(IsEqualGUID(from_prog_id, __uuidof(::UserControl1)));

  ASSERT_EQ(Regsvr32(L"/u /s"), 0u);
  for (const auto& key :
       {kClassKey, std::wstring(L"Project1.UserControl1"), kTypeLibKey, kInterfaceKey}) {
    EXPECT_FALSE(KeyExists(key)) << std::string(key.begin(), key.end());
  }
}

TEST_F(RegistrationTest, UnregisteringWhatIsNotRegisteredSucceeds) {
  ASSERT_EQ(Regsvr32(L"/u /s"), 0u);
  EXPECT_FALSE(KeyExists(kClassKey));
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
