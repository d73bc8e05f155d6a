// Buying power-ups from the meter, losing ships and starting again.
#include <gtest/gtest.h>

#include "ShipRig.h"

namespace {

using namespace objtest;

TEST(ShipPowerUp, CursorCyclesFromNothingThroughTheSixCells) {
  ShipRig Rig;
  EXPECT_EQ(Rig.Ship.Cursor, CursorNone);
  const uint8_t Expected[] = {ppSpeed, ppMissile, ppDouble, ppLaser, ppOption, ppShield, ppSpeed, ppMissile};
  for (uint8_t Position : Expected) {
    Rig.Ship.AdvanceCursor();
    EXPECT_EQ(Rig.Ship.Cursor, Position);
  }
}

TEST(ShipPowerUp, FiveSpeedUpsReachNineAndTheSixthIsRefused) {
  ShipRig Rig;
  for (int32_t i = 1; i <= 5; ++i) {
    Rig.Buy(ppSpeed);
    EXPECT_EQ(Rig.Ship.Speed, 4 + i);
    EXPECT_EQ(Rig.Ship.Cursor, CursorNone);
  }
  EXPECT_FALSE(Rig.Ship.CanApply(ppSpeed));
  Rig.Buy(ppSpeed);
  EXPECT_EQ(Rig.Ship.Speed, 9);
  EXPECT_EQ(Rig.Ship.Cursor, ppSpeed);  // the selection stays
  Rig.Frame({VkRight});
  EXPECT_EQ(Rig.Ship.X, 209);
}

TEST(ShipPowerUp, MissileAndShieldCanBeSelectedButNeverBought) {
  ShipRig Rig;
  for (uint8_t Position : {ppMissile, ppShield}) {
    Rig.Buy(Position);
    EXPECT_EQ(Rig.Ship.Cursor, Position);
    EXPECT_FALSE(Rig.Ship.CanApply(Position));
  }
  EXPECT_FALSE(Rig.Ship.CanApply(CursorNone));
  EXPECT_EQ(Rig.Ship.Speed, 4);
  EXPECT_EQ(Rig.Ship.ShotType, stNormal);
  EXPECT_EQ(Rig.Ship.OptionCount, 0);
}

TEST(ShipPowerUp, CMustBeNewlyPressed) {
  ShipRig Rig;
  Rig.Ship.AdvanceCursor();
  Rig.Frame({VkC});
  EXPECT_EQ(Rig.Ship.Speed, 5);
  Rig.Ship.AdvanceCursor();
  Rig.Frame({VkC});  // still held from the last frame
  EXPECT_EQ(Rig.Ship.Speed, 5);
  EXPECT_EQ(Rig.Ship.Cursor, ppSpeed);
  Rig.Frame();
  Rig.Frame({VkC});
  EXPECT_EQ(Rig.Ship.Speed, 6);
}

TEST(ShipPowerUp, DoubleAndLaserReplaceEachOther) {
  ShipRig Rig;
  EXPECT_TRUE(Rig.Ship.CanApply(ppDouble));
  EXPECT_TRUE(Rig.Ship.CanApply(ppLaser));
  Rig.Buy(ppDouble);
  EXPECT_EQ(Rig.Ship.ShotType, stDouble);
  EXPECT_FALSE(Rig.Ship.CanApply(ppDouble));
  Rig.Buy(ppLaser);
  EXPECT_EQ(Rig.Ship.ShotType, stLaser);
  EXPECT_FALSE(Rig.Ship.CanApply(ppLaser));
  EXPECT_TRUE(Rig.Ship.CanApply(ppDouble));
  Rig.Buy(ppDouble);
  EXPECT_EQ(Rig.Ship.ShotType, stDouble);
}

TEST(ShipPowerUp, AtMostFourOptionsInIndexOrder) {
  ShipRig Rig;
  for (int32_t i = 1; i <= 4; ++i) {
    Rig.Buy(ppOption);
    EXPECT_EQ(Rig.Ship.OptionCount, i);
    for (int32_t n = 0; n < 4; ++n) EXPECT_EQ(Rig.Ship.Options[n]->Active, n < i);
  }
  Rig.Buy(ppOption);
  EXPECT_EQ(Rig.Ship.OptionCount, 4);
  EXPECT_EQ(Rig.Ship.Cursor, ppOption);
}

TEST(ShipLives, ALostShipCallsTheHandlerOnceAndSteersButCannotBuy) {
  ShipRig Rig;
  Rig.Ship.Hit(1);
  EXPECT_EQ(Rig.Ship.Energy, 0);
  EXPECT_EQ(Rig.Ship.Lives, 2);
  EXPECT_EQ(Rig.LostCount, 1);
  EXPECT_EQ(Rig.LastLostSender, &Rig.Ship);
  Rig.Ship.Hit(1);  // already lost
  EXPECT_EQ(Rig.LostCount, 1);
  EXPECT_EQ(Rig.Ship.Lives, 2);

  Rig.Buy(ppSpeed);
  EXPECT_EQ(Rig.Ship.Speed, 4);
  EXPECT_EQ(Rig.Ship.Cursor, ppSpeed);
  Rig.Frame({VkDown});
  EXPECT_EQ(Rig.Ship.Y, 304);
}

TEST(ShipLives, RestartClearsEveryPowerUpAndFliesIn) {
  ShipRig Rig;
  Rig.Buy(ppSpeed);
  Rig.Buy(ppLaser);
  Rig.Buy(ppOption);
  Rig.Buy(ppOption);
  Rig.Ship.AdvanceCursor();
  Rig.Ship.Hit(1);
  Rig.Ship.Restart();
  EXPECT_EQ(Rig.Ship.Energy, 1);
  EXPECT_EQ(Rig.Ship.Lives, 2);
  EXPECT_EQ(Rig.Ship.Speed, 4);
  EXPECT_EQ(Rig.Ship.ShotType, stNormal);
  EXPECT_EQ(Rig.Ship.Cursor, CursorNone);
  EXPECT_EQ(Rig.Ship.OptionCount, 0);
  for (int32_t n = 0; n < 4; ++n) EXPECT_FALSE(Rig.Ship.Options[n]->Active);
  EXPECT_TRUE(Rig.Ship.Entering);
  EXPECT_EQ(Rig.Ship.X, 0);
  EXPECT_EQ(Rig.Ship.Y, 300);
}

TEST(ShipLives, TheThirdLossLeavesNoLivesAndRestartDoesNothing) {
  ShipRig Rig;
  for (int32_t Loss = 1; Loss <= 3; ++Loss) {
    Rig.Ship.Hit(1);
    EXPECT_EQ(Rig.Ship.Lives, 3 - Loss);
    EXPECT_EQ(Rig.LostCount, Loss);
    Rig.Ship.Restart();
    Rig.Frames(101);
  }
  EXPECT_EQ(Rig.Ship.Energy, 0);
  EXPECT_FALSE(Rig.Ship.Entering);
  // The handler still reports a loss with no ships left; the stock stays at 0.
  Rig.Ship.Energy = 1;
  Rig.Ship.Hit(1);
  EXPECT_EQ(Rig.Ship.Lives, 0);
  EXPECT_EQ(Rig.LostCount, 4);
}

TEST(ShipDraw, DrawsItselfThenTheActiveOptionsInOrder) {
  ShipRig Rig;
  Rig.Buy(ppOption);
  Rig.Buy(ppOption);
  Rig.Ship.Draw(nullptr);
  ASSERT_EQ(Rig.ShipGraphic.Drawn.size(), 1u);
  EXPECT_EQ(Rig.ShipGraphic.Drawn[0], &Rig.Ship);
  ASSERT_EQ(Rig.OptionGraphic.Drawn.size(), 2u);
  EXPECT_EQ(Rig.OptionGraphic.Drawn[0], Rig.Ship.Options[0].get());
  EXPECT_EQ(Rig.OptionGraphic.Drawn[1], Rig.Ship.Options[1].get());
  EXPECT_TRUE(Rig.Ship.Options[0]->OnTop);
  EXPECT_FALSE(Rig.Ship.OnTop);
}

}  // namespace
