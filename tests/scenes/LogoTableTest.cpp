#include "LogoTable.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(LogoTable, StrokesAreClosedOutlinesInsideTheBitmap) {
  const auto strokes = LogoStrokes();
  ASSERT_FALSE(strokes.empty());
  EXPECT_EQ(strokes[0].Points[0].X, 0);
  EXPECT_EQ(strokes[0].Points[0].Y, 0);
  EXPECT_FALSE(strokes[0].AllInstant);
  for (const TLogoStroke& stroke : strokes) {
    ASSERT_GE(stroke.Points.size(), 4u);
    EXPECT_EQ(stroke.Points.front().X, stroke.Points.back().X);
    EXPECT_EQ(stroke.Points.front().Y, stroke.Points.back().Y);
    for (size_t i = 0; i < stroke.Points.size(); ++i) {
      const TLogoPoint& p = stroke.Points[i];
      EXPECT_TRUE(p.X >= 0 && p.X < kLogoWidth && p.Y >= 0 && p.Y < kLogoHeight) << p.X << "," << p.Y;
      EXPECT_TRUE(p.W == 1 || p.W == 2);
      if (i + 1 < stroke.Points.size()) {
        const TLogoPoint& q = stroke.Points[i + 1];
        EXPECT_FALSE(p.X == q.X && p.Y == q.Y) << "zero-length segment at " << p.X << "," << p.Y;
      }
    }
  }
}

TEST(LogoTable, EightLetterOutlinesEachFollowedByItsCounters) {
  // M O R V A N T H: O, R and A have one counter each.
  const bool expected[] = {false, false, true, false, true, false, false, true, false, false, false};
  const auto strokes = LogoStrokes();
  ASSERT_EQ(strokes.size(), std::size(expected));
  for (size_t i = 0; i < strokes.size(); ++i) EXPECT_EQ(strokes[i].AllInstant, expected[i]) << i;
  // Letters run left to right and the logo spans the whole bitmap width.
  int previousLeft = -1, right = 0;
  for (const TLogoStroke& stroke : strokes) {
    if (stroke.AllInstant) continue;
    int left = kLogoWidth;
    for (const TLogoPoint& p : stroke.Points) {
      left = std::min(left, p.X);
      right = std::max(right, p.X);
    }
    EXPECT_GT(left, previousLeft);
    previousLeft = left;
  }
  EXPECT_EQ(right, kLogoWidth - 1);
}

TEST(LogoTable, ProgressiveLengthIsTheSumOfTheStraightOutlineSegments) {
  // Horizontal and vertical segments of the letter outlines (counters and diagonals appear at once), by hand
  // from the letter shapes: M 116, O 66, R 83, V 18, A 28, N 116, T 100, H 146.
  double total = 0;
  for (const TLogoStroke& stroke : LogoStrokes()) {
    if (stroke.AllInstant) continue;
    for (size_t i = 0; i + 1 < stroke.Points.size(); ++i) {
      const int dx = stroke.Points[i + 1].X - stroke.Points[i].X, dy = stroke.Points[i + 1].Y - stroke.Points[i].Y;
      if (dx == 0 || dy == 0) total += std::abs(dx) + std::abs(dy);
    }
  }
  EXPECT_EQ(total, 116 + 66 + 83 + 18 + 28 + 116 + 100 + 146);  // 673: 135 frames at 5 per frame
}

}  // namespace
