// The beam: growth while attached, detachment with its overshoot, following the owner's height.
#include <gtest/gtest.h>

#include "Laser.h"
#include "ObjectTestSupport.h"

namespace {

using namespace objtest;

struct TLaserRig {
  TRecordingGraphic OwnerGraphic{32, 16, Rect(-12, -6, 12, 6)};
  // Taller than the beam's own hit band on purpose.
  TRecordingGraphic LaserGraphic{16, 40, Rect(0, -20, 16, 20)};
  TMovable Owner{200, 300, &OwnerGraphic};
};

TEST(Laser, GrowsBy30UntilItDetachesWithA21PixelJump) {
  TLaserRig rig;
  TLaser beam(212, 300, &rig.LaserGraphic, &rig.Owner);
  EXPECT_EQ(beam.MaxLength, 400);
  EXPECT_EQ(beam.Length, 1);
  EXPECT_EQ(beam.Speed, 30);
  EXPECT_TRUE(beam.OnTop);
  EXPECT_TRUE(beam.OwnSize);
  for (int32_t k = 1; k <= 13; ++k) {
    if (k == 5) rig.Owner.MoveTo(250, 280);  // attached: the beam starts at the owner's hit edge
    beam.Update(1);
    ASSERT_EQ(beam.Length, 1 + 30 * k);
    ASSERT_TRUE(beam.Growing);
    ASSERT_EQ(beam.X, k < 5 ? 212 : 262);
    ASSERT_EQ(beam.Y, k < 5 ? 300 : 280);
  }
  EXPECT_EQ(beam.Length, 391);
  beam.Update(1);
  EXPECT_EQ(beam.Length, 421);
  EXPECT_FALSE(beam.Growing);
  EXPECT_EQ(beam.X, 262 + 21);
  beam.Update(1);
  EXPECT_EQ(beam.Length, 421);
  EXPECT_EQ(beam.X, 313);
}

TEST(Laser, DetachedBeamSweepsRightButFollowsTheOwnersHeight) {
  TLaserRig rig;
  TLaser beam(212, 300, &rig.LaserGraphic, &rig.Owner);
  for (int i = 0; i < 14; ++i) beam.Update(1);
  ASSERT_EQ(beam.X, 233);
  rig.Owner.MoveTo(100, 150);
  beam.Update(1);
  EXPECT_EQ(beam.X, 263);
  EXPECT_EQ(beam.Y, 150);
  // Its left end leaves the field: 233 + 30 * 19 = 803.
  for (int i = 0; i < 17; ++i) beam.Update(1);
  EXPECT_EQ(beam.X, 773);
  EXPECT_FALSE(beam.IsFinished());
  beam.Update(1);
  EXPECT_EQ(beam.X, 803);
  EXPECT_TRUE(beam.IsFinished());
}

TEST(Laser, MaxLengthIsTheRoomLeftButAtMost400) {
  TLaserRig rig;
  EXPECT_EQ(TLaser(500, 300, &rig.LaserGraphic, &rig.Owner).MaxLength, 300);
  EXPECT_EQ(TLaser(300, 300, &rig.LaserGraphic, &rig.Owner).MaxLength, 400);
  EXPECT_EQ(TLaser(400, 300, &rig.LaserGraphic, &rig.Owner).MaxLength, 400);

  // A beam that reaches its MaxLength exactly keeps growing; only passing it detaches: 391, then 421.
  TLaser exact(409, 300, &rig.LaserGraphic, &rig.Owner);
  ASSERT_EQ(exact.MaxLength, 391);
  for (int i = 0; i < 13; ++i) exact.Update(1);
  EXPECT_EQ(exact.Length, 391);
  EXPECT_TRUE(exact.Growing);
  exact.Update(1);
  EXPECT_EQ(exact.Length, 421);
  EXPECT_FALSE(exact.Growing);
  EXPECT_EQ(exact.X, 212 + 30);

  // 300 is passed on the 10th update (301): a 1-pixel jump.
  TLaser beam(500, 300, &rig.LaserGraphic, &rig.Owner);
  for (int i = 0; i < 9; ++i) beam.Update(1);
  EXPECT_TRUE(beam.Growing);
  EXPECT_EQ(beam.X, 212);
  beam.Update(1);
  EXPECT_FALSE(beam.Growing);
  EXPECT_EQ(beam.Length, 301);
  EXPECT_EQ(beam.X, 213);
}

TEST(Laser, HitAreaIsASixPixelBandOverTheBeam) {
  TLaserRig rig;
  TLaser beam(212, 300, &rig.LaserGraphic, &rig.Owner);
  for (int i = 0; i < 3; ++i) beam.Update(1);
  TRect r;
  beam.GetRect(r);
  EXPECT_EQ(r, Rect(212, 297, 212 + 91, 303));
  EXPECT_EQ(beam.Width(), 91);
  EXPECT_EQ(beam.Height(), 40);
  TRecordingGraphic enemyGraphic{20, 20, Rect(-10, -10, 10, 10)};
  TVisible above(250, 283, &enemyGraphic);  // bottom 293: inside the graphic's band but not the beam's
  EXPECT_FALSE(beam.Collides(&above));
  TVisible grazing(250, 288, &enemyGraphic);  // bottom 298
  EXPECT_TRUE(beam.Collides(&grazing));
}

}  // namespace
