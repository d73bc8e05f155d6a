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
void RunFrames(benchmark::State& State, TSceneRig<TScene>& Rig) {
  for (auto _ : State) {
    if (!Rig.Frame()) {
      State.PauseTiming();
      Rig.Restart();
      State.ResumeTiming();
    }
  }
}

void BM_TitleDrawingFrame(benchmark::State& State) {
  TSceneRig<TOpeningScene> rig;
  for (auto _ : State) {
    rig.Frame();
    if (rig.Scene().Complete) {
      State.PauseTiming();
      rig.Restart();
      State.ResumeTiming();
    }
  }
}
BENCHMARK(BM_TitleDrawingFrame)->Unit(benchmark::kMillisecond);

void BM_TitleFrame(benchmark::State& State) {
  TSceneRig<TOpeningScene> rig;
  rig.Scene().SetComplete(true);
  RunFrames(State, rig);
}
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMillisecond);

// Stage 1 of the bundled skin with fire held and the ship sweeping up and down.
void BM_GameFrame(benchmark::State& State) {
  TSceneRig<TShootingScene> rig;
  rig.Keys().SetKey(VK_Z, true);
  int frame = 0;
  for (auto _ : State) {
    const int phase = (frame++ / 45) % 4;
    rig.Keys().SetKey(VK_UP, phase == 0);
    rig.Keys().SetKey(VK_DOWN, phase == 2);
    if (!rig.Frame()) {
      State.PauseTiming();
      rig.Restart();
      State.ResumeTiming();
    }
  }
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond);

void BM_EndingFrame(benchmark::State& State) {
  TSceneRig<TEndingScene> rig;
  RunFrames(State, rig);
}
BENCHMARK(BM_EndingFrame)->Unit(benchmark::kMillisecond);

void BM_EndingFastFrame(benchmark::State& State) {
  TSceneRig<TEndingScene> rig;
  rig.Keys().SetKey(VK_LCONTROL, true);
  RunFrames(State, rig);
}
BENCHMARK(BM_EndingFastFrame)->Unit(benchmark::kMillisecond);

// From the title's Enter to a playable game: the scene with its definitions, pictures and texts.
void BM_GameStart(benchmark::State& State) {
  TSceneRig<TShootingScene> rig;
  for (auto _ : State) {
    State.PauseTiming();
    rig.Drop();
    State.ResumeTiming();
    rig.Restart();
  }
}
BENCHMARK(BM_GameStart)->Unit(benchmark::kMillisecond);

}  // namespace
