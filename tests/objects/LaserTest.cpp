// The beam: growth while attached, detachment with its overshoot, following the owner's height.
#include <gtest/gtest.h>

#include "Laser.h"
#include "ObjectTestSupport.h"

namespace {

using namespace objtest;

struct LaserRig {
  TRecordingGraphic OwnerGraphic{32, 16, Rect(-12, -6, 12, 6)};
  // Taller than the beam's own hit band on purpose.
  TRecordingGraphic LaserGraphic{16, 40, Rect(0, -20, 16, 20)};
  TMovable Owner{200, 300, &OwnerGraphic};
};

TEST(Laser, GrowsBy30UntilItDetachesWithA21PixelJump) {
  LaserRig Rig;
  TLaser Beam(212, 300, &Rig.LaserGraphic, &Rig.Owner);
  EXPECT_EQ(Beam.MaxLength, 400);
  EXPECT_EQ(Beam.Length, 1);
  EXPECT_EQ(Beam.Speed, 30);
  EXPECT_TRUE(Beam.OnTop);
  EXPECT_TRUE(Beam.OwnSize);
  for (int32_t k = 1; k <= 13; ++k) {
    if (k == 5) Rig.Owner.MoveTo(250, 280);  // attached: the beam starts at the owner's hit edge
    Beam.Update(1);
    ASSERT_EQ(Beam.Length, 1 + 30 * k);
    ASSERT_TRUE(Beam.Growing);
    ASSERT_EQ(Beam.X, k < 5 ? 212 : 262);
    ASSERT_EQ(Beam.Y, k < 5 ? 300 : 280);
  }
  EXPECT_EQ(Beam.Length, 391);
  Beam.Update(1);
  EXPECT_EQ(Beam.Length, 421);
  EXPECT_FALSE(Beam.Growing);
  EXPECT_EQ(Beam.X, 262 + 21);
  Beam.Update(1);
  EXPECT_EQ(Beam.Length, 421);
  EXPECT_EQ(Beam.X, 313);
}

TEST(Laser, DetachedBeamSweepsRightButFollowsTheOwnersHeight) {
  LaserRig Rig;
  TLaser Beam(212, 300, &Rig.LaserGraphic, &Rig.Owner);
  for (int i = 0; i < 14; ++i) Beam.Update(1);
  ASSERT_EQ(Beam.X, 233);
  Rig.Owner.MoveTo(100, 150);
  Beam.Update(1);
  EXPECT_EQ(Beam.X, 263);
  EXPECT_EQ(Beam.Y, 150);
  // Its left end leaves the field: 233 + 30 * 19 = 803.
  for (int i = 0; i < 17; ++i) Beam.Update(1);
  EXPECT_EQ(Beam.X, 773);
  EXPECT_FALSE(Beam.IsFinished());
  Beam.Update(1);
  EXPECT_EQ(Beam.X, 803);
  EXPECT_TRUE(Beam.IsFinished());
}

TEST(Laser, MaxLengthIsTheRoomLeftButAtMost400) {
  LaserRig Rig;
  EXPECT_EQ(TLaser(500, 300, &Rig.LaserGraphic, &Rig.Owner).MaxLength, 300);
  EXPECT_EQ(TLaser(300, 300, &Rig.LaserGraphic, &Rig.Owner).MaxLength, 400);
  EXPECT_EQ(TLaser(400, 300, &Rig.LaserGraphic, &Rig.Owner).MaxLength, 400);

  // A beam that reaches its MaxLength exactly keeps growing; only passing it detaches: 391, then 421.
  TLaser Exact(409, 300, &Rig.LaserGraphic, &Rig.Owner);
  ASSERT_EQ(Exact.MaxLength, 391);
  for (int i = 0; i < 13; ++i) Exact.Update(1);
  EXPECT_EQ(Exact.Length, 391);
  EXPECT_TRUE(Exact.Growing);
  Exact.Update(1);
  EXPECT_EQ(Exact.Length, 421);
  EXPECT_FALSE(Exact.Growing);
  EXPECT_EQ(Exact.X, 212 + 30);

  // 300 is passed on the 10th update (301): a 1-pixel jump.
  TLaser Beam(500, 300, &Rig.LaserGraphic, &Rig.Owner);
  for (int i = 0; i < 9; ++i) Beam.Update(1);
  EXPECT_TRUE(Beam.Growing);
  EXPECT_EQ(Beam.X, 212);
  Beam.Update(1);
  EXPECT_FALSE(Beam.Growing);
  EXPECT_EQ(Beam.Length, 301);
  EXPECT_EQ(Beam.X, 213);
}

TEST(Laser, HitAreaIsASixPixelBandOverTheBeam) {
  LaserRig Rig;
  TLaser Beam(212, 300, &Rig.LaserGraphic, &Rig.Owner);
  for (int i = 0; i < 3; ++i) Beam.Update(1);
  TRect R;
  Beam.GetRect(R);
  EXPECT_EQ(R, Rect(212, 297, 212 + 91, 303));
  EXPECT_EQ(Beam.Width(), 91);
  EXPECT_EQ(Beam.Height(), 40);
  TRecordingGraphic EnemyGraphic{20, 20, Rect(-10, -10, 10, 10)};
  TVisible Above(250, 283, &EnemyGraphic);  // bottom 293: inside the graphic's band but not the beam's
  EXPECT_FALSE(Beam.Collides(&Above));
  TVisible Grazing(250, 288, &EnemyGraphic);  // bottom 298
  EXPECT_TRUE(Beam.Collides(&Grazing));
}

}  // namespace
