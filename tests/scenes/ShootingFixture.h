// A fixture for tests of the game scene: a skin of the test's own stages, the scene over it updated frame by
// frame with the keys the test sets, and enemies of the test's own making.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Enemy.h"
#include "EnemyList.h"
#include "GameRandom.h"
#include "GameSkin.h"
#include "GraphicDefs.h"
#include "SceneHarness.h"
#include "StageDefs.h"
#include "UShooting.h"

namespace scenetest {

constexpr uint32_t kFlyIn = 101;  // updates until the ship is under control

class TShootingFixture : public ::testing::Test {
 protected:
  // A new scene (random seed 7) on a skin of these stages and graphic definitions.
  void Build(const std::string& Stages, const std::string& GraphicDefs = GameGraphicDefs(), bool WithMap = true) {
    scene_.reset();
    skin_.reset();
    skin_ = std::make_unique<TGameSkin>(Stages, GraphicDefs, WithMap);
    SeedRandom(7);
    scene_ = std::make_unique<TShootingScene>(h_.Sprites(), h_.Keys());
  }
  void TearDown() override {
    scene_.reset();
    skin_.reset();
  }
  // Up to N updates; none after the scene has finished.
  void Updates(uint32_t N) {
    for (uint32_t i = 0; i < N && !scene_->Finished(); ++i) h_.UpdateOnly(*scene_);
  }
  // Holds Key down for one update.
  void Press(uint8_t Key) {
    h_.KeySource().SetKey(Key, true);
    Updates(1);
    h_.KeySource().SetKey(Key, false);
  }
  // A stationary enemy of the "bot" graphic, already in the scene's list.
  TEnemy* AddEnemy(int32_t X, int32_t Y, int32_t HP, int32_t Group = -1, bool Item = false, bool StageClear = false) {
    auto def = std::make_unique<TEnemyDef>();
    def->X = X;
    def->Y = Y;
    def->HP = HP;
    def->Group = Group;
    def->Item = Item ? ikPowerUp : ikNone;
    def->StageClear = StageClear;
    def->Graphic = scene_->GraphicDefs->Find("bot");
    auto* enemy = new TEnemy(def.get());
    defs_.push_back(std::move(def));
    scene_->Enemies->Add(enemy);
    return enemy;
  }

  TSceneHarness h_;
  std::unique_ptr<TGameSkin> skin_;
  std::vector<std::unique_ptr<TEnemyDef>> defs_;
  std::unique_ptr<TShootingScene> scene_;
};

}  // namespace scenetest
