#include "platform/core/variant.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TDateTime date(int y, int m, int d) { return *TryEncodeDate(y, m, d); }

TEST(VariantTest, OrdersAcrossKinds) {
  struct Case {
    Variant a, b;
    int expected;
    const char* why;
  };
  const std::vector<Case> cases = {
      {Variant(), Variant::Null(), -1, "empty sorts before null"},
      {Variant::Null(), Variant(0), -1, "null sorts before every value"},
      {Variant::Null(), Variant::Null(), 0, "two nulls are equal"},
      {Variant(2), Variant(10), -1, "integers numerically"},
      {Variant::Smallint(7), Variant(int64_t(7)), 0, "integer kinds meet"},
      {Variant(2.5), Variant(2), 1, "float against integer"},
      {Variant::CurrencyScaled(25000), Variant(2.5), 0, "currency against float"},
      {Variant::CurrencyScaled(10001), Variant(1), 1, "currency against integer, exactly"},
      {Variant(false), Variant(true), -1, "booleans as integers"},
      {Variant("B"), Variant("a"), -1, "strings case-sensitively by code"},
      {Variant("AB"), Variant("ABC"), -1, "a prefix sorts first"},
      {Variant("É"), Variant("Z"), 1, "UTF-8 bytes follow code points"},
      {Variant("10"), Variant(9), 1, "a numeric string meets a number numerically"},
      {Variant::Date(date(2020, 1, 2)), Variant::Date(date(2019, 12, 31)), 1, "dates chronologically"},
      {Variant::Date(date(2020, 1, 2)), Variant("2020-01-02"), 0, "a date string meets a date"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VarCompare(c.a, c.b), c.expected) << c.why;
    EXPECT_EQ(VarCompare(c.b, c.a), -c.expected) << c.why << " (reversed)";
  }
}

TEST(VariantTest, IncomparableValuesRaiseOrCountAsLess) {
  EXPECT_THROW(VarCompare(Variant("abc"), Variant(1)), EVariantError);
  EXPECT_THROW(VarCompare(Variant::Date(1.0), Variant("not a date")), EVariantError);
  EXPECT_EQ(VarCompareOrLess(Variant("abc"), Variant(1)), -1);
  EXPECT_FALSE(Variant("abc") == Variant(1));  // equality never raises
  EXPECT_THROW((void)(Variant("abc") < Variant(1)), EVariantError);
}

TEST(VariantTest, TextForms) {
  struct Case {
    Variant v;
    const char* text;
  };
  const std::vector<Case> cases = {
      {Variant(), ""},
      {Variant::Null(), ""},
      {Variant(-42), "-42"},
      {Variant(true), "True"},
      {Variant(0.1), "0.1"},
      {Variant(1.0 / 3.0), "0.333333333333333"},
      {Variant(1e20), "1E20"},
      {Variant(2.5e-7), "2.5E-7"},
      {Variant::CurrencyScaled(-5000), "-0.5"},
      {Variant::CurrencyScaled(123456), "12.3456"},
      {Variant::CurrencyScaled(120000), "12"},
      {Variant::Date(date(2024, 2, 29)), "2024-02-29"},
      {Variant::Date(date(2024, 2, 29) + 0.75), "2024-02-29 18:00:00"},
      {Variant::Date(0.5), "12:00:00"},
      {Variant("文本"), "文本"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.v.AsString(), c.text) << VarTypeName(c.v.VarType());
}

TEST(VariantTest, Conversions) {
  EXPECT_EQ(Variant(" 12 ").AsInteger(), 12);
  EXPECT_EQ(Variant(2.5).AsInt64(), 2);  // half to even
  EXPECT_EQ(Variant(3.5).AsInt64(), 4);
  EXPECT_DOUBLE_EQ(Variant("-3.25").AsDouble(), -3.25);
  EXPECT_TRUE(Variant("true").AsBoolean());
  EXPECT_FALSE(Variant("0").AsBoolean());
  EXPECT_DOUBLE_EQ(Variant("1/2/2020").AsDate(), date(2020, 1, 2));
  EXPECT_THROW(Variant::Null().AsInteger(), EVariantError);
  EXPECT_THROW(Variant("x").AsDouble(), EVariantError);
  EXPECT_THROW(Variant(int64_t(1) << 40).AsInteger(), EVariantError);

  EXPECT_EQ(Variant("7").ChangeType(varSmallint).VarType(), varSmallint);
  EXPECT_EQ(Variant(7).ChangeType(varString).StringRef(), "7");
  EXPECT_EQ(Variant(2.5).ChangeType(varCurrency).AsCurrencyScaled(), 25000);
  EXPECT_THROW(Variant(300).ChangeType(varByte), EVariantError);
  EXPECT_TRUE(Variant::Null().ChangeType(varNull).IsNull());
}

TEST(VariantTest, DatesRoundTripThroughText) {
  struct Case {
    const char* text;
    const char* back;  // the canonical form
  };
  const std::vector<Case> cases = {
      {"1899-12-30", "1899-12-30"},  // day 0
      {"1600-03-01", "1600-03-01"},
      {"2000-02-29 23:59:59", "2000-02-29 23:59:59"},
      {"12/31/1999", "1999-12-31"},
      {"7/4/1776 10:30", "1776-07-04 10:30:00"},
      {"08:15:00", "08:15:00"},
  };
  for (const auto& c : cases) {
    auto d = TryStrToDateTime(c.text);
    ASSERT_TRUE(d) << c.text;
    EXPECT_EQ(DateTimeToStr(*d), c.back) << c.text;
  }
  for (const char* bad : {"2021-02-29", "13/1/2020", "2020-01-01x", "", "24:00", "10:00:00.", "10:00:00.1234",
                          "10:00.5"})
    EXPECT_FALSE(TryStrToDateTime(bad)) << bad;
  // Milliseconds read back to the value TryEncodeTime gives.
  EXPECT_EQ(TryStrToDateTime("2020-01-02 10:30:00.25"), date(2020, 1, 2) + *TryEncodeTime(10, 30, 0, 250));
  EXPECT_EQ(TryStrToDateTime("00:00:01.005"), *TryEncodeTime(0, 0, 1, 5));
  EXPECT_DOUBLE_EQ(date(1900, 1, 1), 2.0);  // the automation epoch
}

}  // namespace
