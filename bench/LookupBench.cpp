// Per-frame look-ups over data a skin or a user sizes: an animation's entry for the elapsed count (every
// animation on the field, every frame) and the headless key source stepping its script (every frame of a
// replay). Bundled sizes: 8 entries in the longest animation, a few hundred lines in a recording; each runs at
// 1x, 10x and 100x (and the key script at 1000x): the time per call must grow no faster than log n.
#include <benchmark/benchmark.h>

#include "GraphicDefs.h"
#include "KeyScript.h"

namespace {

void BM_AnimationFrameIndexAt(benchmark::State& State) {
  const int entries = static_cast<int>(State.range(0));
  TAnimationDef def;
  def.MaxFrame = static_cast<uint32_t>(entries) * 4;
  def.Repeat = true;
  for (int i = 0; i < entries; ++i) {
    auto* entry = new TAnimationSpriteDef;
    entry->Frame = static_cast<uint32_t>(i) * 4;
    def.AddFrame(entry);
  }
  uint32_t t = 0;
  for (auto _ : State) benchmark::DoNotOptimize(def.FrameIndexAt(t += 7));
}
BENCHMARK(BM_AnimationFrameIndexAt)->Arg(8)->Arg(80)->Arg(800);

// A whole replay: every frame of a script with a change every other frame, per frame stepped.
void BM_ScriptedKeysWholeReplay(benchmark::State& State) {
  const uint32_t lines = static_cast<uint32_t>(State.range(0));
  std::vector<TKeyScriptLine> script(lines);
  for (uint32_t i = 0; i < lines; ++i) script[i] = TKeyScriptLine{i * 2, {static_cast<uint8_t>(37 + i % 4)}};
  TScriptedKeySource keys(std::move(script));
  for (auto _ : State) {
    for (uint32_t frame = 0; frame < lines * 2; ++frame) keys.SetFrame(frame);
    keys.SetFrame(0);
  }
  State.SetItemsProcessed(State.iterations() * lines * 2);
}
BENCHMARK(BM_ScriptedKeysWholeReplay)->Arg(300)->Arg(3000)->Arg(30000)->Arg(300000)->Unit(benchmark::kMillisecond);

}  // namespace
