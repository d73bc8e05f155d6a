// What each scene costs a frame on one core: Update and Render into the software back buffer, driven as the main
// form drives them (title while its logo is drawn and once it is complete, a game on the bundled skin, the
// ending at its normal and its fast speed), and the time to construct the game scene with the bundled skin.
// Target: under 1 ms a frame for every scene; game start under 100 ms.
#include <benchmark/benchmark.h>

#include <memory>

#include "GameKeys.h"
#include "SceneHarness.h"
#include "SkinFolders.h"
#include "UOpening.h"
#include "UScene.h"
#include "UShooting.h"

namespace {

// A scene of class TScene on the scene harness, constructed anew whenever it finishes (off the clock).
template <typename TScene>
class TSceneRig {
 public:
  TSceneRig() {
    InitializeSkinFolders(MORVANTH_SOURCE_DIR);
    TSceneHarness::SetSkins({kDefaultSkin}, kDefaultSkin);
    Restart();
  }
  void Restart() {
    Drop();
    scene_ = std::make_unique<TScene>(harness_.Sprites(), harness_.Keys());
  }
  void Drop() { scene_.reset(); }
  // One frame; false when the scene finished in it (and nothing was drawn).
  bool Frame() {
    harness_.Frame(*scene_);
    return !scene_->Finished();
  }
  TScene& Scene() { return *scene_; }
  TScriptedKeySource& Keys() { return harness_.KeySource(); }

 private:
  TSceneHarness harness_;
  std::unique_ptr<TScene> scene_;
};

template <typename TScene>
void RunFrames(benchmark::State& state, TSceneRig<TScene>& rig) {
  for (auto _ : state) {
    if (!rig.Frame()) {
      state.PauseTiming();
      rig.Restart();
      state.ResumeTiming();
    }
  }
}

void BM_TitleDrawingFrame(benchmark::State& state) {
  TSceneRig<TOpeningScene> rig;
  for (auto _ : state) {
    rig.Frame();
    if (rig.Scene().Complete) {
      state.PauseTiming();
      rig.Restart();
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_TitleDrawingFrame)->Unit(benchmark::kMillisecond);

void BM_TitleFrame(benchmark::State& state) {
  TSceneRig<TOpeningScene> rig;
  rig.Scene().SetComplete(true);
  RunFrames(state, rig);
}
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMillisecond);

// Stage 1 of the bundled skin with fire held and the ship sweeping up and down.
void BM_GameFrame(benchmark::State& state) {
  TSceneRig<TShootingScene> rig;
  rig.Keys().SetKey(VK_Z, true);
  int frame = 0;
  for (auto _ : state) {
    const int phase = (frame++ / 45) % 4;
    rig.Keys().SetKey(VK_UP, phase == 0);
    rig.Keys().SetKey(VK_DOWN, phase == 2);
    if (!rig.Frame()) {
      state.PauseTiming();
      rig.Restart();
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond);

void BM_EndingFrame(benchmark::State& state) {
  TSceneRig<TEndingScene> rig;
  RunFrames(state, rig);
}
BENCHMARK(BM_EndingFrame)->Unit(benchmark::kMillisecond);

void BM_EndingFastFrame(benchmark::State& state) {
  TSceneRig<TEndingScene> rig;
  rig.Keys().SetKey(VK_LCONTROL, true);
  RunFrames(state, rig);
}
BENCHMARK(BM_EndingFastFrame)->Unit(benchmark::kMillisecond);

// From the title's Enter to a playable game: the scene with its definitions, pictures and texts.
void BM_GameStart(benchmark::State& state) {
  TSceneRig<TShootingScene> rig;
  for (auto _ : state) {
    state.PauseTiming();
    rig.Drop();
    state.ResumeTiming();
    rig.Restart();
  }
}
BENCHMARK(BM_GameStart)->Unit(benchmark::kMillisecond);

}  // namespace
