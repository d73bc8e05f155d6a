#include "TextFont.h"

#include <gtest/gtest.h>

#include "TextEncoding.h"

TEST(TextFontTest, PointSizesBecomeNegativeHeightsAt96Dpi) {
  TFont font;
  font.SetSize(20);  // 20 * 96 / 72 = 26.67
  EXPECT_EQ(font.Height, -27);
  EXPECT_EQ(font.Size(), 20);
  font.SetSize(16);  // 21.33
  EXPECT_EQ(font.Height, -21);
  EXPECT_EQ(font.Size(), 16);
  font.SetSize(40);  // 53.33
  EXPECT_EQ(font.Height, -53);
  font.SetSize(9);  // exactly 12
  EXPECT_EQ(font.Height, -12);
  font.Height = -11;  // 8.25 points
  EXPECT_EQ(font.Size(), 8);
}

TEST(TextFontTest, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(3, 1, 2), 2);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(3, -1, 2), -2);
  EXPECT_EQ(MulDiv(5, 1, 3), 2);
  EXPECT_EQ(MulDiv(1, 1, 0), 0);
  EXPECT_EQ(MulDiv(2000000000, 2, 1), 2147483647);
}

TEST(TextFontTest, DefaultsToTheJapaneseDesktopFont) {
  TFont font;
  EXPECT_EQ(font.Name, Jp("ＭＳ Ｐゴシック"));
  EXPECT_EQ(font.Size(), 9);
  EXPECT_EQ(font.Style, 0);
}
