// The waypoint tables against the segment lengths and totals of the enemy paths.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "UMotions.h"

namespace {

std::vector<int32_t> SegmentLengths(const TMotionPath& Path) {
  std::vector<int32_t> Lengths;
  for (int32_t i = 0; i < Path.Segments; ++i) {
    const TPoint& P = Path.Points[i];
    const TPoint& Q = Path.Points[i + 1];
    const double dx = Q.X - P.X, dy = Q.Y - P.Y;
    Lengths.push_back(static_cast<int32_t>(std::lround(std::sqrt(dx * dx + dy * dy))));
  }
  return Lengths;
}

int32_t Total(const std::vector<int32_t>& Lengths) {
  int32_t Sum = 0;
  for (int32_t L : Lengths) Sum += L;
  return Sum;
}

TEST(MotionPaths, TurnPathsHaveTheirSegmentLengths) {
  const std::vector<int32_t> Sturn{380, 420, 880};
  const std::vector<int32_t> Cturn{500, 269, 300};
  EXPECT_EQ(SegmentLengths(*MotionPath(mtSTurn1)), Sturn);
  EXPECT_EQ(SegmentLengths(*MotionPath(mtSTurn2)), Sturn);
  EXPECT_EQ(SegmentLengths(*MotionPath(mtCTurn1)), Cturn);
  EXPECT_EQ(SegmentLengths(*MotionPath(mtCTurn2)), Cturn);
  EXPECT_EQ(Total(Sturn), 1680);
  EXPECT_EQ(Total(Cturn), 1069);
  for (uint8_t Code = mtSTurn1; Code <= mtCTurn2; ++Code) EXPECT_FALSE(MotionPath(Code)->Repeat);
}

TEST(MotionPaths, TurnPathsMirrorAroundTheMiddleLine) {
  // sturn2 and cturn2 are sturn1 and cturn1 reflected about y = 300.
  for (int32_t i = 0; i <= TurnPathSegments; ++i) {
    EXPECT_EQ(STurn2Points[i].X, STurn1Points[i].X);
    EXPECT_EQ(STurn2Points[i].Y, 600 - STurn1Points[i].Y);
    EXPECT_EQ(CTurn2Points[i].X, CTurn1Points[i].X);
    EXPECT_EQ(CTurn2Points[i].Y, 600 - CTurn1Points[i].Y);
  }
}

TEST(MotionPaths, BossPathIsALoopOf3988Pixels) {
  const TMotionPath& Boss = *MotionPath(mtBoss1);
  EXPECT_TRUE(Boss.Repeat);
  ASSERT_EQ(Boss.Segments, 15);
  const std::vector<int32_t> Expected{300, 100, 200, 200, 200, 200, 200, 200, 200, 100, 447, 447, 447, 447, 300};
  EXPECT_EQ(SegmentLengths(Boss), Expected);
  EXPECT_EQ(Total(Expected), 3988);
  // It starts and ends at the right edge on the middle line, so a wrap is seamless.
  EXPECT_EQ(Boss.Points[0].X, 800);
  EXPECT_EQ(Boss.Points[0].Y, 300);
  EXPECT_EQ(Boss.Points[15].X, 800);
  EXPECT_EQ(Boss.Points[15].Y, 300);
}

TEST(MotionPaths, FreeMotionsHaveNoPath) {
  EXPECT_EQ(MotionPath(mtStraight), nullptr);
  EXPECT_EQ(MotionPath(mtZigzag1), nullptr);
  EXPECT_EQ(MotionPath(mtZigzag2), nullptr);
  EXPECT_EQ(MotionPath(8), nullptr);
}

}  // namespace
