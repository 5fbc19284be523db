// Numbers a container saved, as the library on Windows reads them: written out exactly as the
// core writes them on every platform, and read back from texts by the same rules.
#include <clocale>
#include <string>

#include "com_fixture.h"
#include "registry_snapshot.h"

namespace velmora::testing {
namespace {

using NumberTextTest = LibraryTest;

VARIANT Double(double value) {
  VARIANT variant;
  VariantInit(&variant);
  V_VT(&variant) = VT_R8;
  V_R8(&variant) = value;
  return variant;
}

HRESULT LoadFrom(IDispatch* control, MemoryPropertyBag* bag) {
  return ComPtr<IDispatch>(control).As<IPersistPropertyBag>()->Load(bag, nullptr);
}

TEST_F(NumberTextTest, SavedNumbersReadAsTheirShortestTexts) {
  const struct {
    double number;
    const wchar_t* text;
  } cases[] = {
      {12.5, L"12.5"},
      {-0.0, L"-0"},
      {0.1, L"0.1"},
      {0.001, L"0.001"},
      {0.0001, L"1e-04"},
      {1234567, L"1234567"},
      {1e21, L"1e+21"},
      {123456789012345680000.0, L"123456789012345683968"},
      {1.0 / 3, L"0.3333333333333333"},
      {5e-324, L"5e-324"},
      {1.7976931348623157e308, L"1.7976931348623157e+308"},
  };
  for (const auto& c : cases) {
    const ComPtr<IDispatch> control = CreateControl();
    const auto bag = com::MakeObject<MemoryPropertyBag>();
    bag->Set(L"GetMove", Double(c.number));
    ASSERT_EQ(LoadFrom(control.get(), bag.get()), S_OK);
    EXPECT_EQ(GetText(control.get(), L"GetMove"), c.text);
  }
}

constexpr auto kTypeMismatch = static_cast<HRESULT>(0x800A000D);

TEST_F(NumberTextTest, SavedTextsReadAsTruthValuesByTheirNumbers) {
  const struct {
    const wchar_t* text;
    HRESULT load;
    bool enabled;
  } cases[] = {
      {L" 2.5 ", S_OK, true},
      {L"0.0", S_OK, false},
      {L"+1e-320", S_OK, true},
      {L"-0", S_OK, false},
      {L"inf", S_OK, true},
      {L"1e-400", kTypeMismatch, true},
      {L"1e400", kTypeMismatch, true},
      {L"1,5", kTypeMismatch, true},
      {L"0x10", kTypeMismatch, true},
      {L"1e", kTypeMismatch, true},
      {L"nan", kTypeMismatch, true},
  };
  for (const auto& c : cases) {
    const ComPtr<IDispatch> control = CreateControl();
    const auto bag = com::MakeObject<MemoryPropertyBag>();
    VARIANT text = TextVariant(c.text);
    bag->Set(L"Enabled", text);
    VariantClear(&text);
    EXPECT_EQ(LoadFrom(control.get(), bag.get()), c.load) << Narrow(c.text);
    EXPECT_EQ(GetTruth(control.get(), L"Enabled"), c.enabled) << Narrow(c.text);
  }
}

// A host may switch the C library's numbers to a decimal comma; saved texts keep the point.
TEST_F(NumberTextTest, HostsLocaleLeavesTheDecimalPoint) {
  ASSERT_NE(std::setlocale(LC_NUMERIC, "German_Germany.1252"), nullptr);
  const ComPtr<IDispatch> control = CreateControl();
  const auto bag = com::MakeObject<MemoryPropertyBag>();
  bag->Set(L"GetMove", Double(12.5));
  VARIANT text = TextVariant(L"0.5");
  bag->Set(L"Enabled", text);
  VariantClear(&text);
  const HRESULT loaded = LoadFrom(control.get(), bag.get());
  std::setlocale(LC_NUMERIC, "C");
  ASSERT_EQ(loaded, S_OK);
  EXPECT_EQ(GetText(control.get(), L"GetMove"), L"12.5");
  EXPECT_TRUE(GetTruth(control.get(), L"Enabled"));
}

}  // namespace
}  // namespace velmora::testing
