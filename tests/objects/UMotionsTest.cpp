// The waypoint tables against the segment lengths and totals of the enemy paths.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "UMotions.h"

namespace {

std::vector<int32_t> SegmentLengths(const TMotionPath& Path) {
  std::vector<int32_t> lengths;
  for (int32_t i = 0; i < Path.Segments; ++i) {
    const TPoint& p = Path.Points[i];
    const TPoint& q = Path.Points[i + 1];
    const double dx = q.X - p.X, dy = q.Y - p.Y;
    lengths.push_back(static_cast<int32_t>(std::lround(std::sqrt(dx * dx + dy * dy))));
  }
  return lengths;
}

int32_t Total(const std::vector<int32_t>& Lengths) {
  int32_t sum = 0;
  for (int32_t l : Lengths) sum += l;
  return sum;
}

TEST(MotionPaths, TurnPathsHaveTheirSegmentLengths) {
  const std::vector<int32_t> sturn{380, 420, 880};
  const std::vector<int32_t> cturn{500, 269, 300};
  EXPECT_EQ(SegmentLengths(*MotionPath(mtSTurn1)), sturn);
  EXPECT_EQ(SegmentLengths(*MotionPath(mtSTurn2)), sturn);
  EXPECT_EQ(SegmentLengths(*MotionPath(mtCTurn1)), cturn);
  EXPECT_EQ(SegmentLengths(*MotionPath(mtCTurn2)), cturn);
  EXPECT_EQ(Total(sturn), 1680);
  EXPECT_EQ(Total(cturn), 1069);
  for (uint8_t code = mtSTurn1; code <= mtCTurn2; ++code) EXPECT_FALSE(MotionPath(code)->Repeat);
}

TEST(MotionPaths, TurnPathsMirrorAroundTheMiddleLine) {
  // sturn2 and cturn2 are sturn1 and cturn1 reflected about y = 300.
  for (int32_t i = 0; i <= kTurnPathSegments; ++i) {
    EXPECT_EQ(kSTurn2Points[i].X, kSTurn1Points[i].X);
    EXPECT_EQ(kSTurn2Points[i].Y, 600 - kSTurn1Points[i].Y);
    EXPECT_EQ(kCTurn2Points[i].X, kCTurn1Points[i].X);
    EXPECT_EQ(kCTurn2Points[i].Y, 600 - kCTurn1Points[i].Y);
  }
}

TEST(MotionPaths, BossPathIsALoopOf3988Pixels) {
  const TMotionPath& boss = *MotionPath(mtBoss1);
  EXPECT_TRUE(boss.Repeat);
  ASSERT_EQ(boss.Segments, 15);
  const std::vector<int32_t> expected{300, 100, 200, 200, 200, 200, 200, 200, 200, 100, 447, 447, 447, 447, 300};
  EXPECT_EQ(SegmentLengths(boss), expected);
  EXPECT_EQ(Total(expected), 3988);
  // It starts and ends at the right edge on the middle line, so a wrap is seamless.
  EXPECT_EQ(boss.Points[0].X, 800);
  EXPECT_EQ(boss.Points[0].Y, 300);
  EXPECT_EQ(boss.Points[15].X, 800);
  EXPECT_EQ(boss.Points[15].Y, 300);
}

TEST(MotionPaths, FreeMotionsHaveNoPath) {
  EXPECT_EQ(MotionPath(mtStraight), nullptr);
  EXPECT_EQ(MotionPath(mtZigzag1), nullptr);
  EXPECT_EQ(MotionPath(mtZigzag2), nullptr);
  EXPECT_EQ(MotionPath(8), nullptr);
}

}  // namespace
