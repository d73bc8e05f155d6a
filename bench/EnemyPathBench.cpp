// One frame of a crowded field: path enemies recompute their place from the first waypoint every update.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "EnemyList.h"
#include "GraphicDefs.h"
#include "StageDefs.h"

namespace {

class TBenchGraphic : public TGraphicDef {
 public:
  void Draw(const TDrawable*, TSXScene*) override {}
};

void BM_EnemyListFrame(benchmark::State& state) {
  const int32_t Count = static_cast<int32_t>(state.range(0));
  TBenchGraphic Graphic;
  // Boss enemies at eight speeds: the longest path (15 segments), and they never finish.
  std::vector<std::unique_ptr<TEnemyDef>> Defs;
  for (uint8_t Motion = 0; Motion < 8; ++Motion) {
    auto Def = std::make_unique<TEnemyDef>();
    Def->Motion = mtBoss1;
    Def->Speed = 1 + Motion;
    Def->HP = 1;
    Def->Graphic = &Graphic;
    Defs.push_back(std::move(Def));
  }
  TEnemyLinkedList List;
  for (int32_t i = 0; i < Count; ++i) List.Add(new TEnemy(Defs[static_cast<size_t>(i % 8)].get()));
  for (auto _ : state) {
    List.UpdateAll(1);
    benchmark::DoNotOptimize(List.First()->X);
  }
  state.SetItemsProcessed(state.iterations() * Count);
}
BENCHMARK(BM_EnemyListFrame)->Arg(50)->Arg(200);

}  // namespace
