// The game scene on a small skin of the tests' own: stage flow, collisions, destroyed enemies, lost ships,
// pause, and what Render queues (background, ship, meter, messages).
#include "UShooting.h"

#include <gtest/gtest.h>

#include <set>

#include "../support/AllocationCounter.h"
#include "Enemy.h"
#include "EnemyList.h"
#include "Exception.h"
#include "GameKeys.h"
#include "GameRandom.h"
#include "GameSkin.h"
#include "GraphicDefs.h"
#include "Laser.h"
#include "PlayerShip.h"
#include "SceneState.h"
#include "ScoreBookScope.h"
#include "ScoreHud.h"
#include "ShootingFixture.h"
#include "Shots.h"
#include "StageDefs.h"
#include "TextEncoding.h"
#include "Visible.h"

namespace {

using scenetest::TGameSkin;

constexpr const char* kQuietStage = "<stage title=\"QUIET\"/>";
using scenetest::kFlyIn;

class ShootingSceneTest : public scenetest::TShootingFixture {
 protected:
  TDirShot* AddStill(TVisibleLinkedList& List, int32_t X, int32_t Y, int32_t Graphic) {
    TDirShot* shot = TDirShot::Create(X, Y, scene_->Graphics[Graphic], 0).release();
    List.Add(shot);
    return shot;
  }
  std::string State() const { return DescribeSceneState(0, scene_.get()); }
};

TEST_F(ShootingSceneTest, StartsTheFirstStageWithTheShipFlyingIn) {
  Build("<stage title=\"ONE\"><enemy frame=\"0\" x=\"600\" y=\"100\" speed=\"0\"/></stage><stage title=\"TWO\"/>");
  EXPECT_EQ(scene_->BackColor, 0x00101010u);
  EXPECT_EQ(scene_->Stage, scene_->StageDefs->First());
  EXPECT_TRUE(scene_->Ship->Entering);
  EXPECT_EQ(scene_->Ship->Lives, 3);
  // The clock and the script stand still while the ship flies in.
  Updates(kFlyIn);
  EXPECT_EQ(scene_->StageFrame, 0u);
  EXPECT_EQ(scene_->Enemies->Count(), 0);
  EXPECT_FALSE(scene_->Ship->Entering);
  Updates(1);
  EXPECT_EQ(scene_->StageFrame, 1u);
  EXPECT_EQ(scene_->Enemies->Count(), 1);
}

TEST_F(ShootingSceneTest, DataFaultsEndTheConstructionWithTheGamesMessage) {
  const std::string notSprite =
      "<animation id=\"txtlaser\" maxframe=\"4\"><sprite ref=\"blast\" frame=\"0\"/></animation>";
  const struct {
    const char* Id;
    std::string Replacement;
    std::string Message;
  } cases[] = {
      {"bullet", "", "\"bullet\"" + Jp("は定義されていないグラフィックIDです")},
      {"txtlaser", notSprite, "\"txtlaser\"" + Jp("はスプライトとして定義されていなければなりません")},
  };
  for (const auto& c : cases) {
    skin_.reset();
    skin_ = std::make_unique<TGameSkin>(kQuietStage, scenetest::GameGraphicDefs(c.Id, c.Replacement));
    try {
      TShootingScene scene(h_.Sprites(), h_.Keys());
      ADD_FAILURE() << c.Id << ": no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.Message) << c.Id;
    }
  }
}

TEST_F(ShootingSceneTest, NoStageGoesStraightToTheEnding) {
  Build("");
  EXPECT_TRUE(scene_->Finished());
  EXPECT_EQ(scene_->NextScene(), 2);
  Updates(1);  // the main form still runs one update before it switches
}

// Points too: 100 an enemy per hit point it started with, and 200 a member for a group wiped out.
TEST_F(ShootingSceneTest, GroupsPayOneCapsuleAtTheLastMembersPlaceAndCarriersAlwaysDrop) {
  const std::string group =
      "<stage><group frame=\"0\" x=\"600\" speed=\"0\" item=\"powerup\"><enemy frame=\"0\" y=\"100\"/>"
      "<enemy frame=\"0\" y=\"200\"/><enemy frame=\"0\" y=\"300\"/></group></stage>";
  const std::string carriers =
      "<stage><enemy frame=\"0\" x=\"600\" y=\"100\" speed=\"0\" item=\"powerup\"/>"
      "<enemy frame=\"0\" x=\"600\" y=\"200\" speed=\"0\" item=\"powerup\" hp=\"4\"/></stage>";
  const struct {
    const char* Name;
    std::string Stage;
    int Escapes;  // index of an enemy that leaves the field instead of being destroyed, -1 for none
    int Drops;
    uint32_t Score;
  } cases[] = {{"whole group", group, -1, 1, 3 * 100 + 3 * 200},
               {"one escapes", group, 1, 0, 2 * 100},
               {"carriers", carriers, -1, 2, 100 + 4 * 100}};
  for (const auto& c : cases) {
    Build(c.Stage);
    Updates(kFlyIn + 1);
    std::vector<TEnemy*> enemies;
    for (auto* e = scene_->Enemies->First(); e != nullptr; e = static_cast<TVisible*>(e->Next())) {
      enemies.push_back(static_cast<TEnemy*>(e));
    }
    if (c.Escapes >= 0) {
      enemies[c.Escapes]->X = -200;
      Updates(1);  // gone without being destroyed
    }
    TEnemy* last = nullptr;
    for (int i = 0; i < static_cast<int>(enemies.size()); ++i) {
      if (i == c.Escapes) continue;
      enemies[i]->Damage(enemies[i]->HP);
      last = enemies[i];
    }
    EXPECT_EQ(scene_->Drops->Count(), c.Drops) << c.Name;
    EXPECT_EQ(scene_->Score, c.Score) << c.Name;
    EXPECT_NE(State().find("\"score\":" + std::to_string(c.Score) + ","), std::string::npos) << State();
    if (c.Drops == 1) {
      EXPECT_EQ(scene_->Drops->Last(), scene_->Drops->First());
      auto* drop = static_cast<TDrop*>(scene_->Drops->First());
      EXPECT_EQ(drop->X, last->X);
      EXPECT_EQ(drop->Y, last->Y);
      EXPECT_EQ(drop->Kind, ikPowerUp);
      EXPECT_EQ(scene_->GroupCounts[0], -1) << "paid out once";
    }
  }
}

TEST_F(ShootingSceneTest, ALaserGoesOnThroughTheEnemiesItDestroys) {
  // Enemies sit 20 pixels in front of the settled ship; still shots placed on them.
  const struct {
    const char* Name;
    bool LaserFirst;
    int32_t HP;
    int ShotsLeft;
    bool Destroyed;
  } cases[] = {
      {"a laser that destroys survives, the shot after it is spent", true, 1, 1, true},
      {"a shot destroys, the laser after it survives", false, 1, 1, true},
      {"a laser that does not destroy is spent", true, 3, 0, false},
  };
  for (const auto& c : cases) {
    Build(kQuietStage);
    Updates(kFlyIn);
    TEmu& ship = *scene_->Ship;
    TEnemy* enemy = AddEnemy(ship.X + 30, ship.Y, c.HP);
    auto addLaser = [&] { scene_->ShotList->Add(new TLaser(ship.X + 4, ship.Y, scene_->Graphics[giLaser], &ship)); };
    if (c.LaserFirst) addLaser();
    AddStill(*scene_->ShotList, enemy->X, enemy->Y, TShootingScene::giShot);
    if (!c.LaserFirst) addLaser();
    Updates(1);
    EXPECT_EQ(scene_->ShotList->Count(), c.ShotsLeft) << c.Name;
    EXPECT_EQ(scene_->Enemies->Count(), c.Destroyed ? 0 : 1) << c.Name;
  }
}

TEST_F(ShootingSceneTest, OneFrameResolvesShotsThenOptionsThenTheShip) {
  // Two shots on a 1-HP enemy the ship touches: both spent, the enemy destroyed once, where it stood, before it
  // could ram. Each of two options strikes the enemy it touches.
  Build(kQuietStage);
  Updates(kFlyIn);
  TEmu& ship = *scene_->Ship;
  TEnemy* rammed = AddEnemy(ship.X + 2, ship.Y + 1, 1);
  const int32_t x = rammed->X, y = rammed->Y;
  for (int i = 0; i < 2; ++i) AddStill(*scene_->ShotList, x, y, TShootingScene::giShot);
  const int32_t optionY[2] = {500, 100};
  std::vector<TEnemy*> touched;
  for (int i = 0; i < 2; ++i) {
    ship.Options[i]->SetActive(true);
    ship.Options[i]->MoveTo(400, optionY[i]);
    touched.push_back(AddEnemy(400, optionY[i], 3));
  }
  ship.OptionCount = 2;
  Updates(1);
  EXPECT_EQ(ship.Energy, 1);
  EXPECT_EQ(ship.Lives, 3);
  EXPECT_EQ(scene_->ShotList->Count(), 0);
  EXPECT_EQ(scene_->Enemies->Count(), 2);
  ASSERT_EQ(scene_->Explosions->Count(), 1);
  EXPECT_EQ(static_cast<TVisible*>(scene_->Explosions->First())->X, x);
  EXPECT_EQ(static_cast<TVisible*>(scene_->Explosions->First())->Y, y);
  for (TEnemy* enemy : touched) EXPECT_EQ(enemy->HP, 2);
}

TEST_F(ShootingSceneTest, EachPlayStateDecidesWhatMeetsWhat) {
  // One frame with a shot on an enemy, an option on another, and two bullets and two capsules on the ship (in
  // the fly-in also an enemy ramming it). Enemies, then bullets, then capsules: at most one bullet strikes, and
  // a ship it has just lost collects nothing; the flying-in ship cannot be hurt but spends what strikes it.
  const struct {
    const char* Name;
    bool Weapons;
    int BulletsLeft, LivesLost, DropsLeft;
  } cases[] = {{"flying in", true, 1, 0, 0},
               {"playing", true, 1, 1, 2},
               {"restart wait", true, 2, 0, 2},
               {"stage clear", false, 2, 0, 2},
               {"game over", false, 2, 0, 2}};
  for (int phase = 0; phase < 5; ++phase) {
    const auto& c = cases[phase];
    Build("<stage><enemy frame=\"0\" x=\"700\" y=\"550\" speed=\"0\" stageclear=\"true\"/></stage>");
    if (phase > 0) Updates(kFlyIn + 1);
    TEmu& ship = *scene_->Ship;
    if (phase == 2) ship.Hit(1);
    if (phase == 3) static_cast<TEnemy*>(scene_->Enemies->First())->Damage(1);
    if (phase == 4) {
      ship.Lives = 1;
      ship.Hit(1);
    }
    ship.Options[0]->SetActive(true);
    ship.Options[0]->MoveTo(400, 100);
    ship.OptionCount = 1;
    TEnemy* struck = AddEnemy(600, 200, 5);
    AddStill(*scene_->ShotList, 600, 200, TShootingScene::giShot);
    TEnemy* touched = AddEnemy(400, 100, 5);
    TEnemy* rammer = phase == 0 ? AddEnemy(ship.X + 3, ship.Y, 2) : nullptr;  // the ship moves 3 pixels into it
    for (int i = 0; i < 2; ++i) AddStill(*scene_->EnemyShots, ship.X, ship.Y, TShootingScene::giBullet);
    scene_->Drops->Add(new TDrop(ship.X + 2, ship.Y, ikPowerUp, scene_->Graphics[giCapsule]));
    scene_->Drops->Add(new TDrop(ship.X + 4, ship.Y + 2, ikPowerUp, scene_->Graphics[giCapsule]));
    const int32_t lives = ship.Lives, energy = ship.Energy;
    Updates(1);
    EXPECT_EQ(struck->HP, c.Weapons ? 4 : 5) << c.Name;
    EXPECT_EQ(scene_->ShotList->Count(), c.Weapons ? 0 : 1) << c.Name;
    EXPECT_EQ(touched->HP, c.Weapons ? 4 : 5) << c.Name;
    if (rammer != nullptr) {
      EXPECT_EQ(rammer->HP, 1) << c.Name;
    }
    EXPECT_EQ(scene_->EnemyShots->Count(), c.BulletsLeft) << c.Name;
    EXPECT_EQ(ship.Lives, lives - c.LivesLost) << c.Name;
    EXPECT_EQ(ship.Energy, c.LivesLost ? 0 : energy) << c.Name;
    EXPECT_EQ(scene_->Drops->Count(), c.DropsLeft) << c.Name;
    EXPECT_EQ(ship.Cursor, c.DropsLeft == 0 ? 1 : kCursorNone) << c.Name;
  }
}

TEST_F(ShootingSceneTest, DestroyedEnemiesExplodeInPlaceAndAboutOneInTwentyFires) {
  Build(kQuietStage);
  Updates(kFlyIn);
  for (int i = 0; i < 400; ++i) {
    AddEnemy(300 + i, 100 + i / 2, 1)->Damage(1);
    const auto* blast = static_cast<TVisible*>(scene_->Explosions->Last());
    ASSERT_EQ(blast->X, 300 + i);
    ASSERT_EQ(blast->Y, 100 + i / 2);
  }
  EXPECT_GE(scene_->EnemyShots->Count(), 8);
  EXPECT_LE(scene_->EnemyShots->Count(), 40);
}

TEST_F(ShootingSceneTest, BlastsReachBothEndsOfTheirAreaButNotItsRightAndBottomEdges) {
  Build(kQuietStage);
  const struct {
    TRect Area;
    int32_t Left, Top, Right, Bottom;  // the extremes expected, inclusive
  } cases[] = {{Rect(10, 20, 14, 23), 10, 20, 13, 22},
               {Rect(14, 23, 10, 20), 10, 20, 13, 22},  // reversed bounds: from the smaller
               {Rect(5, 7, 5, 7), 5, 7, 5, 7}};         // equal bounds: the bound itself
  for (const auto& c : cases) {
    scene_->Explosions->Clear();
    scene_->BlastArea = c.Area;
    for (int i = 0; i < 200; ++i) scene_->SpawnBlast(nullptr);
    std::set<int32_t> xs, ys;
    for (TLinkedItem* e = scene_->Explosions->First(); e != nullptr; e = e->Next()) {
      xs.insert(static_cast<TVisible*>(e)->X);
      ys.insert(static_cast<TVisible*>(e)->Y);
    }
    EXPECT_EQ(*xs.begin(), c.Left);
    EXPECT_EQ(*xs.rbegin(), c.Right);
    EXPECT_EQ(xs.size(), size_t(c.Right - c.Left + 1));
    EXPECT_EQ(*ys.begin(), c.Top);
    EXPECT_EQ(*ys.rbegin(), c.Bottom);
    EXPECT_EQ(ys.size(), size_t(c.Bottom - c.Top + 1));
  }
}

TEST_F(ShootingSceneTest, ALostShipResumesFromTheLastRestartPointFiftyFramesLater) {
  Build(
      "<stage><restartpoint frame=\"1200\"/><enemy frame=\"1100\" x=\"700\" y=\"50\" speed=\"0\" hp=\"99\"/>"
      "<group frame=\"1200\" x=\"600\" speed=\"0\"><enemy frame=\"0\" y=\"150\"/><enemy frame=\"0\" y=\"250\"/>"
      "</group><enemy frame=\"1300\" x=\"700\" y=\"500\" speed=\"0\"/></stage>");
  Updates(kFlyIn + 1250);
  ASSERT_EQ(scene_->RestartFrame, 1200u);
  static_cast<TEnemy*>(scene_->Enemies->Last())->Damage(1);  // the group under way
  ASSERT_EQ(scene_->GroupCounts, std::vector<int32_t>{1});
  scene_->Explosions->Clear();
  TEmu& ship = *scene_->Ship;
  ship.Speed = 9;
  scene_->Drops->Add(new TDrop(700, 300, ikPowerUp, scene_->Graphics[giCapsule]));
  TDirShot* bullet = TDirShot::Create(790, 10, scene_->Graphics[giBullet], 0).release();
  scene_->EnemyShots->Add(bullet);
  ship.Hit(1);
  EXPECT_EQ(ship.Lives, 2);
  // The ship and its options are not drawn, while options still fight.
  ship.Options[0]->SetActive(true);
  ship.OptionCount = 1;
  ship.Options[0]->MoveTo(400, 400);
  TEnemy* target = AddEnemy(400, 400, 99);
  Updates(49);
  EXPECT_EQ(target->HP, 50);
  EXPECT_EQ(scene_->StageFrame, 1299u);
  EXPECT_EQ(scene_->Explosions->Count(), 5);
  Updates(1);
  EXPECT_EQ(scene_->StageFrame, 1200u);
  EXPECT_EQ(scene_->RestartFrame, 1200u);
  EXPECT_EQ(scene_->GroupCounts, std::vector<int32_t>{2});
  EXPECT_EQ(scene_->Enemies->Count(), 0);
  EXPECT_EQ(scene_->Drops->Count(), 0);
  EXPECT_EQ(scene_->Explosions->Count(), 0);
  EXPECT_EQ(scene_->Timers->Count(), 0);
  EXPECT_EQ(scene_->EnemyShots->First(), bullet);
  EXPECT_TRUE(ship.Entering);
  EXPECT_EQ(ship.Speed, 4);
  EXPECT_EQ(ship.OptionCount, 0);
  EXPECT_EQ(ship.Energy, 1);
}

// Each way out hands the game's score to the high scores (off the classic screen).
TEST_F(ShootingSceneTest, GameOverLeavesForTheTitleOnEnterEscapeOrAfter300Frames) {
  const TScoreBookScope scores;
  const struct {
    uint8_t Key;
    uint32_t Frames;  // updates after the loss until the scene finishes
  } cases[] = {{VK_RETURN, 11}, {VK_ESCAPE, 11}, {0, 300}};
  for (const auto& c : cases) {
    Build("<stage><enemy frame=\"5\" x=\"700\" y=\"50\" speed=\"0\"/></stage>");
    Updates(kFlyIn);
    scene_->Ship->Lives = 1;
    scene_->Score = 1234 + c.Frames;
    scene_->Ship->Hit(1);
    EXPECT_EQ(scene_->State, psGameOver);
    EXPECT_EQ(scene_->Timers->Count(), 6) << "the end and five blasts";
    Updates(10);
    EXPECT_EQ(scene_->Enemies->Count(), 1) << "enemies keep coming";
    if (c.Key != 0) {
      Press(c.Key);
    } else {
      Updates(290);
    }
    EXPECT_FALSE(scene_->Paused);
    EXPECT_TRUE(scene_->Finished()) << int(c.Key);
    EXPECT_EQ(scene_->NextScene(), 0);
    EXPECT_EQ(scene_->FrameCounter, kFlyIn + c.Frames) << int(c.Key);
    const std::optional<TPendingScore> pending = ScoreBook.TakePending();
    ASSERT_TRUE(pending.has_value()) << int(c.Key);
    EXPECT_EQ(pending->Score, 1234 + c.Frames);
    EXPECT_EQ(pending->Skin, "test");
  }
}

TEST_F(ShootingSceneTest, TheStageClearEnemyEndsTheStage) {
  // Ten blasts over 180 frames, STAGE CLEAR for 300 frames, then the next stage or, after the last, the ending.
  // The enemy pays a bonus of 10000 besides its hit point; a game that reaches the ending has ended too.
  const TScoreBookScope scores;
  for (const bool last : {false, true}) {
    Build(std::string("<stage><enemy frame=\"0\" x=\"600\" y=\"300\" speed=\"0\" hp=\"1\" stageclear=\"true\"/>"
                      "</stage>") +
          (last ? "" : "<stage title=\"NEXT\"/>"));
    Updates(kFlyIn + 1);
    scene_->Ship->ShotType = stLaser;
    static_cast<TEnemy*>(scene_->Enemies->First())->Damage(1);
    EXPECT_EQ(scene_->State, psStageClear);
    EXPECT_EQ(scene_->Score, 10100u);
    EXPECT_EQ(scene_->Explosions->Count(), 0);
    // One blast every 20 frames, each inside the enemy's hit area (596 to 603, 296 to 303).
    for (int frame = 1; frame <= 180; ++frame) {
      Updates(1);
      ASSERT_EQ(scene_->Explosions->Count(), std::min(10, frame / 20 + 1)) << frame;
      const auto* blast = static_cast<TVisible*>(scene_->Explosions->Last());
      EXPECT_TRUE(blast->X >= 596 && blast->X < 604 && blast->Y >= 296 && blast->Y < 304) << frame;
    }
    Updates(119);
    EXPECT_FALSE(scene_->Finished());
    EXPECT_EQ(scene_->State, psStageClear);
    Updates(1);
    if (last) {
      EXPECT_TRUE(scene_->Finished());
      EXPECT_EQ(scene_->NextScene(), 2);
      ASSERT_TRUE(ScoreBook.Pending().has_value());
      EXPECT_EQ(ScoreBook.Pending()->Score, 10100u);
    } else {
      EXPECT_EQ(scene_->Stage->Title, "NEXT");
      EXPECT_EQ(scene_->State, psPlaying);
      EXPECT_EQ(scene_->StageFrame, 0u);
      EXPECT_FALSE(scene_->Ship->Entering);
      EXPECT_EQ(scene_->Ship->ShotType, stLaser);
      Updates(1);
      EXPECT_FALSE(scene_->Finished()) << "the next stage stays";
      EXPECT_FALSE(ScoreBook.Pending().has_value()) << "the game goes on";
      EXPECT_EQ(scene_->Score, 10100u) << "and keeps its score";
    }
  }
}

TEST_F(ShootingSceneTest, PauseFreezesEverythingAndResumesWhereItStopped) {
  Build("<stage><enemy frame=\"0\" x=\"700\" y=\"100\" speed=\"1\"/></stage>");
  Updates(kFlyIn + 20);
  scene_->Ship->Hit(1);  // pending timers
  Updates(3);
  Press(VK_RETURN);
  ASSERT_TRUE(scene_->Paused);
  const std::string frozen = State();
  const int32_t x = scene_->Enemies->First()->X;
  Updates(30);
  EXPECT_EQ(State(), frozen);
  EXPECT_EQ(scene_->Enemies->First()->X, x);
  Press(VK_RETURN);
  EXPECT_FALSE(scene_->Paused);
  EXPECT_EQ(scene_->Enemies->First()->X, x - 1);
  Updates(45);
  EXPECT_EQ(scene_->Explosions->Count(), 5);
  EXPECT_EQ(scene_->Timers->Count(), 1);
  Updates(1);
  EXPECT_EQ(scene_->Timers->Count(), 0) << "restarted 50 frames of play after the loss";
}

TEST_F(ShootingSceneTest, EscapePausesThenGivesUpAndLeavingTheWindowPausesUntilEnter) {
  Build(kQuietStage);
  Updates(kFlyIn + 5);
  Press(VK_ESCAPE);
  ASSERT_TRUE(scene_->Paused);
  Updates(10);
  EXPECT_FALSE(scene_->Finished());
  Press(VK_RETURN);
  EXPECT_FALSE(scene_->Paused) << "Enter resumes a game paused by Escape";
  const uint32_t frame = scene_->StageFrame;

  h_.KeySource().SetActive(false);
  Updates(1);
  EXPECT_TRUE(scene_->Paused);
  EXPECT_EQ(scene_->StageFrame, frame) << "the frame the window was left in does not run";
  h_.KeySource().SetActive(true);
  Updates(20);
  EXPECT_TRUE(scene_->Paused) << "coming back does not resume";
  Press(VK_RETURN);
  EXPECT_FALSE(scene_->Paused);

  const TScoreBookScope scores;
  scene_->Score = 77;
  Press(VK_ESCAPE);
  Updates(1);
  EXPECT_FALSE(scene_->Finished());
  Press(VK_ESCAPE);
  EXPECT_TRUE(scene_->Finished());
  EXPECT_EQ(scene_->NextScene(), 0);
  EXPECT_FALSE(scene_->EndsProgram());
  ASSERT_TRUE(ScoreBook.Pending().has_value()) << "a game given up counts";
  EXPECT_EQ(ScoreBook.Pending()->Score, 77u);
}

TEST_F(ShootingSceneTest, SteadyPlayAllocatesNothingOnceTheListsHaveGrown) {
  const TScoreBookScope scores;  // the lives and a score of changing digits drawn every frame too
  std::string grid = "<stage>";
  for (int i = 0; i < 40; ++i) {
    grid += "<enemy frame=\"0\" x=\"" + std::to_string(400 + 40 * (i % 10)) + "\" y=\"" +
            std::to_string(100 + 100 * (i / 10)) + "\" speed=\"0\" hp=\"1000000\"/>";
  }
  Build(grid + "</stage>");
  Updates(kFlyIn + 1);
  TEmu& ship = *scene_->Ship;
  ship.ShotType = stLaser;
  for (int i = 0; i < TEmu::kOptionMax; ++i) ship.Options[i]->SetActive(true);
  ship.OptionCount = TEmu::kOptionMax;
  h_.KeySource().SetKey(VK_Z, true);
  // The ship sweeps up and down; bullets rise through the grid and are topped up to 100.
  uint32_t frame = 0, bullets = 0;
  auto play = [&](uint32_t Frames) {
    for (uint32_t end = frame + Frames; frame < end; ++frame) {
      h_.KeySource().SetKey(VK_UP, frame / 40 % 2 == 0);
      h_.KeySource().SetKey(VK_DOWN, frame / 40 % 2 == 1);
      while (scene_->EnemyShots->Count() < 100) {
        const int32_t x = 380 + static_cast<int32_t>(bullets++ * 37 % 400);
        scene_->EnemyShots->Add(TDirShot::CreateAngled(x, 600, scene_->Graphics[giBullet], 1024, 3).release());
      }
      scene_->Score = frame * 7919 % kMaxScore;
      h_.Frame(*scene_);
    }
  };
  {
    const TAllocationCounter warmUp;
    play(300);
    EXPECT_GT(warmUp.Count(), 0u) << "the first shots and bullets come from the heap";
  }
  const TAllocationCounter steady;
  play(300);
  EXPECT_EQ(steady.Count(), 0u);
  ASSERT_NE(scene_->Hud, nullptr);
  EXPECT_EQ(ship.Lives, 3);
  EXPECT_GT(scene_->ShotList->Count(), 0);
}

// What Render queues, by queue.
struct TQueued {
  std::vector<TSXQuad> Translucent, Overlay, Opaque;
};

class ShootingRenderTest : public ShootingSceneTest {
 protected:
  TQueued Render() {
    scene_->Render();
    TQueued q;
    auto take = [](TSXRenderingQueue& Queue, std::vector<TSXQuad>& Into) {
      for (int32_t i = 0; i < Queue.QuadCount(); ++i) Into.push_back(Queue.Quad(i));
      Queue.Clear();
    };
    take(h_.Sprites()->TranslucentQueue(), q.Translucent);
    take(h_.Sprites()->OverlayQueue(), q.Overlay);
    take(h_.Sprites()->OpaqueQueue(), q.Opaque);
    return q;
  }
  static const TSXQuad* Find(const std::vector<TSXQuad>& Quads, const TDGTexture* Texture) {
    for (const TSXQuad& quad : Quads) {
      if (quad.Texture == Texture) return &quad;
    }
    return nullptr;
  }
  TDGTexture* SpriteTexture(int32_t Graphic) {
    return static_cast<TSpriteDef*>(scene_->Graphics[Graphic])->Texture.get();
  }
};

TEST_F(ShootingRenderTest, TheBackgroundScrollsTwoPixelsAFrameAndStandsStillWhilePaused) {
  Build(kQuietStage);
  // Over two whole periods: 2 pixels a frame, starting over every 192 frames.
  for (int frame = 1; frame <= 400; ++frame) {
    Updates(1);
    ASSERT_EQ(Find(Render().Translucent, scene_->MapTexture.get())->X, -2.0f * static_cast<float>(frame % 192))
        << frame;
  }
  TQueued q = Render();
  const TSXQuad* map = Find(q.Translucent, scene_->MapTexture.get());
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->X, -32.0f);
  EXPECT_EQ(map->Z, 1.0f);
  EXPECT_EQ(map->BlendMode, 2);
  EXPECT_EQ(map->AddressU, D3DTADDRESS_WRAP);
  EXPECT_EQ(map->Vertices[3].X, 1343.0f);
  EXPECT_EQ(map->Vertices[3].Y, 671.0f);
  EXPECT_EQ(map->Vertices[3].U, 7.0f);
  EXPECT_EQ(map->Vertices[3].V, 7.0f);
  Press(VK_RETURN);
  Updates(5);
  EXPECT_EQ(Find(Render().Translucent, scene_->MapTexture.get())->X, -32.0f);

