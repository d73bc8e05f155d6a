// Enemies: the eight motion codes, the ends of their lives and the destroyed handler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <utility>

#include "Enemy.h"
#include "EnemyList.h"
#include "ObjectTestSupport.h"
#include "StageDefs.h"

namespace {

using namespace objtest;

TRecordingGraphic BotGraphic{32, 32, Rect(-12, -12, 12, 12)};

std::unique_ptr<TEnemyDef> MakeDef(uint8_t Motion, int32_t X, int32_t Y, int32_t Speed, int32_t HP = 1) {
  auto def = std::make_unique<TEnemyDef>();
  def->Motion = Motion;
  def->X = X;
  def->Y = Y;
  def->Speed = Speed;
  def->HP = HP;
  def->Graphic = &BotGraphic;
  def->Group = -1;
  return def;
}

void Advance(TEnemy& Enemy, int32_t Updates) {
  for (int32_t i = 0; i < Updates; ++i) Enemy.Update(1);
}

TEST(Enemy, TakesItsStateFromTheDefinition) {
  auto def = MakeDef(mtStraight, 810, 120, 3, 7);
  def->Item = ikPowerUp;
  def->Group = 2;
  def->StageClear = true;
  TEnemy enemy(def.get());
  EXPECT_EQ(enemy.X, 810);
  EXPECT_EQ(enemy.Y, 120);
  EXPECT_EQ(enemy.Graphic, &BotGraphic);
  EXPECT_EQ(enemy.HP, 7);
  EXPECT_EQ(enemy.Speed, 3);
  EXPECT_EQ(enemy.Distance, 0);
  EXPECT_TRUE(enemy.HasItem());
  EXPECT_EQ(enemy.Item(), ikPowerUp);
  EXPECT_EQ(enemy.GroupIndex(), 2);
  EXPECT_TRUE(enemy.IsStageClear());
  EXPECT_EQ(enemy.Motion(), mtStraight);
  auto plain = MakeDef(mtZigzag1, 0, 0, 1);
  EXPECT_FALSE(TEnemy(plain.get()).HasItem());
}

TEST(Enemy, StraightLeavesSilentlyAtMinus100) {
  auto def = MakeDef(mtStraight, -97, 250, 1);
  TEnemyLinkedList list;
  int32_t destroyed = 0;
  list.SetOnDestroyed([&](TObject*) { ++destroyed; });
  auto* enemy = new TEnemy(def.get());
  list.Add(enemy);
  list.UpdateAll(1);
  list.UpdateAll(1);
  EXPECT_EQ(enemy->X, -99);
  EXPECT_FALSE(enemy->IsFinished());
  list.UpdateAll(1);
  EXPECT_EQ(enemy->X, -100);
  EXPECT_EQ(enemy->Y, 250);
  EXPECT_TRUE(enemy->IsFinished());
  list.RemoveFinished();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(destroyed, 0);
}

// Definitions built in code are not bound by the loader's budgets: every motion with the extreme speeds, over
// many frames, stays defined (the sanitizer build checks) and within the travel limit.
TEST(Enemy, ExtremeSpeedsNeitherOverflowNorWrap) {
  for (uint8_t motion = 0; motion <= mtBoss1; ++motion) {
    for (int32_t speed : {INT32_MIN, INT32_MAX, -1000}) {
      auto def = MakeDef(motion, 800, 300, speed, 5);
      TEnemy enemy(def.get());
      for (uint32_t frames : {1U, 1U, 0xFFFFFFFFU, 3U}) enemy.Update(frames);
      Advance(enemy, 2000);
      // A path enemy's place is its distance from the path's first point.
      EXPECT_LE(std::abs(int64_t{enemy.X}), (int64_t{1} << 30) + 800) << int{motion} << " " << speed;
      EXPECT_LE(std::abs(int64_t{enemy.Distance}), int64_t{1} << 30) << int{motion} << " " << speed;
      // Flying right for ever, a straight enemy stays on the field's far side; flying left it is gone.
      if (motion == mtStraight) {
        EXPECT_EQ(enemy.IsFinished(), speed > 0) << speed;
      }
    }
  }
}

TEST(Enemy, StraightMovesSpeedTimesFrames) {
  auto def = MakeDef(mtStraight, 800, 100, 5);
  TEnemy enemy(def.get());
  enemy.Update(3);
  EXPECT_EQ(enemy.X, 785);
}

TEST(Enemy, AnUnknownMotionCodeFliesStraightAndLeaves) {
  auto def = MakeDef(9, -90, 250, 5);
  TEnemy enemy(def.get());
  enemy.Update(1);
  EXPECT_EQ(enemy.X, -95);
  EXPECT_FALSE(enemy.IsFinished());
  enemy.Update(1);
  EXPECT_TRUE(enemy.IsFinished());
}

// Zigzag1 rides a sine wave around its definition's y; zigzag2 is the same wave upside down.
TEST(Enemy, ZigzagsRideASineWaveAroundTheirDefinitionsY) {
  for (const auto& [motion, sign] : {std::pair{mtZigzag1, 1}, std::pair{mtZigzag2, -1}}) {
    // sin(700 / 1.5 degrees) * 30 = 28.7; sin(400 / 1.5 degrees) * 30 = -29.9, truncated toward zero.
    auto at700 = MakeDef(motion, 705, 300, 5);
    TEnemy a(at700.get());
    a.Update(1);
    EXPECT_EQ(a.X, 700);
    EXPECT_EQ(a.Y, 300 + sign * 28);
    auto at400 = MakeDef(motion, 405, 300, 5);
    TEnemy b(at400.get());
    b.Update(1);
    EXPECT_EQ(b.X, 400);
    EXPECT_EQ(b.Y, 300 - sign * 29);
    // One period is 540 pixels of x.
    Advance(a, 108);
    EXPECT_EQ(a.X, 160);
    EXPECT_EQ(a.Y, 300 + sign * 28);
    // Where the exact offset is whole (a sine of 0, 1/2 or 1), that whole number on every processor, whichever
    // side of it a computed sine falls: 15 at 30 degrees, not the 14 a double-precision sine gives; -15 at 210 and
    // 330 degrees, not the -14 of x86-64's and Arm's long doubles. The second period (from x 540) likewise.
    const std::pair<int32_t, int32_t> whole[] = {{0, 0},     {45, 15},   {135, 30},  {225, 15}, {270, 0},
                                                 {315, -15}, {405, -30}, {495, -15}, {585, 15}, {855, -15}};
    for (const auto& [x, offset] : whole) {
      auto def = MakeDef(motion, x + 5, 300, 5);
      TEnemy e(def.get());
      e.Update(1);
      EXPECT_EQ(e.Y, 300 + sign * offset) << "x " << x << ", motion " << int(motion);
    }
  }
}

TEST(Enemy, ZigzagLeavesAtMinus100) {
  auto def = MakeDef(mtZigzag1, -95, 300, 5);
  TEnemy enemy(def.get());
  enemy.Update(1);
  EXPECT_EQ(enemy.X, -100);
  EXPECT_TRUE(enemy.IsFinished());
}

TEST(EnemyPath, STurn1FromTheRightEdgeIgnoringTheDefinitionsPosition) {
  auto def = MakeDef(mtSTurn1, 123, 456, 5);
  TEnemy enemy(def.get());
  enemy.Update(1);
  EXPECT_EQ(enemy.Distance, 5);
  EXPECT_EQ(enemy.X, 775);
  EXPECT_EQ(enemy.Y, 100);
  Advance(enemy, 75);
  EXPECT_EQ(enemy.Distance, 380);
  EXPECT_EQ(enemy.X, 400);
  EXPECT_EQ(enemy.Y, 100);
  // 210 pixels into the 420-pixel climb back to (780, 280): (589.8, 189.9).
  Advance(enemy, 42);
  EXPECT_EQ(enemy.X, 590);
  EXPECT_EQ(enemy.Y, 190);
}

TEST(EnemyPath, STurn2IsTheMirroredCourse) {
  auto def = MakeDef(mtSTurn2, 0, 0, 5);
  TEnemy enemy(def.get());
  enemy.Update(1);
  EXPECT_EQ(enemy.X, 775);
  EXPECT_EQ(enemy.Y, 500);
  Advance(enemy, 117);
  EXPECT_EQ(enemy.X, 590);
  EXPECT_EQ(enemy.Y, 410);
}

TEST(EnemyPath, PositionIsWorkedOutFromDistanceAlone) {
  auto def = MakeDef(mtSTurn1, 0, 0, 0);
  TEnemy enemy(def.get());
  enemy.Distance = 590;
  enemy.Update(1);
  EXPECT_EQ(enemy.X, 590);
  EXPECT_EQ(enemy.Y, 190);
  enemy.Distance = 5;
  enemy.Update(1);
  EXPECT_EQ(enemy.X, 775);
  EXPECT_EQ(enemy.Y, 100);
}

TEST(EnemyPath, STurnIsUsedUpWhenDistancePasses1680) {
  auto def = MakeDef(mtSTurn1, 0, 0, 5);
  TEnemyLinkedList list;
  int32_t destroyed = 0;
  list.SetOnDestroyed([&](TObject*) { ++destroyed; });
  auto* enemy = new TEnemy(def.get());
  list.Add(enemy);
  for (int i = 0; i < 336; ++i) list.UpdateAll(1);
  EXPECT_EQ(enemy->Distance, 1680);
  EXPECT_EQ(enemy->X, -100);
  EXPECT_EQ(enemy->Y, 280);
  EXPECT_FALSE(enemy->IsFinished());
  list.UpdateAll(1);
  EXPECT_TRUE(enemy->IsFinished());
  EXPECT_EQ(enemy->X, -100);  // not moved in the update that used the path up
  EXPECT_EQ(enemy->Y, 280);
  list.RemoveFinished();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(destroyed, 0);
}

TEST(EnemyPath, CTurnsAreUsedUpPast1069) {
  auto def = MakeDef(mtCTurn1, 0, 0, 1);
  TEnemy enemy(def.get());
  Advance(enemy, 500);
  EXPECT_EQ(enemy.X, 300);
  EXPECT_EQ(enemy.Y, 100);
  Advance(enemy, 569);
  EXPECT_EQ(enemy.X, 800);
  EXPECT_EQ(enemy.Y, 280);
  EXPECT_FALSE(enemy.IsFinished());
  enemy.Update(1);
  EXPECT_TRUE(enemy.IsFinished());

  // Speed 7 does not land on the total: 1064 is 295 pixels into the last leg, 1071 is past the end.
  auto def2 = MakeDef(mtCTurn2, 0, 0, 7);
  TEnemy other(def2.get());
  Advance(other, 152);
  EXPECT_EQ(other.X, 795);
  EXPECT_EQ(other.Y, 320);
  EXPECT_FALSE(other.IsFinished());
  other.Update(1);
  EXPECT_TRUE(other.IsFinished());
}

TEST(EnemyPath, BossWrapsAtTheEndOfItsLoop) {
  auto def = MakeDef(mtBoss1, 0, 0, 5, 100);
  TEnemy boss(def.get());
  Advance(boss, 60);
  EXPECT_EQ(boss.X, 500);
  EXPECT_EQ(boss.Y, 300);
  Advance(boss, 20);  // 400: the top of the first up-stroke
  EXPECT_EQ(boss.X, 500);
  EXPECT_EQ(boss.Y, 200);
  Advance(boss, 797 - 80);
  EXPECT_EQ(boss.Distance, 3985);
  EXPECT_EQ(boss.X, 797);
  EXPECT_EQ(boss.Y, 300);
  boss.Update(1);  // 3990 is past the 3988 of the loop
  EXPECT_EQ(boss.Distance, 0);
  EXPECT_EQ(boss.X, 797);
  EXPECT_EQ(boss.Y, 300);
  EXPECT_FALSE(boss.IsFinished());
  boss.Update(1);
  EXPECT_EQ(boss.X, 795);
  EXPECT_EQ(boss.Y, 300);
}

TEST(EnemyDamage, HandlerRunsOnceOnTheDestroyingHit) {
  auto def = MakeDef(mtStraight, 700, 300, 5, 3);
  TEnemyLinkedList list;
  int32_t destroyed = 0;
  TObject* Sender = nullptr;
  list.SetOnDestroyed([&](TObject* S) {
    ++destroyed;
    Sender = S;
  });
  auto* enemy = new TEnemy(def.get());
  list.Add(enemy);
  enemy->Damage(1);
  enemy->Damage(1);
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(enemy->HP, 1);
  enemy->Damage(1);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(Sender, enemy);
  EXPECT_TRUE(enemy->IsFinished());
  enemy->Damage(1);
  enemy->Damage(5);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(enemy->HP, 0);
}

TEST(EnemyDamage, OverkillGoesBelowZeroAndAnEnemyWithoutHandlerIsSafe) {
  auto def = MakeDef(mtStraight, 700, 300, 5, 3);
  TEnemy enemy(def.get());
  enemy.Damage(5);
  EXPECT_EQ(enemy.HP, -2);
  EXPECT_TRUE(enemy.IsFinished());
}

TEST(EnemyList, StampsItsHandlerOnEveryEnemyLinkedIn) {
  auto def = MakeDef(mtStraight, 700, 300, 5, 1);
  TEnemyLinkedList list;
  int32_t destroyed = 0;
  auto* early = new TEnemy(def.get());
  list.Add(early);  // before the handler exists
  EXPECT_FALSE(early->OnDestroyed);
  list.SetOnDestroyed([&](TObject*) { ++destroyed; });
  auto* added = new TEnemy(def.get());
  list.Add(added);
  auto* inserted = new TEnemy(def.get());
  list.InsertBefore(early, inserted);
  EXPECT_EQ(list.First(), inserted);
  for (TEnemy* enemy : {early, added, inserted}) enemy->Damage(1);
  EXPECT_EQ(destroyed, 3);
}

}  // namespace
