#include "control/property_bag.h"

#include <gtest/gtest.h>

#include <limits>

#include "board/failure.h"

namespace velmora {
namespace {

TEST(PropertyValueTest, ToText) {
  EXPECT_EQ(ToText(std::u16string(u"E2-E4")), u"E2-E4");
  EXPECT_EQ(ToText(true), u"True");
  EXPECT_EQ(ToText(false), u"False");
  EXPECT_EQ(ToText(5.0), u"5");
  EXPECT_EQ(ToText(-0.25), u"-0.25");
  EXPECT_THROW(ToText(std::monostate{}), Failure);
  EXPECT_THROW(ToText(std::numeric_limits<double>::infinity()), Failure);
}

TEST(PropertyValueTest, ToTruth) {
  struct Case {
    PropertyValue value;
    bool expected;
  };
  const Case good[] = {
      {true, true},
      {false, false},
      {-1.0, true},
      {0.0, false},
      {0.5, true},
      {std::u16string(u"True"), true},
      {std::u16string(u"fALSE"), false},
      {std::u16string(u"-1"), true},
      {std::u16string(u" 0 "), false},
      {std::u16string(u"2.5"), true},
  };
  for (const Case& c : good) EXPECT_EQ(ToTruth(c.value), c.expected);
  for (const PropertyValue& bad :
       {PropertyValue{}, PropertyValue{std::u16string()}, PropertyValue{std::u16string(u"yes")},
        PropertyValue{std::u16string(u"1x")}, PropertyValue{std::u16string(u"Tru\u00e9")},
        PropertyValue{std::numeric_limits<double>::quiet_NaN()}}) {
    try {
      ToTruth(bad);
      ADD_FAILURE() << "converted";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.code(), Failure::kTypeMismatch);
    }
  }
}

TEST(PropertyValueTest, ToNumber) {
  EXPECT_EQ(ToNumber(150.0), 150.0);
  EXPECT_EQ(ToNumber(true), -1.0);
  EXPECT_EQ(ToNumber(false), 0.0);
  EXPECT_EQ(ToNumber(std::u16string(u" 1 ")), 1.0);
  for (const PropertyValue& bad : {PropertyValue{}, PropertyValue{std::u16string(u"one")}}) {
    EXPECT_THROW(ToNumber(bad), Failure);
  }
}

}  // namespace
}  // namespace velmora