  Build(kQuietStage, scenetest::GameGraphicDefs(), false);  // no map.bmp anywhere: the plain clear colour
  EXPECT_EQ(Find(Render().Translucent, scene_->MapTexture.get()), nullptr);
}

TEST_F(ShootingRenderTest, TheMeterShowsTheCursorAndWhatCanBeBought) {
  const struct {
    uint8_t Cursor;
    int32_t Speed;
    uint8_t ShotType;
    int32_t Options;
    std::vector<int> Labels;
  } cases[] = {
      {kCursorNone, 4, stNormal, 0, {0, 2, 3, 4}},
      {ppSpeed, 9, stNormal, 0, {2, 3, 4}},
      {ppLaser, 4, stLaser, 0, {0, 2, 4}},
      {ppOption, 4, stDouble, 4, {0, 3}},
  };
  Build(kQuietStage);
  for (const auto& c : cases) {
    TEmu& ship = *scene_->Ship;
    ship.Cursor = c.Cursor;
    ship.Speed = c.Speed;
    ship.ShotType = c.ShotType;
    ship.OptionCount = c.Options;
    const TQueued q = Render();
    for (int cell = 0; cell < 6; ++cell) {
      std::vector<const TSXQuad*> quads;
      for (const TSXQuad& quad : q.Overlay) {
        if (quad.X == 208 + 64 * cell && quad.Y == 560) quads.push_back(&quad);
      }
      const bool label = std::find(c.Labels.begin(), c.Labels.end(), cell) != c.Labels.end();
      ASSERT_EQ(quads.size(), label ? 2u : 1u) << "cell " << cell;
      EXPECT_EQ(quads[0]->Texture, SpriteTexture(cell == c.Cursor ? 7 : 6)) << "cell " << cell;
      if (label) {
        EXPECT_EQ(quads[1]->Texture, SpriteTexture(cell)) << "cell " << cell;
      }
      EXPECT_EQ(quads[0]->Vertices[0].Diffuse, 0xFFFFFFFFu);
      EXPECT_EQ(quads[0]->Vertices[3].Diffuse, 0xFF808080u);
      EXPECT_EQ(quads[0]->Vertices[3].X, 64.0f);
      EXPECT_EQ(quads[0]->Vertices[3].Y, 16.0f);
    }
  }
}

