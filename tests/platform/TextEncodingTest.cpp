#include "TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, JapaneseRoundTripsThroughCP932) {
  const std::string cp932 = ToCP932("エラー");
  EXPECT_EQ(cp932, "\x83\x47\x83\x89\x81\x5B");
  EXPECT_EQ(ToUTF8(cp932), "エラー");
  EXPECT_EQ(ToCP932("ABC 123"), "ABC 123");
}

TEST(TextEncoding, UsesCP932NotPlainShiftJIS) {
  // Full-width tilde and minus exist in CP932 (0x8160, 0x817C) but differ in plain Shift_JIS.
  EXPECT_EQ(ToCP932("～"), "\x81\x60");
  EXPECT_EQ(ToCP932("－"), "\x81\x7C");
  // NEC extension: circled digit one.
  EXPECT_EQ(ToCP932("①"), "\x87\x40");
  // 0x5C is the backslash in CP932 (shown as a yen sign by Japanese fonts).
  EXPECT_EQ(ToUTF8("\x5C"), "\\");
}

TEST(TextEncoding, BadInputIsReplacedNotDropped) {
  EXPECT_EQ(ToCP932("a\xFF"
                    "b"),
            "a?b");
  EXPECT_EQ(ToCP932("a😀b"), "a?b");             // not representable in CP932
  EXPECT_EQ(ToUTF8("a\x83"), "a\xEF\xBF\xBD");  // lead byte cut off at the end
  // A UTF-8 sequence broken off early (a file name from a foreign system) costs only its own bytes.
  EXPECT_EQ(ToCP932("\xE3"
                    "AB"),
            "?AB");
  EXPECT_EQ(ToCP932("x\xE3\x82"
                    "yz"),
            "x?yz");
  EXPECT_EQ(ToCP932("\xF0\x9F"
                    "\xE3\x82\xA8"),
            ToCP932("?エ"));
  EXPECT_EQ(ToCP932("end\xE3\x82"), "end?");
}

TEST(TextEncoding, JpCachesByContent) {
  const std::string& a = Jp("ステージ");
  const std::string& b = Jp("ステージ");
  EXPECT_EQ(&a, &b);
  EXPECT_EQ(ToUTF8(a), "ステージ");
}
