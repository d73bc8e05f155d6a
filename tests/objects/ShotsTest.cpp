// Straight, aimed and angled shots: direction, accumulation, truncation and the field margin.
#include <gtest/gtest.h>

#include "ObjectTestSupport.h"
#include "Shots.h"
#include "s_MathPack.h"

namespace {

using namespace objtest;

TRecordingGraphic ShotGraphic{8, 4, Rect(-4, -2, 4, 2)};

TEST(DirShot, AShotAt790IsFinishedOnTheFifthUpdate) {
  auto Shot = TDirShot::Create(790, 300, &ShotGraphic, 12);
  EXPECT_EQ(Shot->Speed, 12);
  for (int i = 0; i < 4; ++i) Shot->Update(1);
  EXPECT_EQ(Shot->X, 838);
  EXPECT_EQ(Shot->Y, 300);
  EXPECT_FALSE(Shot->IsFinished());
  Shot->Update(1);
  EXPECT_EQ(Shot->X, 850);
  EXPECT_TRUE(Shot->IsFinished());
}

TEST(DirShot, FramesMultiplyTheStep) {
  auto Shot = TDirShot::Create(100, 300, &ShotGraphic, 12);
  Shot->Update(3);
  EXPECT_EQ(Shot->X, 136);
  EXPECT_EQ(Shot->Elapsed(), 3u);
}

TEST(DirShot, Angle340TurnsTheShotUpwardsThroughTheTables) {
  auto Shot = TDirShot::CreateAngled(100, 300, &ShotGraphic, 340, 12);
  EXPECT_NEAR(Shot->DirX, 0.867f, 0.001f);
  EXPECT_NEAR(Shot->DirY, -0.498f, 0.001f);
  // (1, 0) turned by index -340 and 4095 = 3756 of the tables.
  EXPECT_EQ(Shot->DirX, CosTable[3756]);
  EXPECT_EQ(Shot->DirY, SinTable[3756]);
  // Ten frames: 120 pixels along the direction, about (104.0, -59.8), truncated toward zero.
  for (int i = 0; i < 10; ++i) Shot->Update(1);
  EXPECT_EQ(Shot->X, 204);
  EXPECT_EQ(Shot->Y, 240);
}

TEST(DirShot, AimedShotFliesTowardsTheTarget) {
  TRecordingGraphic ShipGraphic{32, 16, Rect(-12, -6, 12, 6)};
  TVisible Target(400, 500, &ShipGraphic);
  auto Shot = TDirShot::CreateAimed(100, 100, &ShotGraphic, &Target, 3);
  EXPECT_NEAR(Shot->DirX, 0.6f, 1e-6f);
  EXPECT_NEAR(Shot->DirY, 0.8f, 1e-6f);
  EXPECT_EQ(Shot->Speed, 3);
  // 150 pixels would be (90, 120) from the start, but the position is summed in single precision step by
  // step: y ends a hair below 220 (219.9998) and truncates to 219, x a hair above 190.
  for (int i = 0; i < 50; ++i) Shot->Update(1);
  EXPECT_EQ(Shot->X, 190);
  EXPECT_EQ(Shot->Y, 219);
}

TEST(DirShot, AimedAtItsOwnSpotTheShotNeverMoves) {
  TVisible Target(300, 200, &ShotGraphic);
  auto Shot = TDirShot::CreateAimed(300, 200, &ShotGraphic, &Target, 3);
  EXPECT_EQ(Shot->DirX, 0.0f);
  EXPECT_EQ(Shot->DirY, 0.0f);
  for (int i = 0; i < 1000; ++i) Shot->Update(1);
  EXPECT_EQ(Shot->X, 300);
  EXPECT_EQ(Shot->Y, 200);
  EXPECT_FALSE(Shot->IsFinished());
}

TEST(DirShot, PositionsTruncateTowardZero) {
  TVisible Target(-100, -100, &ShotGraphic);
  auto Shot = TDirShot::CreateAimed(0, 0, &ShotGraphic, &Target, 12);
  Shot->DirX = -1.0f;
  Shot->DirY = 0.0f;
  Shot->PosX = -37.5f;
  Shot->PosY = -0.75f;
  Shot->Update(1);
  EXPECT_EQ(Shot->PosX, -49.5f);
  EXPECT_EQ(Shot->X, -49);
  EXPECT_EQ(Shot->Y, 0);
  EXPECT_FALSE(Shot->IsFinished());
  Shot->Update(1);
  EXPECT_EQ(Shot->X, -61);
  EXPECT_TRUE(Shot->IsFinished());
}

TEST(DirShot, FinishedOnlyOutsideTheFiftyPixelMargin) {
  struct Case {
    int32_t X, Y;
    bool Finished;
  };
  const Case Cases[] = {{-49, 300, false}, {-50, 300, true}, {849, 300, false}, {850, 300, true},
                        {400, -49, false}, {400, -50, true}, {400, 649, false}, {400, 650, true}};
  for (const Case& C : Cases) {
    auto Shot = TDirShot::Create(C.X, C.Y, &ShotGraphic, 0);
    Shot->Update(1);
    EXPECT_EQ(Shot->IsFinished(), C.Finished) << C.X << "," << C.Y;
  }
}

TEST(DirShot, HitAreaIsTheGraphics) {
  auto Shot = TDirShot::Create(100, 100, &ShotGraphic, 12);
  TRect R;
  Shot->GetRect(R);
  EXPECT_EQ(R, Rect(96, 98, 104, 102));
  TVisible Touching(108, 100, &ShotGraphic);  // its left edge is the shot's right edge
  EXPECT_FALSE(Shot->Collides(&Touching));
  TVisible Overlapping(107, 100, &ShotGraphic);
  EXPECT_TRUE(Shot->Collides(&Overlapping));
}

}  // namespace
