// The numbers docs/skins.md gives skin authors ("Designer's numbers"), measured from the game scene itself and
// compared with the guide's table: fire rates, shot, laser and bullet speeds, the fly-in, the damage of each
// weapon and the time a boss takes under each power-up.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "Enemy.h"
#include "EnemyList.h"
#include "GameKeys.h"
#include "GameRandom.h"
#include "GameSkin.h"
#include "GraphicDefs.h"
#include "Laser.h"
#include "PlayerShip.h"
#include "Shots.h"
#include "StageDefs.h"
#include "UShooting.h"

namespace {

using scenetest::TGameSkin;

// The value cell of the guide's row NAME ("| name | value |").
std::string GuideValue(const std::string& Name) {
  std::ifstream in(std::string(MORVANTH_SOURCE_DIR) + "/docs/skins.md");
  const std::string start = "| " + Name + " | ";
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(start, 0) == 0) return line.substr(start.size());
  }
  return "(no row \"" + Name + "\")";
}

#define EXPECT_GUIDE(row, text) \
  EXPECT_NE(GuideValue(row).find(text), std::string::npos) << "guide row \"" << (row) << "\": " << GuideValue(row)

std::string Frames(uint32_t N) { return std::to_string(N) + " frames"; }

class TDesignerNumbers : public ::testing::Test {
 protected:
  void Build(const std::string& Stages, const TShipPower& Power = {}) {
    scene_.reset();
    skin_.reset();
    skin_ = std::make_unique<TGameSkin>(Stages);
    SeedRandom(7);
    TGameStart start;
    start.Power = Power;
    scene_ = std::make_unique<TShootingScene>(h_.Sprites(), h_.Keys(), start);
  }
  void TearDown() override {
    scene_.reset();
    skin_.reset();
  }
  void Update() { h_.UpdateOnly(*scene_); }
  void FlyIn() {
    while (scene_->Ship->Entering) Update();
  }
  void Hold(uint8_t Key, bool Down) { h_.KeySource().SetKey(Key, Down); }
  // Frames from the first hit on the stage's one enemy to its destruction, Z held from the end of the fly-in.
  uint32_t FramesToBringDown(bool Fire) {
    FlyIn();
    Hold(VK_Z, Fire);
    uint32_t frame = 0, firstHit = 0;
    bool hit = false;
    for (; frame < 20000; ++frame) {
      Update();
      auto* boss = static_cast<TEnemy*>(scene_->Enemies->First());
      if (!hit && (boss == nullptr || boss->HitsTaken > 0)) {
        hit = true;
        firstHit = frame;
      }
      if (boss == nullptr) break;
    }
    Hold(VK_Z, false);
    return frame - firstHit;
  }

  TSceneHarness h_;
  std::unique_ptr<TGameSkin> skin_;
  std::unique_ptr<TShootingScene> scene_;
};

constexpr const char* kEmpty = "<stage/>";

TEST_F(TDesignerNumbers, VolleysComeAtTheirIntervalWithAShotPerEmitter) {
  const struct {
    const char* Row;
    TShipPower Power;
    uint32_t Interval;
    int32_t PerVolley;
  } cases[] = {{"volley interval, shot", {4, stNormal, 0}, 12, 1},
               {"volley interval, double", {4, stDouble, 2}, 12, 6},
               {"volley interval, laser", {4, stLaser, 1}, 24, 2}};
  for (const auto& c : cases) {
    Build(kEmpty, c.Power);
    FlyIn();
    Hold(VK_Z, true);
    std::vector<uint32_t> volleys;
    int32_t shots = 0;
    for (uint32_t frame = 0; volleys.size() < 4; ++frame) {
      const int32_t before = scene_->ShotList->Count();
      Update();
      if (scene_->ShotList->Count() > before) {
        volleys.push_back(frame);
        shots = scene_->ShotList->Count() - before;
      }
    }
    Hold(VK_Z, false);
    EXPECT_EQ(volleys[0], 0u) << c.Row << ": the first volley comes as soon as the ship is under control";
    for (size_t i = 1; i < volleys.size(); ++i) EXPECT_EQ(volleys[i] - volleys[i - 1], c.Interval) << c.Row;
    EXPECT_EQ(shots, c.PerVolley) << c.Row;
    EXPECT_GUIDE(c.Row, Frames(c.Interval));
    EXPECT_GUIDE(c.Row, std::to_string(60.0 / c.Interval).substr(0, c.Interval == 24 ? 3 : 1) + " volleys a second");
  }
}

