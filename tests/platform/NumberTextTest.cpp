#include "NumberText.h"

#include <gtest/gtest.h>

#include "Exception.h"
#include "TextEncoding.h"
#include "Variant.h"

namespace {

int32_t Int(const char* Text) {
  int32_t v = 12345;
  EXPECT_EQ(TextToInt32(Text, v), TConversionResult::Ok) << Text;
  return v;
}

TConversionResult IntResult(const char* Text) {
  int32_t v = 0;
  return TextToInt32(Text, v);
}

}  // namespace

TEST(NumberTextTest, LocaleStyleIntegers) {
  EXPECT_EQ(Int("800"), 800);
  EXPECT_EQ(Int("  -42 "), -42);
  EXPECT_EQ(Int("+7"), 7);
  EXPECT_EQ(Int("1,000"), 1000);
  EXPECT_EQ(Int("-2147483648"), INT32_MIN);
  EXPECT_EQ(Int("2,147,483,647"), INT32_MAX);
  // Fractions go to the nearest integer, halves to the even neighbour.
  EXPECT_EQ(Int("2.4"), 2);
  EXPECT_EQ(Int("2.6"), 3);
  EXPECT_EQ(Int("2.5"), 2);
  EXPECT_EQ(Int("3.5"), 4);
  EXPECT_EQ(Int("2.50001"), 3);
  EXPECT_EQ(Int("-1.5"), -2);
  EXPECT_EQ(Int("&HFF"), 255);
}

TEST(NumberTextTest, ExponentsTrailingSignsAndParentheses) {
  const struct {
    const char* Text;
    int32_t Value;
  } cases[] = {
      {"1e3", 1000}, {"1.5E1", 15}, {"25e-1", 2}, {"35E-1", 4},       {"1e+2", 100},   {"0e999999", 0},
      {"5-", -5},    {" 5+ ", 5},   {"(5)", -5},  {"(1,000)", -1000}, {"2.5e1-", -25}, {"1e-999999", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Int(c.Text), c.Value) << c.Text;
  for (const char* bad : {"(5", "5)", "(-5)", "-5-", "+5-", "1e", "e3", "1e+", "1e3.5", "()", "5 -"}) {
    EXPECT_EQ(IntResult(bad), TConversionResult::TypeMismatch) << '"' << bad << '"';
  }
  EXPECT_EQ(IntResult("3e9"), TConversionResult::Overflow);
  EXPECT_EQ(IntResult("1e999999999999"), TConversionResult::Overflow);
  bool v = false;
  EXPECT_EQ(TextToBoolean("1e-1", v), TConversionResult::Ok);
  EXPECT_TRUE(v);
}

TEST(NumberTextTest, IntegerLiteralsAfterATypeMismatch) {
  EXPECT_EQ(Int("$FF"), 255);
  EXPECT_EQ(Int("0xff"), 255);
  EXPECT_EQ(Int("xFF"), 255);
  EXPECT_EQ(Int("0XfF"), 255);
  EXPECT_EQ(Int("  $10"), 16);
  EXPECT_EQ(Int("-$10"), -16);
  EXPECT_EQ(static_cast<uint32_t>(Int("$FFFFFFFF")), 0xFFFFFFFFu);
  EXPECT_EQ(static_cast<uint32_t>(Int("$80FFFFFF")), 0x80FFFFFFu);
}

TEST(NumberTextTest, OutOfRangeAndUnreadableText) {
  EXPECT_EQ(IntResult("2147483648"), TConversionResult::Overflow);
  EXPECT_EQ(IntResult("-2147483649"), TConversionResult::Overflow);
  EXPECT_EQ(IntResult("2147483647.5"), TConversionResult::Overflow);            // rounds to 2^31
  EXPECT_EQ(IntResult("18446744073709551615.9"), TConversionResult::Overflow);  // rounding must not wrap
  EXPECT_EQ(IntResult("99999999999999999999999999"), TConversionResult::Overflow);
  EXPECT_EQ(IntResult("$100000000"), TConversionResult::Overflow);
  for (const char* bad : {"", " ", "abc", "12abc", "$", "0x", "$FG", "1 2", ",5", "-", "."}) {
    EXPECT_EQ(IntResult(bad), TConversionResult::TypeMismatch) << '"' << bad << '"';
  }
}

TEST(NumberTextTest, Booleans) {
  auto boolean = [](const char* Text) {
    bool v = false;
    EXPECT_EQ(TextToBoolean(Text, v), TConversionResult::Ok) << Text;
    return v;
  };
  EXPECT_TRUE(boolean("true"));
  EXPECT_TRUE(boolean("TRUE"));
  EXPECT_TRUE(boolean("tRuE"));
  EXPECT_FALSE(boolean("False"));
  EXPECT_FALSE(boolean("0"));
  EXPECT_TRUE(boolean("1"));
  EXPECT_TRUE(boolean("-1"));
  EXPECT_TRUE(boolean("0.5"));
  EXPECT_TRUE(boolean("$10"));
  EXPECT_FALSE(boolean("$0"));
  bool v = false;
  EXPECT_EQ(TextToBoolean("yes", v), TConversionResult::TypeMismatch);
  EXPECT_EQ(TextToBoolean("", v), TConversionResult::TypeMismatch);
}

TEST(NumberTextTest, VariantErrorsNameTheValue) {
  EXPECT_EQ(TVariant("$FFFFFFFF").AsCardinal(), 0xFFFFFFFFu);
  EXPECT_EQ(TVariant(int32_t{5}).AsText(), "5");
  EXPECT_TRUE(TVariant(int32_t{2}).AsBoolean());
  auto message = [](auto Call) {
    try {
      Call();
    } catch (const Exception& e) {
      return e.Message();
    }
    return std::string("no exception");
  };
  EXPECT_EQ(message([] { TVariant("abc").AsInteger(); }), Jp("\"abc\" は整数に変換できません"));
  EXPECT_EQ(message([] { TVariant("3000000000").AsInteger(); }), Jp("\"3000000000\" は整数の範囲を超えています"));
  EXPECT_EQ(message([] { TVariant("maybe").AsBoolean(); }), Jp("\"maybe\" は真偽値に変換できません"));
  EXPECT_EQ(message([] { TVariant("").AsInteger(); }), Jp("\"\" は整数に変換できません"));
  // An empty element has no value at all: even as text it does not convert.
  EXPECT_EQ(message([] { TVariant::Null("x").AsText(); }), Jp("値が空です: x"));
  EXPECT_EQ(message([] { TVariant::Null("x").AsInteger(); }), Jp("値が空です: x"));
}
