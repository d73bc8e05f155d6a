// What the game scene asks to hear, read from the sound log: each event of play names its effect or track on
// the frame it happens, and nothing else.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "Enemy.h"
#include "EnemyList.h"
#include "GameKeys.h"
#include "GameRandom.h"
#include "GameSkin.h"
#include "GraphicDefs.h"
#include "PlayerShip.h"
#include "Shots.h"
#include "SoundLog.h"
#include "StageDefs.h"
#include "UShooting.h"
#include "Visible.h"

namespace {

constexpr uint32_t kFlyIn = 101;
constexpr const char* kTwoStages =
    "<stage><enemy frame=\"0\" x=\"600\" y=\"50\" speed=\"0\" hp=\"99\" stageclear=\"true\"/></stage><stage/>";

class SceneSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin_ = std::make_unique<scenetest::TGameSkin>(kTwoStages);
    SetGameSound(&log_);
    SeedRandom(7);
    scene_ = std::make_unique<TShootingScene>(h_.Sprites(), h_.Keys());
  }
  void TearDown() override {
    scene_.reset();
    SetGameSound(nullptr);
    skin_.reset();
  }
  void Updates(uint32_t N) {
    for (uint32_t i = 0; i < N && !scene_->Finished(); ++i) h_.UpdateOnly(*scene_);
  }
  void Press(uint8_t Key) {
    h_.KeySource().SetKey(Key, true);
    Updates(1);
    h_.KeySource().SetKey(Key, false);
  }
  // What was logged since the last call.
  std::string Heard() {
    std::string text = out_.str();
    out_.str("");
    return text;
  }
  TEnemy* AddEnemy(int32_t X, int32_t Y, int32_t Hp) {
    def_.X = X;
    def_.Y = Y;
    def_.HP = Hp;
    def_.Graphic = scene_->GraphicDefs->Find("bot");
    auto* enemy = new TEnemy(&def_);
    scene_->Enemies->Add(enemy);
    return enemy;
  }
  void AddShotOn(const TEnemy& Enemy) {
    scene_->ShotList->Add(TDirShot::Create(Enemy.X, Enemy.Y, scene_->Graphics[TShootingScene::giShot], 0).release());
  }

  TSceneHarness h_;
  std::ostringstream out_;
  TSoundLog log_{out_};
  std::unique_ptr<scenetest::TGameSkin> skin_;
  std::unique_ptr<TShootingScene> scene_;
  TEnemyDef def_;
};

TEST_F(SceneSoundTest, EachEventOfPlayAsksForItsSound) {
  EXPECT_EQ(Heard(), "0 music stage1\n");
  Updates(kFlyIn);
  EXPECT_EQ(Heard(), "") << "the fly-in is silent";
  TEmu& ship = *scene_->Ship;
  const struct {
    const char* Name;
    std::function<void()> Act;
    const char* Expected;
  } cases[] = {
      {"a volley of shots, one effect",
       [&] {
         h_.KeySource().SetKey(VK_Z, true);
         Updates(13);
         h_.KeySource().SetKey(VK_Z, false);
       },
       "0 effect shot\n0 effect shot\n"},
      {"a laser volley",
       [&] {
         ship.ShotType = stLaser;
         Updates(24);
         Press(VK_Z);
       },
       "0 effect laser\n"},
      {"a capsule collected",
       [&] {
         scene_->Drops->Add(new TDrop(ship.X, ship.Y, ikPowerUp, scene_->Graphics[giCapsule]));
         Updates(1);
       },
       "0 effect capsule\n"},
      {"a power-up bought", [&] { Press(VK_C); }, "0 effect powerup\n"},
      {"nothing to buy is silent", [&] { Press(VK_C); }, ""},
      {"an enemy hit",
       [&] {
         AddShotOn(*AddEnemy(400, 100, 2));
         Updates(1);
       },
       "0 effect enemyhit\n"},
      {"an enemy destroyed",
       [&] {
         AddShotOn(*static_cast<TEnemy*>(scene_->Enemies->Last()));
         Updates(1);
       },
       "0 effect enemydestroyed\n"},
      {"pause and resume",
       [&] {
         Press(VK_RETURN);
         Updates(1);
         Press(VK_RETURN);
       },
       "0 effect pause\n0 music pause\n0 effect pause\n0 music resume\n"},
      {"a ship lost, then the restart keeps the stage's music",
       [&] {
         ship.Hit(1);
         Updates(50);
       },
       "0 effect shiplost\n0 music stage1\n"},
      {"the stage-clear enemy, then the next stage's music",
       [&] {
         Updates(kFlyIn + 1);
         static_cast<TEnemy*>(scene_->Enemies->First())->Damage(99);
         Updates(300);
       },
       "0 effect bossdestroyed\n0 effect stageclear\n0 music stop\n0 music stage2\n"},
      {"the last ship lost",
       [&] {
         Updates(kFlyIn);
         ship.Lives = 1;
         ship.Hit(1);
       },
       "0 effect shiplost\n0 effect gameover\n0 music stop\n"},
  };
  for (const auto& c : cases) {
    c.Act();
    EXPECT_EQ(Heard(), c.Expected) << c.Name;
  }
}

}  // namespace
