// The ship's fly-in, steering, bounds and the path its options retrace.
#include <gtest/gtest.h>

#include "ShipRig.h"

namespace {

using namespace objtest;

TEST(ShipFlyIn, RunsForwardThenBackAndEndsAt140After101Updates) {
  TShipRig rig;
  rig.Ship.Enter();
  EXPECT_TRUE(rig.Ship.Entering);
  EXPECT_EQ(rig.Ship.X, 0);
  EXPECT_EQ(rig.Ship.Y, 300);

  // Keys are not read during the fly-in: steering and fire are ignored.
  rig.Frames(60, {kVkUp, kVkRight, kVkZ});
  EXPECT_EQ(rig.Ship.X, 180);
  rig.Frame({kVkUp, kVkRight, kVkZ});
  EXPECT_EQ(rig.Ship.X, 179);
  rig.Frames(39, {kVkUp, kVkRight, kVkZ});
  EXPECT_EQ(rig.Ship.X, 140);
  EXPECT_TRUE(rig.Ship.Entering);
  rig.Frame({kVkUp, kVkRight, kVkZ});
  EXPECT_FALSE(rig.Ship.Entering);
  EXPECT_EQ(rig.Ship.X, 140);
  EXPECT_EQ(rig.Ship.Y, 300);
  EXPECT_EQ(rig.Shots.Count(), 0);

  // Control returns on the next update.
  rig.Frame({kVkUp});
  EXPECT_EQ(rig.Ship.Y, 296);
}

TEST(ShipFlyIn, StepsPerUpdateWhateverTheFrameCount) {
  TShipRig rig;
  rig.Ship.Enter();
  for (int i = 0; i < 30; ++i) rig.Ship.Update(2);  // 60 frames after the start: still going forward
  EXPECT_EQ(rig.Ship.X, 90);
  for (int i = 0; i < 20; ++i) rig.Ship.Update(2);  // 100 frames
  EXPECT_EQ(rig.Ship.X, 70);
  EXPECT_TRUE(rig.Ship.Entering);
  rig.Ship.Update(2);
  EXPECT_FALSE(rig.Ship.Entering);
  EXPECT_EQ(rig.Ship.X, 70);
}

TEST(ShipFlyIn, HitDuringTheFlyInChangesNothing) {
  TShipRig rig;
  rig.Ship.Enter();
  rig.Frames(10);
  rig.Ship.Hit(1);
  EXPECT_EQ(rig.Ship.Energy, 1);
  EXPECT_EQ(rig.Ship.Lives, 3);
  EXPECT_EQ(rig.LostCount, 0);
}

TEST(ShipSteering, MovesBySpeedOnEachAxisAndOppositeKeysCancel) {
  TShipRig rig;
  rig.Frame({kVkRight});
  EXPECT_EQ(rig.Ship.X, 204);
  rig.Frame({kVkLeft, kVkDown});
  EXPECT_EQ(rig.Ship.X, 200);
  EXPECT_EQ(rig.Ship.Y, 304);  // diagonals are not normalised
  rig.Frame({kVkRight, kVkUp});
  EXPECT_EQ(rig.Ship.X, 204);
  EXPECT_EQ(rig.Ship.Y, 300);
  EXPECT_EQ(rig.Ship.ReadIndex, 3);
  EXPECT_EQ(rig.Ship.WriteIndex, 13);

  // All four arrows: no movement and no history entry.
  rig.Frame({kVkLeft, kVkRight});
  rig.Frame({kVkLeft, kVkRight, kVkUp, kVkDown});
  EXPECT_EQ(rig.Ship.X, 204);
  EXPECT_EQ(rig.Ship.Y, 300);
  EXPECT_EQ(rig.Ship.ReadIndex, 3);
  EXPECT_EQ(rig.Ship.WriteIndex, 13);

  // One cancelled axis does not stop the other.
  rig.Frame({kVkLeft, kVkRight, kVkUp});
  EXPECT_EQ(rig.Ship.X, 204);
  EXPECT_EQ(rig.Ship.Y, 296);
  EXPECT_EQ(rig.Ship.WriteIndex, 14);
}

TEST(ShipSteering, BoundsKeepTheHitAreaInsideTheField) {
  TShipRig rig;
  EXPECT_EQ(rig.Ship.MinX, 12);
  EXPECT_EQ(rig.Ship.MinY, 6);
  EXPECT_EQ(rig.Ship.MaxX, 788);
  EXPECT_EQ(rig.Ship.MaxY, 594);
  rig.Frames(200, {kVkLeft, kVkDown});
  EXPECT_EQ(rig.Ship.X, 12);
  EXPECT_EQ(rig.Ship.Y, 594);
  rig.Frames(200, {kVkRight, kVkUp});
  EXPECT_EQ(rig.Ship.X, 788);
  EXPECT_EQ(rig.Ship.Y, 6);
}

// Where the ship was recorded at its k-th upward move from (200, 300) at speed 4, bound MinY 6: the record is
// taken before clamping, so from the 74th move on it lies one step beyond the bound.
int32_t RecordedUpY(int32_t K) {
  if (K <= 0) return 300;  // the creation position fills the ring
  if (K <= 73) return 300 - 4 * K;
  if (K == 74) return 8 - 4;
  return 6 - 4;
}

TEST(ShipOptions, OptionNTrailsBy9Plus10NMovesAlsoAcrossABound) {
  TShipRig rig;
  for (int i = 0; i < 4; ++i) rig.Buy(ppOption);
  ASSERT_EQ(rig.Ship.OptionCount, 4);
  for (int n = 0; n < 4; ++n) {
    EXPECT_TRUE(rig.Ship.Options[n]->Active);
    EXPECT_EQ(rig.Ship.Options[n]->X, 200);
    EXPECT_EQ(rig.Ship.Options[n]->Y, 300);
  }

  for (int32_t m = 1; m <= 120; ++m) {
    rig.Frame({kVkUp});
    ASSERT_EQ(rig.Ship.Y, m <= 73 ? 300 - 4 * m : 6) << "move " << m;
    for (int32_t n = 0; n < 4; ++n) {
      const TOption& option = *rig.Ship.Options[n];
      const int32_t k = m - 9 - 10 * n;
      ASSERT_EQ(option.Y, RecordedUpY(k)) << "move " << m << ", option " << n;
      ASSERT_EQ(option.X, 200) << "move " << m << ", option " << n;
    }
  }
  // Pushing against the bound, the options settle one step beyond it.
  EXPECT_EQ(rig.Ship.Options[3]->Y, 2);
}

TEST(ShipOptions, OptionsMoveOnlyWhenTheShipMoves) {
  TShipRig rig;
  rig.Frames(20, {kVkRight});
  rig.Buy(ppOption);
  const TOption& option = *rig.Ship.Options[0];
  EXPECT_EQ(option.X, 200 + 4 * 11);  // 9 moves behind the 20th
  rig.Frames(5, {kVkLeft, kVkRight});
  EXPECT_EQ(option.X, 244);
  rig.Frame({kVkRight});
  EXPECT_EQ(option.X, 248);
  // Options are advanced with the ship only while active.
  EXPECT_EQ(option.Elapsed(), 8u);
  EXPECT_EQ(rig.Ship.Options[1]->Elapsed(), 0u);
}

TEST(ShipOptions, AnOptionAfterARespawnStartsOnThePreviousLifesPath) {
  TShipRig rig;
  rig.Frames(20, {kVkUp});  // moves 1..20: y = 296 .. 220
  rig.Ship.Hit(1);
  ASSERT_EQ(rig.LostCount, 1);
  rig.Ship.Restart();
  rig.Frames(101);  // the fly-in records no history
  ASSERT_FALSE(rig.Ship.Entering);
  rig.Buy(ppOption);
  rig.Buy(ppOption);
  rig.Buy(ppOption);
  EXPECT_EQ(rig.Ship.Options[0]->X, 200);
  EXPECT_EQ(rig.Ship.Options[0]->Y, 300 - 4 * 11);  // 9 moves before the 20th
  EXPECT_EQ(rig.Ship.Options[1]->Y, 300 - 4 * 1);   // 19 moves before
  EXPECT_EQ(rig.Ship.Options[2]->Y, 300);           // older than any move: the creation position
}

}  // namespace