TEST_F(ShootingRenderTest, MessagesAreCentredInTheirColours) {
  Build("<stage title=\"A STAGE TITLE FAR TOO LONG FOR THE SCREEN OF EIGHT HUNDRED PIXELS\"/>");
  const auto centred = [](const TSXQuad& Quad, const TDGTexture& Texture) {
    return Quad.X == static_cast<float>((800 - static_cast<int32_t>(Texture.Width())) / 2) &&
           Quad.Y == static_cast<float>((600 - static_cast<int32_t>(Texture.Height())) / 2);
  };
  TQueued q = Render();
  const TSXQuad* title = Find(q.Overlay, scene_->TitleTexture.get());
  ASSERT_NE(title, nullptr);
  EXPECT_LT(title->X, 0.0f);
  EXPECT_TRUE(centred(*title, *scene_->TitleTexture));
  EXPECT_EQ(Find(q.Overlay, scene_->PauseTexture.get()), nullptr);

  Updates(kFlyIn + 100);  // the title shows for the stage's first 100 frames
  Press(VK_RETURN);
  scene_->State = psGameOver;
  q = Render();
  EXPECT_EQ(Find(q.Overlay, scene_->TitleTexture.get()), nullptr);
  const TSXQuad* pause = Find(q.Overlay, scene_->PauseTexture.get());
  ASSERT_NE(pause, nullptr);
  EXPECT_TRUE(centred(*pause, *scene_->PauseTexture));
  EXPECT_EQ(pause->Vertices[0].Diffuse, 0xFFFFFFFFu);
  const TSXQuad* over = Find(q.Overlay, scene_->GameOverTexture.get());
  ASSERT_NE(over, nullptr);
  EXPECT_EQ(over->Vertices[0].Diffuse, 0xFFFF8000u);
  EXPECT_EQ(over->Smooth, 0);
  EXPECT_EQ(pause->Smooth, 1);

  scene_->State = psStageClear;
  q = Render();
  EXPECT_NE(Find(q.Overlay, scene_->StageClearTexture.get()), nullptr);
  EXPECT_EQ(Find(q.Overlay, scene_->GameOverTexture.get()), nullptr);
}

