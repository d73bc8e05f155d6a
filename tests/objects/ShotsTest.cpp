// Straight, aimed and angled shots: direction, accumulation, truncation and the field margin.
#include <gtest/gtest.h>

#include "ObjectTestSupport.h"
#include "Shots.h"
#include "s_MathPack.h"

namespace {

using namespace objtest;

TRecordingGraphic ShotGraphic{8, 4, Rect(-4, -2, 4, 2)};

TEST(DirShot, AShotAt790IsFinishedOnTheFifthUpdate) {
  auto shot = TDirShot::Create(790, 300, &ShotGraphic, 12);
  EXPECT_EQ(shot->Speed, 12);
  for (int i = 0; i < 4; ++i) shot->Update(1);
  EXPECT_EQ(shot->X, 838);
  EXPECT_EQ(shot->Y, 300);
  EXPECT_FALSE(shot->IsFinished());
  shot->Update(1);
  EXPECT_EQ(shot->X, 850);
  EXPECT_TRUE(shot->IsFinished());
}

TEST(DirShot, FramesMultiplyTheStep) {
  auto shot = TDirShot::Create(100, 300, &ShotGraphic, 12);
  shot->Update(3);
  EXPECT_EQ(shot->X, 136);
  EXPECT_EQ(shot->Elapsed(), 3u);
}

TEST(DirShot, Angle340TurnsTheShotUpwardsThroughTheTables) {
  auto shot = TDirShot::CreateAngled(100, 300, &ShotGraphic, 340, 12);
  EXPECT_NEAR(shot->DirX, 0.867f, 0.001f);
  EXPECT_NEAR(shot->DirY, -0.498f, 0.001f);
  // (1, 0) turned by index -340 and 4095 = 3756 of the tables.
  EXPECT_EQ(shot->DirX, CosTable[3756]);
  EXPECT_EQ(shot->DirY, SinTable[3756]);
  // Ten frames: 120 pixels along the direction, about (104.0, -59.8), truncated toward zero.
  for (int i = 0; i < 10; ++i) shot->Update(1);
  EXPECT_EQ(shot->X, 204);
  EXPECT_EQ(shot->Y, 240);
}

TEST(DirShot, AimedShotFliesTowardsTheTarget) {
  TRecordingGraphic shipGraphic{32, 16, Rect(-12, -6, 12, 6)};
  TVisible target(400, 500, &shipGraphic);
  auto shot = TDirShot::CreateAimed(100, 100, &ShotGraphic, &target, 3);
  EXPECT_NEAR(shot->DirX, 0.6f, 1e-6f);
  EXPECT_NEAR(shot->DirY, 0.8f, 1e-6f);
  EXPECT_EQ(shot->Speed, 3);
  // 150 pixels would be (90, 120) from the start, but the position is summed in single precision step by
  // step: y ends a hair below 220 (219.9998) and truncates to 219, x a hair above 190.
  for (int i = 0; i < 50; ++i) shot->Update(1);
  EXPECT_EQ(shot->X, 190);
  EXPECT_EQ(shot->Y, 219);
}

TEST(DirShot, AimedAtItsOwnSpotTheShotNeverMoves) {
  TVisible target(300, 200, &ShotGraphic);
  auto shot = TDirShot::CreateAimed(300, 200, &ShotGraphic, &target, 3);
  EXPECT_EQ(shot->DirX, 0.0f);
  EXPECT_EQ(shot->DirY, 0.0f);
  for (int i = 0; i < 1000; ++i) shot->Update(1);
  EXPECT_EQ(shot->X, 300);
  EXPECT_EQ(shot->Y, 200);
  EXPECT_FALSE(shot->IsFinished());
}

TEST(DirShot, PositionsTruncateTowardZero) {
  TVisible target(-100, -100, &ShotGraphic);
  auto shot = TDirShot::CreateAimed(0, 0, &ShotGraphic, &target, 12);
  shot->DirX = -1.0f;
  shot->DirY = 0.0f;
  shot->PosX = -37.5f;
  shot->PosY = -0.75f;
  shot->Update(1);
  EXPECT_EQ(shot->PosX, -49.5f);
  EXPECT_EQ(shot->X, -49);
  EXPECT_EQ(shot->Y, 0);
  EXPECT_FALSE(shot->IsFinished());
  shot->Update(1);
  EXPECT_EQ(shot->X, -61);
  EXPECT_TRUE(shot->IsFinished());
}

TEST(DirShot, FinishedOnlyOutsideTheFiftyPixelMargin) {
  struct TCase {
    int32_t X, Y;
    bool Finished;
  };
  const TCase cases[] = {{-49, 300, false}, {-50, 300, true}, {849, 300, false}, {850, 300, true},
                         {400, -49, false}, {400, -50, true}, {400, 649, false}, {400, 650, true}};
  for (const TCase& c : cases) {
    auto shot = TDirShot::Create(c.X, c.Y, &ShotGraphic, 0);
    shot->Update(1);
    EXPECT_EQ(shot->IsFinished(), c.Finished) << c.X << "," << c.Y;
  }
}

TEST(DirShot, HitAreaIsTheGraphics) {
  auto shot = TDirShot::Create(100, 100, &ShotGraphic, 12);
  TRect r;
  shot->GetRect(r);
  EXPECT_EQ(r, Rect(96, 98, 104, 102));
  TVisible touching(108, 100, &ShotGraphic);  // its left edge is the shot's right edge
  EXPECT_FALSE(shot->Collides(&touching));
  TVisible overlapping(107, 100, &ShotGraphic);
  EXPECT_TRUE(shot->Collides(&overlapping));
}

}  // namespace
