// The cost of a frame of play: the real game scene on a stress skin (300 enemies and 500 enemy bullets on the
// field, the ship with four options firing lasers), its Update and its Render into the software back buffer,
// with the heap allocations made per frame; and a played stretch of the bundled skin, whose busiest frame is
// reported.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "DataTestSupport.h"
#include "EnemyList.h"
#include "GameKeys.h"
#include "PlayerShip.h"
#include "SceneHarness.h"
#include "Shots.h"
#include "SkinFolders.h"
#include "UShooting.h"

namespace {

constexpr int kEnemies = 300, kBullets = 500;

// A 24-bit BMP; Colour(X, Y) gives 0xRRGGBB.
template <typename TColour>
std::string Bmp(int Width, int Height, TColour Colour) {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x) pixels.push_back(Colour(x, y));
  }
  return datatest::MakeBmp(Width, Height, 24, pixels);
}

std::string Sprite(const char* Id, int Left, int Top, int Width, int Height, const char* Blend, int Hit) {
  return std::string("<sprite id=\"") + Id + "\" filename=\"sprites.bmp\" blendmode=\"" + Blend +
         "\"><imagerect left=\"" + std::to_string(Left) + "\" top=\"" + std::to_string(Top) + "\" right=\"" +
         std::to_string(Left + Width) + "\" bottom=\"" + std::to_string(Top + Height) + "\"/><origin x=\"" +
         std::to_string(Width / 2) + "\" y=\"" + std::to_string(Height / 2) + "\"/><hitarea left=\"" +
         std::to_string(-Hit) + "\" top=\"" + std::to_string(-Hit) + "\" right=\"" + std::to_string(Hit) +
         "\" bottom=\"" + std::to_string(Hit) + "\"/></sprite>\n";
}

// The stress skin: sprites of the bundled skin's sizes, a tiled map, and one stage of 300 enemies that stand
// in a grid right of the ship and cannot be destroyed.
void WriteStressSkin(const std::filesystem::path& Root) {
  const std::filesystem::path skin = Root / "skin";
  datatest::WriteFile(skin / "stress/graphic/sprites.bmp", Bmp(256, 64, [](int X, int Y) {
                        return (X + Y) % 7 == 0 ? 0xFF00FFu : 0x102030u * (1 + (X / 16) % 5);
                      }));
  datatest::WriteFile(skin / "system/graphic/map.bmp",
                      Bmp(192, 96, [](int X, int Y) { return (X * 13 + Y * 7) % 97 == 0 ? 0xFFFFFFu : 0xFF00FFu; }));
  std::string defs = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<graphicdef>\n";
  defs += Sprite("ship", 0, 0, 32, 16, "alpha", 3) + Sprite("option", 32, 0, 16, 16, "alpha", 6) +
          Sprite("shot", 48, 0, 16, 4, "alpha", 2) + Sprite("laser", 48, 8, 16, 4, "add", 2) +
          Sprite("bullet", 64, 0, 8, 8, "alpha", 2) + Sprite("capsule", 80, 0, 16, 16, "alpha", 7) +
          Sprite("bot", 96, 0, 24, 24, "alpha", 10) + Sprite("blast", 128, 0, 32, 32, "add", 16);
  const char* meter[] = {"txtspeed",  "txtmissile", "txtdouble", "txtlaser",
                         "txtoption", "txtshield",  "bgpowerup", "bgpowerupselected"};
  for (int i = 0; i < 8; ++i) defs += Sprite(meter[i], 64 * (i % 4), 32 + 16 * (i / 4), 64, 16, "alpha", 8);
  defs +=
      "<animation id=\"explosion\" maxframe=\"24\" width=\"32\" height=\"32\"><origin x=\"16\" y=\"16\"/>"
      "<sprite ref=\"blast\" frame=\"0\"/></animation>\n</graphicdef>\n";
  datatest::WriteFile(skin / "stress/xml/graphicdef.xml", defs);
  std::string stage = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<stagedef><stage title=\"STRESS\">\n";
  for (int i = 0; i < kEnemies; ++i) {
    stage += "<enemy frame=\"0\" x=\"" + std::to_string(330 + 22 * (i % 20)) + "\" y=\"" +
             std::to_string(20 + 37 * (i / 20)) + "\" speed=\"0\" hp=\"1000000000\"/>\n";
  }
  datatest::WriteFile(skin / "stress/xml/stagedef.xml", stage + "</stage></stagedef>\n");
}

// The game scene on the tests' scene harness (device, sprite renderer, scripted keys), driven as the main form
// drives it.
class TGameRig {
 public:
  explicit TGameRig(const std::string& Skin) {
    CurrentSkin = Skin;
    scene_ = std::make_unique<TShootingScene>(harness_.Sprites(), harness_.Keys());
  }
  void Update() { harness_.UpdateOnly(*scene_); }
  void Render() { harness_.Draw(*scene_); }
  TShootingScene& Scene() { return *scene_; }
  TScriptedKeySource& Keys() { return harness_.KeySource(); }