TEST_F(ShootingRenderTest, ALostShipAndItsOptionsAreNotDrawn) {
  Build(kQuietStage);
  Updates(kFlyIn);
  TEmu& ship = *scene_->Ship;
  ship.Options[0]->SetActive(true);
  ship.OptionCount = 1;
  TDGTexture* shipTexture = static_cast<TSpriteDef*>(scene_->GraphicDefs->Find("ship"))->Texture.get();
  TDGTexture* optionTexture = static_cast<TSpriteDef*>(scene_->GraphicDefs->Find("option"))->Texture.get();
  TQueued q = Render();
  EXPECT_NE(Find(q.Translucent, shipTexture), nullptr);
  EXPECT_NE(Find(q.Overlay, optionTexture), nullptr);
  ship.Hit(1);
  q = Render();
  EXPECT_EQ(Find(q.Translucent, shipTexture), nullptr);
  EXPECT_EQ(Find(q.Overlay, optionTexture), nullptr);
}

TEST_F(ShootingRenderTest, LivesAndScoreShowOnlyOffTheClassicScreen) {
  Build(kQuietStage);
  Updates(kFlyIn);
  scene_->Score = 1204;
  EXPECT_EQ(scene_->Hud, nullptr);
  h_.Frame(*scene_);
  EXPECT_EQ(h_.Screen(10, 10) & 0xFFFFFF, 0x204060u) << "the design's screen: background only";

  const TScoreBookScope scores;
  Build(kQuietStage);
  Updates(kFlyIn);
  ASSERT_NE(scene_->Hud, nullptr);
  scene_->Score = 1204;
  TDGTexture* shipTexture = static_cast<TSpriteDef*>(scene_->GraphicDefs->Find("ship"))->Texture.get();
  TQueued q = Render();
  // The label, then one quad a digit from a strip of "0123456789", left to right, each as wide as its cell.
  std::vector<const TSXQuad*> top, icons;
  for (const TSXQuad& quad : q.Overlay) {
    if (quad.Y == TScoreHud::kScoreY) top.push_back(&quad);
    if (quad.Texture == shipTexture) icons.push_back(&quad);
  }
  ASSERT_EQ(top.size(), 5u);
  EXPECT_EQ(top[0]->X, TScoreHud::kScoreX);
  const TDGTexture* strip = top[1]->Texture;
  const float cell = strip->MaxU() / 10;
  const int digits[] = {1, 2, 0, 4};
  for (int i = 0; i < 4; ++i) {
    const TSXQuad& digit = *top[1 + i];
    EXPECT_EQ(digit.Texture, strip);
    EXPECT_NEAR(digit.Vertices[0].U, cell * static_cast<float>(digits[i]), 1e-4f) << i;
    EXPECT_NEAR(digit.Vertices[3].U, cell * static_cast<float>(digits[i] + 1), 1e-4f) << i;
    if (i > 0) {
      EXPECT_EQ(digit.X, top[i]->X + top[i]->Vertices[3].X) << "side by side";
    }
  }
  EXPECT_GT(top[1]->X, top[0]->X + top[0]->Vertices[3].X) << "after the label";
  // Two ships in reserve, at the ship picture's own 8 x 8 (never enlarged), left to right in the meter's row.
  ASSERT_EQ(icons.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(icons[i]->X + icons[i]->Vertices[0].X, static_cast<float>(8 + i * 12)) << i;
    EXPECT_EQ(icons[i]->Y + icons[i]->Vertices[0].Y, 564.0f) << "centred in the meter's row";
    EXPECT_EQ(icons[i]->Vertices[3].X - icons[i]->Vertices[0].X, 8.0f);
  }
  scene_->Ship->Lives = 1;
  EXPECT_EQ(Find(Render().Overlay, shipTexture), nullptr) << "the last ship has none in reserve";
  scene_->Ship->Lives = 3;
  scene_->Score = 0;
  q = Render();
  EXPECT_EQ(std::count_if(q.Overlay.begin(), q.Overlay.end(),
                          [](const TSXQuad& quad) { return quad.Y == TScoreHud::kScoreY; }),
            2)
      << "0 is one digit";

  h_.Frame(*scene_);
  int lit = 0;
  for (int y = 4; y < 24; ++y)
    for (int x = 8; x < 60; ++x) lit += (h_.Screen(x, y) & 0xFFFFFF) != 0x204060u;
  EXPECT_GT(lit, 50) << "SCORE";
  EXPECT_EQ(h_.Screen(8 + 4, 568) & 0xFFFFFF, 0x80C0FFu) << "a reserve ship";
  EXPECT_EQ(h_.Screen(8 + 12 + 4, 568) & 0xFFFFFF, 0x80C0FFu) << "the second";
  EXPECT_EQ(h_.Screen(8 + 24 + 4, 568) & 0xFFFFFF, 0x204060u) << "no third";

  int32_t w = 0, h = 0;
  TScoreHud::IconSize(36, 20, w, h);
  EXPECT_EQ(w * 100 + h, 28 * 100 + 16) << "a taller picture: 16 high";
  TScoreHud::IconSize(400, 10, w, h);
  EXPECT_EQ(w * 100 + h, 48 * 100 + 1) << "a wide one: 48 wide, never below a pixel";
  TScoreHud::IconSize(0, -5, w, h);
  EXPECT_EQ(w * 100 + h, 1 * 100 + 1);
}

TEST_F(ShootingRenderTest, AFrameOfPlayReachesTheScreen) {
  Build(kQuietStage);
  Updates(kFlyIn);
  h_.Frame(*scene_);
  EXPECT_EQ(h_.Screen(799, 5) & 0xFFFFFF, 0x204060u) << "the background picture";
  EXPECT_NE(h_.Screen(208 + 32, 560 + 2), h_.Screen(799, 5)) << "the meter";
}

}  // namespace
