#include "EndingText.h"

#include <gtest/gtest.h>

#include "TextEncoding.h"

namespace {

TEST(EndingText, SplitLinesDropsOnlyTheFinalBreak) {
  EXPECT_EQ(SplitLines("a\nb\n"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\n\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(EndingText, FortySixLinesLaidOutInTheirSections) {
  const std::vector<std::string> lines = SplitLines(EndingText());
  ASSERT_EQ(lines.size(), 46u);
  auto empty = [&](int From, int To) {
    for (int i = From; i <= To; ++i) EXPECT_TRUE(lines[i].empty()) << "line " << i;
  };
  auto text = [&](int From, int To) {
    for (int i = From; i <= To; ++i) EXPECT_FALSE(lines[i].empty()) << "line " << i;
  };
  text(0, 2);
  empty(3, 3);
  text(4, 8);
  empty(9, 13);
  text(14, 22);
  empty(23, 27);
  text(28, 28);
  empty(29, 29);
  // Four credits: a heading framed by equals signs, the name, an empty line between credits.
  for (int heading : {30, 33, 36, 39}) {
    EXPECT_EQ(lines[heading].front(), '=') << heading;
    EXPECT_EQ(lines[heading].back(), '=') << heading;
    EXPECT_FALSE(lines[heading + 1].empty());
    if (heading < 39) {
      EXPECT_TRUE(lines[heading + 2].empty());
    }
  }
  empty(41, 43);
  EXPECT_EQ(lines[44], "-END-");
  empty(45, 45);
  // The staff-roll heading is framed by square symbols.
  EXPECT_EQ(lines[28].substr(0, 2), ToCP932("□"));
}

}  // namespace
