// Buying power-ups from the meter, losing ships and starting again.
#include <gtest/gtest.h>

#include "ShipRig.h"

namespace {

using namespace objtest;

TEST(ShipPowerUp, CursorCyclesFromNothingThroughTheSixCells) {
  TShipRig rig;
  EXPECT_EQ(rig.Ship.Cursor, kCursorNone);
  const uint8_t expected[] = {ppSpeed, ppMissile, ppDouble, ppLaser, ppOption, ppShield, ppSpeed, ppMissile};
  for (uint8_t position : expected) {
    rig.Ship.AdvanceCursor();
    EXPECT_EQ(rig.Ship.Cursor, position);
  }
}

TEST(ShipPowerUp, FiveSpeedUpsReachNineAndTheSixthIsRefused) {
  TShipRig rig;
  for (int32_t i = 1; i <= 5; ++i) {
    rig.Buy(ppSpeed);
    EXPECT_EQ(rig.Ship.Speed, 4 + i);
    EXPECT_EQ(rig.Ship.Cursor, kCursorNone);
  }
  EXPECT_FALSE(rig.Ship.CanApply(ppSpeed));
  rig.Buy(ppSpeed);
  EXPECT_EQ(rig.Ship.Speed, 9);
  EXPECT_EQ(rig.Ship.Cursor, ppSpeed);  // the selection stays
  rig.Frame({kVkRight});
  EXPECT_EQ(rig.Ship.X, 209);
}

TEST(ShipPowerUp, MissileAndShieldCanBeSelectedButNeverBought) {
  TShipRig rig;
  for (uint8_t position : {ppMissile, ppShield}) {
    rig.Buy(position);
    EXPECT_EQ(rig.Ship.Cursor, position);
    EXPECT_FALSE(rig.Ship.CanApply(position));
  }
  EXPECT_FALSE(rig.Ship.CanApply(kCursorNone));
  EXPECT_EQ(rig.Ship.Speed, 4);
  EXPECT_EQ(rig.Ship.ShotType, stNormal);
  EXPECT_EQ(rig.Ship.OptionCount, 0);
}

TEST(ShipPowerUp, CMustBeNewlyPressed) {
  TShipRig rig;
  rig.Ship.AdvanceCursor();
  rig.Frame({kVkC});
  EXPECT_EQ(rig.Ship.Speed, 5);
  rig.Ship.AdvanceCursor();
  rig.Frame({kVkC});  // still held from the last frame
  EXPECT_EQ(rig.Ship.Speed, 5);
  EXPECT_EQ(rig.Ship.Cursor, ppSpeed);
  rig.Frame();
  rig.Frame({kVkC});
  EXPECT_EQ(rig.Ship.Speed, 6);
}

TEST(ShipPowerUp, DoubleAndLaserReplaceEachOther) {
  TShipRig rig;
  EXPECT_TRUE(rig.Ship.CanApply(ppDouble));
  EXPECT_TRUE(rig.Ship.CanApply(ppLaser));
  rig.Buy(ppDouble);
  EXPECT_EQ(rig.Ship.ShotType, stDouble);
  EXPECT_FALSE(rig.Ship.CanApply(ppDouble));
  rig.Buy(ppLaser);
  EXPECT_EQ(rig.Ship.ShotType, stLaser);
  EXPECT_FALSE(rig.Ship.CanApply(ppLaser));
  EXPECT_TRUE(rig.Ship.CanApply(ppDouble));
  rig.Buy(ppDouble);
  EXPECT_EQ(rig.Ship.ShotType, stDouble);
}

TEST(ShipPowerUp, AtMostFourOptionsInIndexOrder) {
  TShipRig rig;
  for (int32_t i = 1; i <= 4; ++i) {
    rig.Buy(ppOption);
    EXPECT_EQ(rig.Ship.OptionCount, i);
    for (int32_t n = 0; n < 4; ++n) EXPECT_EQ(rig.Ship.Options[n]->Active, n < i);
  }
  rig.Buy(ppOption);
  EXPECT_EQ(rig.Ship.OptionCount, 4);
  EXPECT_EQ(rig.Ship.Cursor, ppOption);
}

TEST(ShipLives, ALostShipCallsTheHandlerOnceAndSteersButCannotBuy) {
  TShipRig rig;
  rig.Ship.Hit(1);
  EXPECT_EQ(rig.Ship.Energy, 0);
  EXPECT_EQ(rig.Ship.Lives, 2);
  EXPECT_EQ(rig.LostCount, 1);
  EXPECT_EQ(rig.LastLostSender, &rig.Ship);
  rig.Ship.Hit(1);  // already lost
  EXPECT_EQ(rig.LostCount, 1);
  EXPECT_EQ(rig.Ship.Lives, 2);

  rig.Buy(ppSpeed);
  EXPECT_EQ(rig.Ship.Speed, 4);
  EXPECT_EQ(rig.Ship.Cursor, ppSpeed);
  rig.Frame({kVkDown});
  EXPECT_EQ(rig.Ship.Y, 304);
}

TEST(ShipLives, RestartClearsEveryPowerUpAndFliesIn) {
  TShipRig rig;
  rig.Buy(ppSpeed);
  rig.Buy(ppLaser);
  rig.Buy(ppOption);
  rig.Buy(ppOption);
  rig.Ship.AdvanceCursor();
  rig.Ship.Hit(1);
  rig.Ship.Restart();
  EXPECT_EQ(rig.Ship.Energy, 1);
  EXPECT_EQ(rig.Ship.Lives, 2);
  EXPECT_EQ(rig.Ship.Speed, 4);
  EXPECT_EQ(rig.Ship.ShotType, stNormal);
  EXPECT_EQ(rig.Ship.Cursor, kCursorNone);
  EXPECT_EQ(rig.Ship.OptionCount, 0);
  for (int32_t n = 0; n < 4; ++n) EXPECT_FALSE(rig.Ship.Options[n]->Active);
  EXPECT_TRUE(rig.Ship.Entering);
  EXPECT_EQ(rig.Ship.X, 0);
  EXPECT_EQ(rig.Ship.Y, 300);
}

TEST(ShipLives, TheThirdLossLeavesNoLivesAndRestartDoesNothing) {
  TShipRig rig;
  for (int32_t loss = 1; loss <= 3; ++loss) {
    rig.Ship.Hit(1);
    EXPECT_EQ(rig.Ship.Lives, 3 - loss);
    EXPECT_EQ(rig.LostCount, loss);
    rig.Ship.Restart();
    rig.Frames(101);
  }
  EXPECT_EQ(rig.Ship.Energy, 0);
  EXPECT_FALSE(rig.Ship.Entering);
  // The handler still reports a loss with no ships left; the stock stays at 0.
  rig.Ship.Energy = 1;
  rig.Ship.Hit(1);
  EXPECT_EQ(rig.Ship.Lives, 0);
  EXPECT_EQ(rig.LostCount, 4);
}

TEST(ShipDraw, DrawsItselfThenTheActiveOptionsInOrder) {
  TShipRig rig;
  rig.Buy(ppOption);
  rig.Buy(ppOption);
  rig.Ship.Draw(nullptr);
  ASSERT_EQ(rig.ShipGraphic.Drawn.size(), 1u);
  EXPECT_EQ(rig.ShipGraphic.Drawn[0], &rig.Ship);
  ASSERT_EQ(rig.OptionGraphic.Drawn.size(), 2u);
  EXPECT_EQ(rig.OptionGraphic.Drawn[0], rig.Ship.Options[0].get());
  EXPECT_EQ(rig.OptionGraphic.Drawn[1], rig.Ship.Options[1].get());
  EXPECT_TRUE(rig.Ship.Options[0]->OnTop);
  EXPECT_FALSE(rig.Ship.OnTop);
}

}  // namespace
