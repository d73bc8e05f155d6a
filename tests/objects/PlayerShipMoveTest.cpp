// The ship's fly-in, steering, bounds and the path its options retrace.
#include <gtest/gtest.h>

#include "ShipRig.h"

namespace {

using namespace objtest;

TEST(ShipFlyIn, RunsForwardThenBackAndEndsAt140After101Updates) {
  ShipRig Rig;
  Rig.Ship.Enter();
  EXPECT_TRUE(Rig.Ship.Entering);
  EXPECT_EQ(Rig.Ship.X, 0);
  EXPECT_EQ(Rig.Ship.Y, 300);

  // Keys are not read during the fly-in: steering and fire are ignored.
  Rig.Frames(60, {VkUp, VkRight, VkZ});
  EXPECT_EQ(Rig.Ship.X, 180);
  Rig.Frame({VkUp, VkRight, VkZ});
  EXPECT_EQ(Rig.Ship.X, 179);
  Rig.Frames(39, {VkUp, VkRight, VkZ});
  EXPECT_EQ(Rig.Ship.X, 140);
  EXPECT_TRUE(Rig.Ship.Entering);
  Rig.Frame({VkUp, VkRight, VkZ});
  EXPECT_FALSE(Rig.Ship.Entering);
  EXPECT_EQ(Rig.Ship.X, 140);
  EXPECT_EQ(Rig.Ship.Y, 300);
  EXPECT_EQ(Rig.Shots.Count(), 0);

  // Control returns on the next update.
  Rig.Frame({VkUp});
  EXPECT_EQ(Rig.Ship.Y, 296);
}

TEST(ShipFlyIn, StepsPerUpdateWhateverTheFrameCount) {
  ShipRig Rig;
  Rig.Ship.Enter();
  for (int i = 0; i < 30; ++i) Rig.Ship.Update(2);  // 60 frames after the start: still going forward
  EXPECT_EQ(Rig.Ship.X, 90);
  for (int i = 0; i < 20; ++i) Rig.Ship.Update(2);  // 100 frames
  EXPECT_EQ(Rig.Ship.X, 70);
  EXPECT_TRUE(Rig.Ship.Entering);
  Rig.Ship.Update(2);
  EXPECT_FALSE(Rig.Ship.Entering);
  EXPECT_EQ(Rig.Ship.X, 70);
}

TEST(ShipFlyIn, HitDuringTheFlyInChangesNothing) {
  ShipRig Rig;
  Rig.Ship.Enter();
  Rig.Frames(10);
  Rig.Ship.Hit(1);
  EXPECT_EQ(Rig.Ship.Energy, 1);
  EXPECT_EQ(Rig.Ship.Lives, 3);
  EXPECT_EQ(Rig.LostCount, 0);
}

TEST(ShipSteering, MovesBySpeedOnEachAxisAndOppositeKeysCancel) {
  ShipRig Rig;
  Rig.Frame({VkRight});
  EXPECT_EQ(Rig.Ship.X, 204);
  Rig.Frame({VkLeft, VkDown});
  EXPECT_EQ(Rig.Ship.X, 200);
  EXPECT_EQ(Rig.Ship.Y, 304);  // diagonals are not normalised
  Rig.Frame({VkRight, VkUp});
  EXPECT_EQ(Rig.Ship.X, 204);
  EXPECT_EQ(Rig.Ship.Y, 300);
  EXPECT_EQ(Rig.Ship.ReadIndex, 3);
  EXPECT_EQ(Rig.Ship.WriteIndex, 13);

  // All four arrows: no movement and no history entry.
  Rig.Frame({VkLeft, VkRight});
  Rig.Frame({VkLeft, VkRight, VkUp, VkDown});
  EXPECT_EQ(Rig.Ship.X, 204);
  EXPECT_EQ(Rig.Ship.Y, 300);
  EXPECT_EQ(Rig.Ship.ReadIndex, 3);
  EXPECT_EQ(Rig.Ship.WriteIndex, 13);

  // One cancelled axis does not stop the other.
  Rig.Frame({VkLeft, VkRight, VkUp});
  EXPECT_EQ(Rig.Ship.X, 204);
  EXPECT_EQ(Rig.Ship.Y, 296);
  EXPECT_EQ(Rig.Ship.WriteIndex, 14);
}

TEST(ShipSteering, BoundsKeepTheHitAreaInsideTheField) {
  ShipRig Rig;
  EXPECT_EQ(Rig.Ship.MinX, 12);
  EXPECT_EQ(Rig.Ship.MinY, 6);
  EXPECT_EQ(Rig.Ship.MaxX, 788);
  EXPECT_EQ(Rig.Ship.MaxY, 594);
  Rig.Frames(200, {VkLeft, VkDown});
  EXPECT_EQ(Rig.Ship.X, 12);
  EXPECT_EQ(Rig.Ship.Y, 594);
  Rig.Frames(200, {VkRight, VkUp});
  EXPECT_EQ(Rig.Ship.X, 788);
  EXPECT_EQ(Rig.Ship.Y, 6);
}

// Where the ship was recorded at its k-th upward move from (200, 300) at speed 4, bound MinY 6: the record is
// taken before clamping, so from the 74th move on it lies one step beyond the bound.
int32_t RecordedUpY(int32_t k) {
  if (k <= 0) return 300;  // the creation position fills the ring
  if (k <= 73) return 300 - 4 * k;
  if (k == 74) return 8 - 4;
  return 6 - 4;
}

TEST(ShipOptions, OptionNTrailsBy9Plus10NMovesAlsoAcrossABound) {
  ShipRig Rig;
  for (int i = 0; i < 4; ++i) Rig.Buy(ppOption);
  ASSERT_EQ(Rig.Ship.OptionCount, 4);
  for (int n = 0; n < 4; ++n) {
    EXPECT_TRUE(Rig.Ship.Options[n]->Active);
    EXPECT_EQ(Rig.Ship.Options[n]->X, 200);
    EXPECT_EQ(Rig.Ship.Options[n]->Y, 300);
  }

  for (int32_t m = 1; m <= 120; ++m) {
    Rig.Frame({VkUp});
    ASSERT_EQ(Rig.Ship.Y, m <= 73 ? 300 - 4 * m : 6) << "move " << m;
    for (int32_t n = 0; n < 4; ++n) {
      const TOption& Option = *Rig.Ship.Options[n];
      const int32_t k = m - 9 - 10 * n;
      ASSERT_EQ(Option.Y, RecordedUpY(k)) << "move " << m << ", option " << n;
      ASSERT_EQ(Option.X, 200) << "move " << m << ", option " << n;
    }
  }
  // Pushing against the bound, the options settle one step beyond it.
  EXPECT_EQ(Rig.Ship.Options[3]->Y, 2);
}

TEST(ShipOptions, OptionsMoveOnlyWhenTheShipMoves) {
  ShipRig Rig;
  Rig.Frames(20, {VkRight});
  Rig.Buy(ppOption);
  const TOption& Option = *Rig.Ship.Options[0];
  EXPECT_EQ(Option.X, 200 + 4 * 11);  // 9 moves behind the 20th
  Rig.Frames(5, {VkLeft, VkRight});
  EXPECT_EQ(Option.X, 244);
  Rig.Frame({VkRight});
  EXPECT_EQ(Option.X, 248);
  // Options are advanced with the ship only while active.
  EXPECT_EQ(Option.Elapsed(), 8u);
  EXPECT_EQ(Rig.Ship.Options[1]->Elapsed(), 0u);
}

TEST(ShipOptions, AnOptionAfterARespawnStartsOnThePreviousLifesPath) {
  ShipRig Rig;
  Rig.Frames(20, {VkUp});  // moves 1..20: y = 296 .. 220
  Rig.Ship.Hit(1);
  ASSERT_EQ(Rig.LostCount, 1);
  Rig.Ship.Restart();
  Rig.Frames(101);  // the fly-in records no history
  ASSERT_FALSE(Rig.Ship.Entering);
  Rig.Buy(ppOption);
  Rig.Buy(ppOption);
  Rig.Buy(ppOption);
  EXPECT_EQ(Rig.Ship.Options[0]->X, 200);
  EXPECT_EQ(Rig.Ship.Options[0]->Y, 300 - 4 * 11);  // 9 moves before the 20th
  EXPECT_EQ(Rig.Ship.Options[1]->Y, 300 - 4 * 1);   // 19 moves before
  EXPECT_EQ(Rig.Ship.Options[2]->Y, 300);           // older than any move: the creation position
}

}  // namespace
