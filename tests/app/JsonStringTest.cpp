#include <gtest/gtest.h>

#include "JsonString.h"
#include "TextEncoding.h"

TEST(JsonStringTest, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(JsonString("x\ny\rz\t"), "\"x\\ny\\rz\\t\"");
  EXPECT_EQ(JsonString(std::string("\x01\x1f", 2)), "\"\\u0001\\u001f\"");
  EXPECT_EQ(JsonString(""), "\"\"");
}

TEST(JsonStringTest, JapaneseTextLeavesAsUtf8) { EXPECT_EQ(JsonString(Jp("スキン")), "\"スキン\""); }
