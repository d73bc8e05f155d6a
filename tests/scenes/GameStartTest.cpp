// A game begun part-way through (stage, frame, power-ups, a ship already in play), the power list of the command
// lines, and what the scene tells a play observer of each enemy's end and each group's pay-out.
#include <gtest/gtest.h>

#include "Enemy.h"
#include "EnemyList.h"
#include "GameKeys.h"
#include "GameRandom.h"
#include "GameSkin.h"
#include "GameStart.h"
#include "PlayObserver.h"
#include "PlayerShip.h"
#include "StageDefs.h"
#include "UShooting.h"

namespace {

using scenetest::TGameSkin;

constexpr const char* kTwoStages =
    "<stage title=\"ONE\"/>"
    "<stage title=\"TWO\"><enemy frame=\"100\" x=\"700\" y=\"100\" speed=\"0\"/><restartpoint frame=\"200\"/>"
    "<enemy frame=\"300\" x=\"700\" y=\"200\" speed=\"0\"/><enemy frame=\"400\" x=\"700\" y=\"300\" speed=\"0\"/>"
    "</stage>";

class GameStartTest : public ::testing::Test {
 protected:
  std::unique_ptr<TShootingScene> Start(const TGameStart& Start) {
    return std::make_unique<TShootingScene>(h_.Sprites(), h_.Keys(), Start);
  }
  void Updates(TShootingScene& Scene, uint32_t N) {
    for (uint32_t i = 0; i < N && !Scene.Finished(); ++i) h_.UpdateOnly(Scene);
  }
  TSceneHarness h_;
};

TEST_F(GameStartTest, BeginsAsARestartAtTheFrameWouldWithThePowerGiven) {
  TGameSkin skin(kTwoStages);
  TGameStart start;
  start.Stage = 2;
  start.Frame = 300;
  start.Power = TShipPower{7, stLaser, 3};
  auto game = Start(start);
  EXPECT_EQ(game->StageNumber, 2);
  EXPECT_EQ(game->Stage->Title, "TWO");
  EXPECT_EQ(game->StageFrame, 300u);
  EXPECT_EQ(game->RestartFrame, 300u);
  EXPECT_TRUE(game->Ship->Entering);
  EXPECT_EQ(game->Ship->Speed, 7);
  EXPECT_EQ(game->Ship->ShotType, stLaser);
  EXPECT_EQ(game->Ship->OptionCount, 3);
  EXPECT_TRUE(game->Ship->Options[2]->Active);
  EXPECT_FALSE(game->Ship->Options[3]->Active);
  // The clock stands still through the fly-in; the entry of frame 300 is the first to come, and the enemy of
  // frame 100 and the restart point of 200 are behind it.
  Updates(*game, 101);
  EXPECT_EQ(game->StageFrame, 300u);
  EXPECT_EQ(game->Enemies->Count(), 0);
  Updates(*game, 1);
  ASSERT_EQ(game->Enemies->Count(), 1);
  EXPECT_EQ(static_cast<TEnemy*>(game->Enemies->First())->Y, 200);
  EXPECT_EQ(game->RestartFrame, 300u);
  // A lost ship comes back at the frame begun at, without its power-ups.
  game->Ship->Hit(1);
  Updates(*game, TShootingScene::kRestartDelay);
  EXPECT_EQ(game->StageFrame, 300u);
  EXPECT_TRUE(game->Ship->Entering);
  EXPECT_EQ(game->Ship->ShotType, stNormal);
  EXPECT_EQ(game->Ship->OptionCount, 0);
}

TEST_F(GameStartTest, AShipInPlayGoesOnWhereItIsAndAStagePastTheLastEndsTheGame) {
  TGameSkin skin(kTwoStages);
  TGameStart start;
  start.Stage = 2;
  start.Frame = 99;
  start.Ship = TShipInPlay{400, 120, 1};
  auto game = Start(start);
  EXPECT_FALSE(game->Ship->Entering);
  EXPECT_EQ(game->Ship->X, 400);
  EXPECT_EQ(game->Ship->Y, 120);
  EXPECT_EQ(game->Ship->Lives, 1);
  Updates(*game, 1);
  EXPECT_EQ(game->StageFrame, 100u);
  EXPECT_EQ(game->Enemies->Count(), 1);

  start = TGameStart{};
  start.Stage = 3;
  game = Start(start);
  EXPECT_TRUE(game->Finished());
  EXPECT_EQ(game->NextScene(), 2);
}

TEST(PowerListTest, ReadsThePowerUpsAndRefusesWhatTheMeterCannotGive) {
  TShipPower power;
  std::string error;
  ASSERT_TRUE(ParsePowerList("double,options=2,speed=6", power, error)) << error;
  EXPECT_EQ(power.ShotType, stDouble);
  EXPECT_EQ(power.Options, 2);
  EXPECT_EQ(power.Speed, 6);
  ASSERT_TRUE(ParsePowerList("laser", power, error)) << error;
  EXPECT_EQ(power.ShotType, stLaser);
  EXPECT_EQ(power.Options, 0) << "what is not given is not kept from before";
  EXPECT_EQ(power.Speed, TEmu::kStartSpeed);
  ASSERT_TRUE(ParsePowerList("speed=9,options=4", power, error)) << error;
  EXPECT_EQ(power.ShotType, stNormal);

  const char* refused[] = {"",           "double,laser",       "double,double", "speed=3", "speed=10", "options=5",
                           "options=-1", "options=",           "speed=6x",      "shield",  "double,",  "Double",
                           "speed",      "options=1,options=2"};
  for (const char* text : refused) {
    TShipPower kept{5, stDouble, 1};
    error.clear();
    EXPECT_FALSE(ParsePowerList(text, kept, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
    EXPECT_EQ(kept.Speed, 5) << text << ": a refused list changes nothing";
  }
}

class TEndings : public TPlayObserver {
 public:
  void EnemyAppeared(const TShootingScene&, const TEnemy& Enemy) override {
    Log += "+" + std::to_string(Enemy.Def->ScriptId) + " ";
  }
  void EnemyEnded(const TShootingScene&, const TEnemy& Enemy, TEnemyEnd End) override {
    Log += std::to_string(Enemy.Def->ScriptId) + ":" + EnemyEndName(End) + ":" + std::to_string(Enemy.HitsTaken) + " ";
  }
  void GroupPaid(const TShootingScene& Game, int32_t Group) override {
    Log += "paid" + std::to_string(Game.StageNumber) + "/" + std::to_string(Group) + " ";
  }
  std::string Log;
};

TEST_F(GameStartTest, TheObserverHearsEachEnemysEndOnceAndEachPayOut) {
  // Ids count enemy elements in document order (the restart point not), whatever their frames.
  TGameSkin skin(
      "<stage><enemy frame=\"5\" x=\"600\" y=\"100\" speed=\"0\" hp=\"2\"/><restartpoint frame=\"1\"/>"
      "<group frame=\"0\" x=\"600\" speed=\"0\" item=\"powerup\"><enemy frame=\"0\" y=\"200\"/>"
      "<enemy frame=\"0\" y=\"300\"/></group>"
      "<enemy frame=\"0\" x=\"-95\" y=\"500\" speed=\"10\"/></stage>");
  TEndings endings;
  SetPlayObserver(&endings);
  SeedRandom(7);
  {
    auto game = Start(TGameStart{});
    Updates(*game, 102);
    EXPECT_EQ(endings.Log, "+1 +2 +3 3:escaped:0 ");
    endings.Log.clear();
    Updates(*game, 5);
    EXPECT_EQ(endings.Log, "+0 ");
    endings.Log.clear();
    auto enemy = [&](int32_t Id) {
      for (TLinkedItem* e = game->Enemies->First(); e != nullptr; e = e->Next()) {
        auto* enemy = static_cast<TEnemy*>(e);
        if (enemy->Def->ScriptId == Id) return enemy;
      }
      return static_cast<TEnemy*>(nullptr);
    };
    enemy(1)->Damage(1);
    enemy(2)->Damage(1);
    enemy(0)->Damage(1);
    EXPECT_EQ(endings.Log, "1:destroyed:1 2:destroyed:1 paid1/0 ");
    endings.Log.clear();
    // A lost ship clears what still flies: told once, with the hits it took.
    game->Ship->Hit(1);
    Updates(*game, TShootingScene::kRestartDelay);
    EXPECT_EQ(endings.Log, "0:cleared:1 ");
    endings.Log.clear();
    // The fly-in again, then the script from the restart point at frame 1: the enemies of frame 0 are behind it.
    Updates(*game, 101 + 4);
    EXPECT_EQ(endings.Log, "+0 ");
    endings.Log.clear();
  }
  // The game ending (to the title) clears the rest.
  EXPECT_EQ(endings.Log, "0:cleared:0 ");
  SetPlayObserver(nullptr);
}

}  // namespace

namespace {

// Enemies still flying when their stage is cleared are told as cleared in that stage, not the next.
class TStageOfEnd : public TPlayObserver {
 public:
  void EnemyAppeared(const TShootingScene&, const TEnemy&) override {}
  void EnemyEnded(const TShootingScene& Game, const TEnemy& Enemy, TEnemyEnd End) override {
    Log += std::to_string(Enemy.Def->ScriptId) + ":" + EnemyEndName(End) + "@" + std::to_string(Game.StageNumber) + " ";
  }
  void GroupPaid(const TShootingScene&, int32_t) override {}
  std::string Log;
};

TEST_F(GameStartTest, EnemiesLeftAtAStageClearAreClearedInTheirOwnStage) {
  TGameSkin skin(
      "<stage><enemy frame=\"0\" x=\"600\" y=\"100\" speed=\"0\" stageclear=\"true\"/>"
      "<enemy frame=\"0\" x=\"600\" y=\"200\" speed=\"0\"/></stage><stage title=\"TWO\"/>");
  TStageOfEnd ends;
  SetPlayObserver(&ends);
  {
    auto game = Start(TGameStart{});
    Updates(*game, 102);
    static_cast<TEnemy*>(game->Enemies->First())->Damage(1);
    Updates(*game, TShootingScene::kStageClearDelay + 1);
    EXPECT_EQ(game->StageNumber, 2);
  }
  SetPlayObserver(nullptr);
  EXPECT_EQ(ends.Log, "0:destroyed@1 1:cleared@1 ");
}

}  // namespace