TEST_F(TDesignerNumbers, ShotsLasersAndBulletsFlyAtTheirSpeeds) {
  Build(kEmpty, {4, stDouble, 0});
  FlyIn();
  Hold(VK_Z, true);
  Update();
  Hold(VK_Z, false);
  auto* forward = static_cast<TDirShot*>(scene_->ShotList->First());
  auto* upward = static_cast<TDirShot*>(forward->Next());
  const int32_t shipX = scene_->Ship->X;
  // Created at the emitter's x + 10 and moved once in the same frame's list update.
  EXPECT_EQ(forward->X, shipX + 10 + 12);
  const float x0 = upward->PosX, y0 = upward->PosY;
  for (int i = 0; i < 10; ++i) Update();
  EXPECT_EQ(forward->X, shipX + 10 + 12 * 11);
  EXPECT_EQ(forward->Y, scene_->Ship->Y);
  const double dx = (upward->PosX - x0) / 10, dy = (y0 - upward->PosY) / 10;
  EXPECT_NEAR(std::hypot(dx, dy), 12.0, 1e-3);
  EXPECT_NEAR(std::atan2(dy, dx) * 180 / M_PI, 29.9, 0.05);
  char step[64];
  std::snprintf(step, sizeof step, "%.1f right and %.1f up a frame", dx, dy);
  EXPECT_GUIDE("double's upward shot", step);
  EXPECT_GUIDE("double's upward shot", "29.9°");
  EXPECT_GUIDE("shot", "12 pixels a frame to the right, from 10 pixels ahead");
  // The double's upward shot is the enemy bullet's picture.
  EXPECT_EQ(upward->Graphic, scene_->Graphics[giBullet]);
  EXPECT_GUIDE("double's upward shot", "drawn with `bullet`");

  Build(kEmpty, {4, stLaser, 0});
  FlyIn();
  Hold(VK_Z, true);
  Update();
  Hold(VK_Z, false);
  auto* laser = static_cast<TLaser*>(scene_->ShotList->First());
  TRect ship;
  scene_->Ship->GetRect(ship);
  EXPECT_EQ(laser->X, ship.Right);
  const int32_t length = laser->Length;
  Update();
  EXPECT_EQ(laser->Length - length, 30);
  while (laser->Growing) Update();
  EXPECT_EQ(laser->MaxLength, 400);
  const int32_t x = laser->X;
  Update();
  EXPECT_EQ(laser->X - x, 30);
  TRect beam;
  laser->GetRect(beam);
  EXPECT_EQ(beam.Bottom - beam.Top, 6);
  EXPECT_GUIDE("laser", "grows 30 pixels a frame from the front of the ship's hit area");
  EXPECT_GUIDE("laser", "to 400 pixels at most");
  EXPECT_GUIDE("laser", "flies right at 30 pixels a frame; hits 6 pixels tall");

  // A destroyed enemy's last bullet: one in 20, aimed, 3 pixels a frame.
  Build(kEmpty);
  FlyIn();
  int32_t destroyed = 0;
  while (scene_->EnemyShots->Count() == 0 && destroyed < 400) {
    TEnemyDef def;
    def.X = 600;
    def.Y = 100;
    def.HP = 1;
    def.Group = -1;
    def.Graphic = scene_->GraphicDefs->Find("bot");
    TEnemy enemy(&def);
    enemy.OnDestroyed = [this](TObject* E) { scene_->EnemyDestroyed(E); };
    enemy.Damage(1);
    ++destroyed;
  }
  ASSERT_EQ(scene_->EnemyShots->Count(), 1) << "no bullet in " << destroyed << " destroyed enemies";
  auto* bullet = static_cast<TDirShot*>(scene_->EnemyShots->First());
  EXPECT_EQ(bullet->Graphic, scene_->Graphics[giBullet]);
  const float bx = bullet->PosX, by = bullet->PosY;
  Update();
  EXPECT_NEAR(std::hypot(bullet->PosX - bx, bullet->PosY - by), 3.0, 1e-3);
  EXPECT_NEAR(std::atan2(scene_->Ship->Y - by, scene_->Ship->X - bx), std::atan2(bullet->PosY - by, bullet->PosX - bx),
              1e-3);
  EXPECT_EQ(TShootingScene::kBulletChance, 20);
  EXPECT_GUIDE("enemy bullet", "3 pixels a frame, aimed at the ship; one destroyed enemy in 20");
}

