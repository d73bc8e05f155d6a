// Enemies: the eight motion codes, the ends of their lives and the destroyed handler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "Enemy.h"
#include "EnemyList.h"
#include "ObjectTestSupport.h"
#include "StageDefs.h"

namespace {

using namespace objtest;

TRecordingGraphic BotGraphic{32, 32, Rect(-12, -12, 12, 12)};

std::unique_ptr<TEnemyDef> MakeDef(uint8_t Motion, int32_t X, int32_t Y, int32_t Speed, int32_t HP = 1) {
  auto Def = std::make_unique<TEnemyDef>();
  Def->Motion = Motion;
  Def->X = X;
  Def->Y = Y;
  Def->Speed = Speed;
  Def->HP = HP;
  Def->Graphic = &BotGraphic;
  Def->Group = -1;
  return Def;
}

void Advance(TEnemy& Enemy, int32_t Updates) {
  for (int32_t i = 0; i < Updates; ++i) Enemy.Update(1);
}

TEST(Enemy, TakesItsStateFromTheDefinition) {
  auto Def = MakeDef(mtStraight, 810, 120, 3, 7);
  Def->Item = ikPowerUp;
  Def->Group = 2;
  Def->StageClear = true;
  TEnemy Enemy(Def.get());
  EXPECT_EQ(Enemy.X, 810);
  EXPECT_EQ(Enemy.Y, 120);
  EXPECT_EQ(Enemy.Graphic, &BotGraphic);
  EXPECT_EQ(Enemy.HP, 7);
  EXPECT_EQ(Enemy.Speed, 3);
  EXPECT_EQ(Enemy.Distance, 0);
  EXPECT_TRUE(Enemy.HasItem());
  EXPECT_EQ(Enemy.Item(), ikPowerUp);
  EXPECT_EQ(Enemy.GroupIndex(), 2);
  EXPECT_TRUE(Enemy.IsStageClear());
  EXPECT_EQ(Enemy.Motion(), mtStraight);
  auto Plain = MakeDef(mtZigzag1, 0, 0, 1);
  EXPECT_FALSE(TEnemy(Plain.get()).HasItem());
}

TEST(Enemy, StraightLeavesSilentlyAtMinus100) {
  auto Def = MakeDef(mtStraight, -97, 250, 1);
  TEnemyLinkedList List;
  int32_t Destroyed = 0;
  List.SetOnDestroyed([&](TObject*) { ++Destroyed; });
  auto* Enemy = new TEnemy(Def.get());
  List.Add(Enemy);
  List.UpdateAll(1);
  List.UpdateAll(1);
  EXPECT_EQ(Enemy->X, -99);
  EXPECT_FALSE(Enemy->IsFinished());
  List.UpdateAll(1);
  EXPECT_EQ(Enemy->X, -100);
  EXPECT_EQ(Enemy->Y, 250);
  EXPECT_TRUE(Enemy->IsFinished());
  List.RemoveFinished();
  EXPECT_EQ(List.Count(), 0);
  EXPECT_EQ(Destroyed, 0);
}

// Definitions built in code are not bound by the loader's budgets: every motion with the extreme speeds, over
// many frames, stays defined (the sanitizer build checks) and within the travel limit.
TEST(Enemy, ExtremeSpeedsNeitherOverflowNorWrap) {
  for (uint8_t Motion = 0; Motion <= mtBoss1; ++Motion) {
    for (int32_t Speed : {INT32_MIN, INT32_MAX, -1000}) {
      auto Def = MakeDef(Motion, 800, 300, Speed, 5);
      TEnemy Enemy(Def.get());
      for (uint32_t Frames : {1U, 1U, 0xFFFFFFFFU, 3U}) Enemy.Update(Frames);
      Advance(Enemy, 2000);
      // A path enemy's place is its distance from the path's first point.
      EXPECT_LE(std::abs(int64_t{Enemy.X}), (int64_t{1} << 30) + 800) << int{Motion} << " " << Speed;
      EXPECT_LE(std::abs(int64_t{Enemy.Distance}), int64_t{1} << 30) << int{Motion} << " " << Speed;
      // Flying right for ever, a straight enemy stays on the field's far side; flying left it is gone.
      if (Motion == mtStraight) {
        EXPECT_EQ(Enemy.IsFinished(), Speed > 0) << Speed;
      }
    }
  }
}

TEST(Enemy, StraightMovesSpeedTimesFrames) {
  auto Def = MakeDef(mtStraight, 800, 100, 5);
  TEnemy Enemy(Def.get());
  Enemy.Update(3);
  EXPECT_EQ(Enemy.X, 785);
}

TEST(Enemy, AnUnknownMotionCodeFliesStraightAndLeaves) {
  auto Def = MakeDef(9, -90, 250, 5);
  TEnemy Enemy(Def.get());
  Enemy.Update(1);
  EXPECT_EQ(Enemy.X, -95);
  EXPECT_FALSE(Enemy.IsFinished());
  Enemy.Update(1);
  EXPECT_TRUE(Enemy.IsFinished());
}

TEST(Enemy, Zigzag1RidesASineWaveAroundItsDefinitionsY) {
  // sin(700 / 1.5 degrees) * 30 = 28.7; sin(400 / 1.5 degrees) * 30 = -29.9, truncated toward zero.
  auto At700 = MakeDef(mtZigzag1, 705, 300, 5);
  TEnemy A(At700.get());
  A.Update(1);
  EXPECT_EQ(A.X, 700);
  EXPECT_EQ(A.Y, 328);
  auto At400 = MakeDef(mtZigzag1, 405, 300, 5);
  TEnemy B(At400.get());
  B.Update(1);
  EXPECT_EQ(B.X, 400);
  EXPECT_EQ(B.Y, 271);
  // One period is 540 pixels of x.
  Advance(A, 108);
  EXPECT_EQ(A.X, 160);
  EXPECT_EQ(A.Y, 328);
  // Exactly half the amplitude at 30 and 150 degrees: 15, not the 14 a double-precision sine gives.
  for (const int32_t x : {45, 225}) {
    auto Def = MakeDef(mtZigzag1, x + 5, 300, 5);
    TEnemy E(Def.get());
    E.Update(1);
    EXPECT_EQ(E.Y, 315) << "x " << x;
  }
}

TEST(Enemy, Zigzag2IsTheInvertedWave) {
  auto At700 = MakeDef(mtZigzag2, 705, 300, 5);
  TEnemy A(At700.get());
  A.Update(1);
  EXPECT_EQ(A.Y, 272);
  auto At400 = MakeDef(mtZigzag2, 405, 300, 5);
  TEnemy B(At400.get());
  B.Update(1);
  EXPECT_EQ(B.Y, 329);
}

TEST(Enemy, ZigzagLeavesAtMinus100) {
  auto Def = MakeDef(mtZigzag1, -95, 300, 5);
  TEnemy Enemy(Def.get());
  Enemy.Update(1);
  EXPECT_EQ(Enemy.X, -100);
  EXPECT_TRUE(Enemy.IsFinished());
}

TEST(EnemyPath, STurn1FromTheRightEdgeIgnoringTheDefinitionsPosition) {
  auto Def = MakeDef(mtSTurn1, 123, 456, 5);
  TEnemy Enemy(Def.get());
  Enemy.Update(1);
  EXPECT_EQ(Enemy.Distance, 5);
  EXPECT_EQ(Enemy.X, 775);
  EXPECT_EQ(Enemy.Y, 100);
  Advance(Enemy, 75);
  EXPECT_EQ(Enemy.Distance, 380);
  EXPECT_EQ(Enemy.X, 400);
  EXPECT_EQ(Enemy.Y, 100);
  // 210 pixels into the 420-pixel climb back to (780, 280): (589.8, 189.9).
  Advance(Enemy, 42);
  EXPECT_EQ(Enemy.X, 590);
  EXPECT_EQ(Enemy.Y, 190);
}

TEST(EnemyPath, STurn2IsTheMirroredCourse) {
  auto Def = MakeDef(mtSTurn2, 0, 0, 5);
  TEnemy Enemy(Def.get());
  Enemy.Update(1);
  EXPECT_EQ(Enemy.X, 775);
  EXPECT_EQ(Enemy.Y, 500);
  Advance(Enemy, 117);
  EXPECT_EQ(Enemy.X, 590);
  EXPECT_EQ(Enemy.Y, 410);
}

TEST(EnemyPath, PositionIsWorkedOutFromDistanceAlone) {
  auto Def = MakeDef(mtSTurn1, 0, 0, 0);
  TEnemy Enemy(Def.get());
  Enemy.Distance = 590;
  Enemy.Update(1);
  EXPECT_EQ(Enemy.X, 590);
  EXPECT_EQ(Enemy.Y, 190);
  Enemy.Distance = 5;
  Enemy.Update(1);
  EXPECT_EQ(Enemy.X, 775);
  EXPECT_EQ(Enemy.Y, 100);
}

TEST(EnemyPath, STurnIsUsedUpWhenDistancePasses1680) {
  auto Def = MakeDef(mtSTurn1, 0, 0, 5);
  TEnemyLinkedList List;
  int32_t Destroyed = 0;
  List.SetOnDestroyed([&](TObject*) { ++Destroyed; });
  auto* Enemy = new TEnemy(Def.get());
  List.Add(Enemy);
  for (int i = 0; i < 336; ++i) List.UpdateAll(1);
  EXPECT_EQ(Enemy->Distance, 1680);
  EXPECT_EQ(Enemy->X, -100);
  EXPECT_EQ(Enemy->Y, 280);
  EXPECT_FALSE(Enemy->IsFinished());
  List.UpdateAll(1);
  EXPECT_TRUE(Enemy->IsFinished());
  EXPECT_EQ(Enemy->X, -100);  // not moved in the update that used the path up
  EXPECT_EQ(Enemy->Y, 280);
  List.RemoveFinished();
  EXPECT_EQ(List.Count(), 0);
  EXPECT_EQ(Destroyed, 0);
}

TEST(EnemyPath, CTurnsAreUsedUpPast1069) {
  auto Def = MakeDef(mtCTurn1, 0, 0, 1);
  TEnemy Enemy(Def.get());
  Advance(Enemy, 500);
  EXPECT_EQ(Enemy.X, 300);
  EXPECT_EQ(Enemy.Y, 100);
  Advance(Enemy, 569);
  EXPECT_EQ(Enemy.X, 800);
  EXPECT_EQ(Enemy.Y, 280);
  EXPECT_FALSE(Enemy.IsFinished());
  Enemy.Update(1);
  EXPECT_TRUE(Enemy.IsFinished());

  // Speed 7 does not land on the total: 1064 is 295 pixels into the last leg, 1071 is past the end.
  auto Def2 = MakeDef(mtCTurn2, 0, 0, 7);
  TEnemy Other(Def2.get());
  Advance(Other, 152);
  EXPECT_EQ(Other.X, 795);
  EXPECT_EQ(Other.Y, 320);
  EXPECT_FALSE(Other.IsFinished());
  Other.Update(1);
  EXPECT_TRUE(Other.IsFinished());
}

TEST(EnemyPath, BossWrapsAtTheEndOfItsLoop) {
  auto Def = MakeDef(mtBoss1, 0, 0, 5, 100);
  TEnemy Boss(Def.get());
  Advance(Boss, 60);
  EXPECT_EQ(Boss.X, 500);
  EXPECT_EQ(Boss.Y, 300);
  Advance(Boss, 20);  // 400: the top of the first up-stroke
  EXPECT_EQ(Boss.X, 500);
  EXPECT_EQ(Boss.Y, 200);
  Advance(Boss, 797 - 80);
  EXPECT_EQ(Boss.Distance, 3985);
  EXPECT_EQ(Boss.X, 797);
  EXPECT_EQ(Boss.Y, 300);
  Boss.Update(1);  // 3990 is past the 3988 of the loop
  EXPECT_EQ(Boss.Distance, 0);
  EXPECT_EQ(Boss.X, 797);
  EXPECT_EQ(Boss.Y, 300);
  EXPECT_FALSE(Boss.IsFinished());
  Boss.Update(1);
  EXPECT_EQ(Boss.X, 795);
  EXPECT_EQ(Boss.Y, 300);
}

TEST(EnemyDamage, HandlerRunsOnceOnTheDestroyingHit) {
  auto Def = MakeDef(mtStraight, 700, 300, 5, 3);
  TEnemyLinkedList List;
  int32_t Destroyed = 0;
  TObject* Sender = nullptr;
  List.SetOnDestroyed([&](TObject* S) {
    ++Destroyed;
    Sender = S;
  });
  auto* Enemy = new TEnemy(Def.get());
  List.Add(Enemy);
  Enemy->Damage(1);
  Enemy->Damage(1);
  EXPECT_EQ(Destroyed, 0);
  EXPECT_EQ(Enemy->HP, 1);
  Enemy->Damage(1);
  EXPECT_EQ(Destroyed, 1);
  EXPECT_EQ(Sender, Enemy);
  EXPECT_TRUE(Enemy->IsFinished());
  Enemy->Damage(1);
  Enemy->Damage(5);
  EXPECT_EQ(Destroyed, 1);
  EXPECT_EQ(Enemy->HP, 0);
}

TEST(EnemyDamage, OverkillGoesBelowZeroAndAnEnemyWithoutHandlerIsSafe) {
  auto Def = MakeDef(mtStraight, 700, 300, 5, 3);
  TEnemy Enemy(Def.get());
  Enemy.Damage(5);
  EXPECT_EQ(Enemy.HP, -2);
  EXPECT_TRUE(Enemy.IsFinished());
}

TEST(EnemyList, StampsItsHandlerOnEveryEnemyLinkedIn) {
  auto Def = MakeDef(mtStraight, 700, 300, 5, 1);
  TEnemyLinkedList List;
  int32_t Destroyed = 0;
  auto* Early = new TEnemy(Def.get());
  List.Add(Early);  // before the handler exists
  EXPECT_FALSE(Early->OnDestroyed);
  List.SetOnDestroyed([&](TObject*) { ++Destroyed; });
  auto* Added = new TEnemy(Def.get());
  List.Add(Added);
  auto* Inserted = new TEnemy(Def.get());
  List.InsertBefore(Early, Inserted);
  EXPECT_EQ(List.First(), Inserted);
  for (TEnemy* Enemy : {Early, Added, Inserted}) Enemy->Damage(1);
  EXPECT_EQ(Destroyed, 3);
}

}  // namespace
