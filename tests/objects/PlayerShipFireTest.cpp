// The ship's volleys: their timing, and which shots each shot type adds in which order.
#include <gtest/gtest.h>

#include "Laser.h"
#include "ShipRig.h"
#include "Shots.h"

namespace {

using namespace objtest;

TEST(ShipFire, FirstVolleyOnceElapsedReaches12ThenEvery12Frames) {
  TShipRig rig;
  rig.Frames(11, {kVkZ});
  EXPECT_EQ(rig.Shots.Count(), 0);
  rig.Frame({kVkZ});  // Elapsed 12
  ASSERT_EQ(rig.Shots.Count(), 1);
  auto* shot = dynamic_cast<TDirShot*>(rig.Shots.First());
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(shot->X, 210);
  EXPECT_EQ(shot->Y, 300);
  EXPECT_EQ(shot->Speed, 12);
  EXPECT_EQ(shot->DirX, 1.0f);
  EXPECT_EQ(shot->DirY, 0.0f);
  EXPECT_EQ(shot->Graphic, &rig.ShotGraphic);

  rig.Frames(11, {kVkZ});
  EXPECT_EQ(rig.Shots.Count(), 1);
  rig.Frame({kVkZ});  // 24
  EXPECT_EQ(rig.Shots.Count(), 2);
  rig.Frames(12, {kVkZ});  // 36
  EXPECT_EQ(rig.Shots.Count(), 3);
}

TEST(ShipFire, ReleasingZDoesNotResetTheInterval) {
  TShipRig rig;
  rig.Frames(30);
  rig.Frame({kVkZ});  // Elapsed 31: long past the interval
  EXPECT_EQ(rig.Shots.Count(), 1);
  rig.Frame();
  rig.Frames(10, {kVkZ});  // 42: 11 frames after the last volley
  EXPECT_EQ(rig.Shots.Count(), 1);
  rig.Frame({kVkZ});
  EXPECT_EQ(rig.Shots.Count(), 2);
}

TEST(ShipFire, LaserVolleysEvery24Frames) {
  TShipRig rig;
  rig.Buy(ppLaser);  // frames 1 and 2
  rig.Frames(21, {kVkZ});
  EXPECT_EQ(rig.Shots.Count(), 0);
  rig.Frame({kVkZ});  // Elapsed 24
  ASSERT_EQ(rig.Shots.Count(), 1);
  rig.Frames(23, {kVkZ});
  EXPECT_EQ(rig.Shots.Count(), 1);
  rig.Frame({kVkZ});  // 48
  EXPECT_EQ(rig.Shots.Count(), 2);
}

TEST(ShipFire, DoubleWithThreeOptionsAddsEightShotsForwardThenAngled) {
  TShipRig rig;
  rig.Frames(30, {kVkUp});  // ship at y 180
  rig.Buy(ppOption);
  rig.Buy(ppOption);
  rig.Buy(ppOption);
  rig.Buy(ppDouble);
  ASSERT_EQ(rig.Shots.Count(), 0);
  rig.Frame({kVkZ});
  const std::vector<TVisible*> items = rig.ShotItems();
  ASSERT_EQ(items.size(), 8u);
  // Ship, then options 0, 1, 2: 9, 19 and 29 moves behind the 30th.
  const int32_t emitterY[] = {180, 300 - 4 * 21, 300 - 4 * 11, 300 - 4 * 1};
  for (size_t i = 0; i < 8; ++i) {
    auto* shot = dynamic_cast<TDirShot*>(items[i]);
    ASSERT_NE(shot, nullptr) << i;
    EXPECT_EQ(shot->X, 210) << i;
    EXPECT_EQ(shot->Y, emitterY[i % 4]) << i;
    EXPECT_EQ(shot->Speed, 12) << i;
    if (i < 4) {
      EXPECT_EQ(shot->Graphic, &rig.ShotGraphic) << i;
      EXPECT_EQ(shot->DirY, 0.0f) << i;
    } else {
      EXPECT_EQ(shot->Graphic, &rig.BulletGraphic) << i;
      EXPECT_NEAR(shot->DirX, 0.867f, 0.001f) << i;
      EXPECT_NEAR(shot->DirY, -0.498f, 0.001f) << i;
    }
  }
}

TEST(ShipFire, LasersComeFromTheShipsHitEdgeAndTenPixelsAheadOfEachOption) {
  TShipRig rig;
  rig.Frames(20, {kVkDown});  // ship at y 380
  rig.Buy(ppOption);
  rig.Buy(ppOption);
  rig.Buy(ppLaser);
  rig.Ship.Options[1]->MoveTo(500, 304);  // far ahead of the ship: its beam is shorter
  rig.Frames(24, {kVkZ});
  const std::vector<TVisible*> items = rig.ShotItems();
  ASSERT_EQ(items.size(), 3u);
  auto* shipBeam = dynamic_cast<TLaser*>(items[0]);
  auto* beam0 = dynamic_cast<TLaser*>(items[1]);
  auto* beam1 = dynamic_cast<TLaser*>(items[2]);
  ASSERT_TRUE(shipBeam && beam0 && beam1);
  EXPECT_EQ(shipBeam->Owner, &rig.Ship);
  EXPECT_EQ(shipBeam->X, 212);
  EXPECT_EQ(shipBeam->Y, 380);
  EXPECT_EQ(beam0->Owner, rig.Ship.Options[0].get());
  EXPECT_EQ(beam0->X, 210);
  EXPECT_EQ(beam0->Y, 300 + 4 * 11);
  EXPECT_EQ(beam1->Owner, rig.Ship.Options[1].get());
  EXPECT_EQ(beam1->X, 510);
  EXPECT_EQ(beam1->MaxLength, 290);
  EXPECT_EQ(beam1->Y, 300 + 4 * 1);
  EXPECT_EQ(beam1->Graphic, &rig.LaserGraphic);
}

TEST(ShipFire, ALostShipDoesNotFire) {
  TShipRig rig;
  rig.Ship.Hit(1);
  rig.Frames(50, {kVkZ});
  EXPECT_EQ(rig.Shots.Count(), 0);
}

}  // namespace