 private:
  TSceneHarness harness_;
  std::unique_ptr<TShootingScene> scene_;
};

// The stress game in full swing: four options, lasers held, the ship sweeping up and down, and the enemy
// bullets topped up to 500 as they leave the field at the top.
class TStressGame {
 public:
  TStressGame() {
    dir_ = std::filesystem::temp_directory_path() / ("morvanth-bench-" + std::to_string(std::random_device{}()));
    WriteStressSkin(dir_);
    InitializeSkinFolders(dir_.string());
    rig_ = std::make_unique<TGameRig>("stress");
    for (int i = 0; i < 102; ++i) rig_->Update();  // the fly-in, then the grid appears
    TEmu& ship = *rig_->Scene().Ship;
    ship.ShotType = stLaser;
    for (int i = 0; i < TEmu::kOptionMax; ++i) ship.Options[i]->SetActive(true);
    ship.OptionCount = TEmu::kOptionMax;
    rig_->Keys().SetKey(VK_Z, true);
    for (int i = 0; i < 600; ++i) Frame(true);  // every list reaches its size
  }
  ~TStressGame() {
    rig_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  void Steer() {
    const bool up = (frame_++ / 60) % 2 == 0;
    rig_->Keys().SetKey(VK_UP, up);
    rig_->Keys().SetKey(VK_DOWN, !up);
  }
  void TopUpBullets() {
    TShootingScene& scene = rig_->Scene();
    while (scene.EnemyShots->Count() < kBullets) {
      const int32_t x = 320 + static_cast<int32_t>((next_ * 97) % 470);
      ++next_;
      scene.EnemyShots->Add(
          TDirShot::CreateAngled(x, 600, scene.Graphics[TShootingScene::giBullet], 1024, 3).release());
    }
  }
  void Frame(bool Render) {
    Steer();
    TopUpBullets();
    rig_->Update();
    if (Render) rig_->Render();
  }
  TGameRig& Rig() { return *rig_; }

 private:
  std::filesystem::path dir_;
  std::unique_ptr<TGameRig> rig_;
  uint64_t frame_ = 0, next_ = 0;
};

void ReportAllocations(benchmark::State& State, const TAllocationCounter& Counter) {
  State.counters["allocs_per_frame"] = static_cast<double>(Counter.Count()) / static_cast<double>(State.iterations());
}

void BM_StressUpdate(benchmark::State& State) {
  TStressGame game;
  TShootingScene& scene = game.Rig().Scene();
  const TAllocationCounter allocations;
  for (auto _ : State) {
    State.PauseTiming();
    game.Steer();
    game.TopUpBullets();
    State.ResumeTiming();
    game.Rig().Update();
  }
  ReportAllocations(State, allocations);
  State.counters["enemies"] = scene.Enemies->Count();
  State.counters["bullets"] = scene.EnemyShots->Count();
  State.counters["shots"] = scene.ShotList->Count();
}
BENCHMARK(BM_StressUpdate)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_StressRender(benchmark::State& State) {
  TStressGame game;
  const TAllocationCounter allocations;
  for (auto _ : State) game.Rig().Render();
  ReportAllocations(State, allocations);
}
BENCHMARK(BM_StressRender)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_StressFrame(benchmark::State& State) {
  TStressGame game;
  const TAllocationCounter allocations;
  for (auto _ : State) game.Frame(true);
  ReportAllocations(State, allocations);
}
BENCHMARK(BM_StressFrame)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Stage 1 of the bundled skin played with fire held, the ship sweeping the field and C pressed now and then:
// the median frame and the busiest one (Update and Render together).
void BM_BundledStageOne(benchmark::State& State) {
  InitializeSkinFolders(MORVANTH_SOURCE_DIR);
  std::vector<double> frames;
  for (auto _ : State) {
    TGameRig rig("morv");
    rig.Keys().SetKey(VK_Z, true);
    frames.clear();
    for (int f = 0; f < 10000 && !rig.Scene().Finished(); ++f) {
      const int phase = (f / 45) % 4;
      rig.Keys().SetKey(VK_UP, phase == 0);
      rig.Keys().SetKey(VK_DOWN, phase == 2);
      rig.Keys().SetKey(VK_C, f % 97 == 0);
      const auto start = std::chrono::steady_clock::now();
      rig.Update();
      if (!rig.Scene().Finished()) rig.Render();
      frames.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
  }
  std::sort(frames.begin(), frames.end());
  State.counters["frames"] = static_cast<double>(frames.size());
  State.counters["median_ms"] = frames[frames.size() / 2];
  State.counters["p99_ms"] = frames[frames.size() * 99 / 100];
  State.counters["busiest_ms"] = frames.back();
}
BENCHMARK(BM_BundledStageOne)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
