// The ship's volleys: their timing, and which shots each shot type adds in which order.
#include <gtest/gtest.h>

#include "Laser.h"
#include "ShipRig.h"
#include "Shots.h"

namespace {

using namespace objtest;

TEST(ShipFire, FirstVolleyOnceElapsedReaches12ThenEvery12Frames) {
  ShipRig Rig;
  Rig.Frames(11, {VkZ});
  EXPECT_EQ(Rig.Shots.Count(), 0);
  Rig.Frame({VkZ});  // Elapsed 12
  ASSERT_EQ(Rig.Shots.Count(), 1);
  auto* Shot = dynamic_cast<TDirShot*>(Rig.Shots.First());
  ASSERT_NE(Shot, nullptr);
  EXPECT_EQ(Shot->X, 210);
  EXPECT_EQ(Shot->Y, 300);
  EXPECT_EQ(Shot->Speed, 12);
  EXPECT_EQ(Shot->DirX, 1.0f);
  EXPECT_EQ(Shot->DirY, 0.0f);
  EXPECT_EQ(Shot->Graphic, &Rig.ShotGraphic);

  Rig.Frames(11, {VkZ});
  EXPECT_EQ(Rig.Shots.Count(), 1);
  Rig.Frame({VkZ});  // 24
  EXPECT_EQ(Rig.Shots.Count(), 2);
  Rig.Frames(12, {VkZ});  // 36
  EXPECT_EQ(Rig.Shots.Count(), 3);
}

TEST(ShipFire, ReleasingZDoesNotResetTheInterval) {
  ShipRig Rig;
  Rig.Frames(30);
  Rig.Frame({VkZ});  // Elapsed 31: long past the interval
  EXPECT_EQ(Rig.Shots.Count(), 1);
  Rig.Frame();
  Rig.Frames(10, {VkZ});  // 42: 11 frames after the last volley
  EXPECT_EQ(Rig.Shots.Count(), 1);
  Rig.Frame({VkZ});
  EXPECT_EQ(Rig.Shots.Count(), 2);
}

TEST(ShipFire, LaserVolleysEvery24Frames) {
  ShipRig Rig;
  Rig.Buy(ppLaser);  // frames 1 and 2
  Rig.Frames(21, {VkZ});
  EXPECT_EQ(Rig.Shots.Count(), 0);
  Rig.Frame({VkZ});  // Elapsed 24
  ASSERT_EQ(Rig.Shots.Count(), 1);
  Rig.Frames(23, {VkZ});
  EXPECT_EQ(Rig.Shots.Count(), 1);
  Rig.Frame({VkZ});  // 48
  EXPECT_EQ(Rig.Shots.Count(), 2);
}

TEST(ShipFire, DoubleWithThreeOptionsAddsEightShotsForwardThenAngled) {
  ShipRig Rig;
  Rig.Frames(30, {VkUp});  // ship at y 180
  Rig.Buy(ppOption);
  Rig.Buy(ppOption);
  Rig.Buy(ppOption);
  Rig.Buy(ppDouble);
  ASSERT_EQ(Rig.Shots.Count(), 0);
  Rig.Frame({VkZ});
  const std::vector<TVisible*> Items = Rig.ShotItems();
  ASSERT_EQ(Items.size(), 8u);
  // Ship, then options 0, 1, 2: 9, 19 and 29 moves behind the 30th.
  const int32_t EmitterY[] = {180, 300 - 4 * 21, 300 - 4 * 11, 300 - 4 * 1};
  for (size_t i = 0; i < 8; ++i) {
    auto* Shot = dynamic_cast<TDirShot*>(Items[i]);
    ASSERT_NE(Shot, nullptr) << i;
    EXPECT_EQ(Shot->X, 210) << i;
    EXPECT_EQ(Shot->Y, EmitterY[i % 4]) << i;
    EXPECT_EQ(Shot->Speed, 12) << i;
    if (i < 4) {
      EXPECT_EQ(Shot->Graphic, &Rig.ShotGraphic) << i;
      EXPECT_EQ(Shot->DirY, 0.0f) << i;
    } else {
      EXPECT_EQ(Shot->Graphic, &Rig.BulletGraphic) << i;
      EXPECT_NEAR(Shot->DirX, 0.867f, 0.001f) << i;
      EXPECT_NEAR(Shot->DirY, -0.498f, 0.001f) << i;
    }
  }
}

TEST(ShipFire, LasersComeFromTheShipsHitEdgeAndTenPixelsAheadOfEachOption) {
  ShipRig Rig;
  Rig.Frames(20, {VkDown});  // ship at y 380
  Rig.Buy(ppOption);
  Rig.Buy(ppOption);
  Rig.Buy(ppLaser);
  Rig.Ship.Options[1]->MoveTo(500, 304);  // far ahead of the ship: its beam is shorter
  Rig.Frames(24, {VkZ});
  const std::vector<TVisible*> Items = Rig.ShotItems();
  ASSERT_EQ(Items.size(), 3u);
  auto* ShipBeam = dynamic_cast<TLaser*>(Items[0]);
  auto* Beam0 = dynamic_cast<TLaser*>(Items[1]);
  auto* Beam1 = dynamic_cast<TLaser*>(Items[2]);
  ASSERT_TRUE(ShipBeam && Beam0 && Beam1);
  EXPECT_EQ(ShipBeam->Owner, &Rig.Ship);
  EXPECT_EQ(ShipBeam->X, 212);
  EXPECT_EQ(ShipBeam->Y, 380);
  EXPECT_EQ(Beam0->Owner, Rig.Ship.Options[0].get());
  EXPECT_EQ(Beam0->X, 210);
  EXPECT_EQ(Beam0->Y, 300 + 4 * 11);
  EXPECT_EQ(Beam1->Owner, Rig.Ship.Options[1].get());
  EXPECT_EQ(Beam1->X, 510);
  EXPECT_EQ(Beam1->MaxLength, 290);
  EXPECT_EQ(Beam1->Y, 300 + 4 * 1);
  EXPECT_EQ(Beam1->Graphic, &Rig.LaserGraphic);
}

TEST(ShipFire, ALostShipDoesNotFire) {
  ShipRig Rig;
  Rig.Ship.Hit(1);
  Rig.Frames(50, {VkZ});
  EXPECT_EQ(Rig.Shots.Count(), 0);
}

}  // namespace