TEST_F(TDesignerNumbers, TheShipFliesInToItsEndPointAndTakesTheKeysAfter) {
  Build(kEmpty);
  Hold(VK_DOWN, true);  // held all along: it moves the ship once the fly-in is over
  std::vector<std::pair<int32_t, int32_t>> path;
  uint32_t controlled = 0;
  for (uint32_t frame = 1; controlled == 0 && frame < 200; ++frame) {
    Update();
    path.emplace_back(scene_->Ship->X, scene_->Ship->Y);
    if (scene_->Ship->Y != 300) controlled = frame;
  }
  Hold(VK_DOWN, false);
  ASSERT_GE(path.size(), 101u);
  EXPECT_EQ(path[59], std::make_pair(180, 300));  // 60 frames at 3 pixels
  for (size_t i = 0; i < 60; ++i) EXPECT_EQ(path[i].first, 3 * static_cast<int32_t>(i + 1));
  EXPECT_EQ(path[99], std::make_pair(140, 300));  // then 40 frames back at 1 pixel
  EXPECT_EQ(path[100], std::make_pair(140, 300));
  EXPECT_GUIDE("fly-in path", "from (0, 300) right 3 pixels a frame for 60 frames to (180, 300)");
  EXPECT_GUIDE("fly-in path", "back 1 pixel a frame for 40 frames");
  EXPECT_GUIDE("fly-in end point", "(140, 300)");
  const std::string nth = std::to_string(controlled) + (controlled % 10 == 1   ? "st"
                                                        : controlled % 10 == 2 ? "nd"
                                                                               : "th");
  EXPECT_GUIDE("fly-in end point", "from the " + nth + " frame");
  EXPECT_EQ(path[controlled - 1].second - 300, TEmu::kStartSpeed);
  EXPECT_GUIDE("ship speed", std::to_string(TEmu::kStartSpeed) + " pixels a frame");
  EXPECT_GUIDE("ship speed", "at most " + std::to_string(TEmu::kTopSpeed));
}

TEST_F(TDesignerNumbers, ALaserBeamHitsOnceAndOptionsHitEveryFrame) {
  // A beam spent on a survivor: one hit per beam, whatever the frames it overlaps.
  Build("<stage><enemy frame=\"0\" x=\"600\" y=\"300\" speed=\"0\" hp=\"50\"/></stage>", {4, stLaser, 0});
  FlyIn();
  Hold(VK_Z, true);
  Update();
  Hold(VK_Z, false);
  for (int i = 0; i < 60; ++i) Update();
  const auto* enemy = static_cast<TEnemy*>(scene_->Enemies->First());
  ASSERT_NE(enemy, nullptr);
  EXPECT_EQ(enemy->HitsTaken, 1);
  EXPECT_EQ(scene_->ShotList->Count(), 0);
  EXPECT_GUIDE("damage of a laser", "1 per beam");
  // Options parked on an enemy: each one, each frame. The options wait where the ship was made (200, 300).
  Build("<stage><enemy frame=\"0\" x=\"200\" y=\"300\" speed=\"0\" hp=\"50\"/></stage>", {4, stNormal, 3});
  FlyIn();
  Update();
  enemy = static_cast<TEnemy*>(scene_->Enemies->First());
  ASSERT_NE(enemy, nullptr);
  const int32_t hits = enemy->HitsTaken;
  Update();
  EXPECT_EQ(enemy->HitsTaken - hits, 3);
  EXPECT_GUIDE("damage of an option", "1 a frame for each option touching");
  EXPECT_GUIDE("damage of a shot", "1, and the shot is spent");
}

TEST_F(TDesignerNumbers, ABossFallsInTheTimeTheGuideGives) {
  constexpr int32_t kHp = 40;
  const std::string boss = "<stage><enemy frame=\"0\" x=\"600\" y=\"300\" speed=\"0\" hp=\"" + std::to_string(kHp) +
                           "\" stageclear=\"true\"/></stage>";
  const struct {
    const char* Row;
    TShipPower Power;
    uint32_t Interval;
  } cases[] = {{"boss, shot or double", {4, stNormal, 0}, 12},
               {"boss, shot or double", {4, stDouble, 2}, 12},
               {"boss, laser", {4, stLaser, 0}, 24},
               {"boss, laser", {4, stLaser, 2}, 24}};
  for (const auto& c : cases) {
    Build(boss, c.Power);
    const int32_t emitters = 1 + c.Power.Options;
    const uint32_t expected = static_cast<uint32_t>((kHp + emitters - 1) / emitters - 1) * c.Interval;
    // The options' shots start closer to the boss than the ship's: a few frames apart within one volley.
    EXPECT_NEAR(FramesToBringDown(true), expected, c.Power.Options > 0 ? 6 : 0)
        << c.Row << " with " << c.Power.Options << " options";
    EXPECT_GUIDE(c.Row, "(⌈N ÷ E⌉ − 1) × " + std::to_string(c.Interval) + " frames after the first hit");
  }
  Build("<stage><enemy frame=\"0\" x=\"200\" y=\"300\" speed=\"0\" hp=\"" + std::to_string(kHp) + "\"/></stage>",
        {4, stNormal, 4});
  // Frames from the first hit, which is itself one of them.
  EXPECT_EQ(FramesToBringDown(false) + 1, static_cast<uint32_t>((kHp + 3) / 4));
  EXPECT_GUIDE("boss, options alone", "⌈N ÷ K⌉ frames");
}

}  // namespace
