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

void BM_EnemyListFrame(benchmark::State& State) {
  const int32_t count = static_cast<int32_t>(State.range(0));
  TBenchGraphic graphic;
  // Boss enemies at eight speeds: the longest path (15 segments), and they never finish.
  std::vector<std::unique_ptr<TEnemyDef>> defs;
  for (uint8_t motion = 0; motion < 8; ++motion) {
    auto def = std::make_unique<TEnemyDef>();
    def->Motion = mtBoss1;
    def->Speed = 1 + motion;
    def->HP = 1;
    def->Graphic = &graphic;
    defs.push_back(std::move(def));
  }
  TEnemyLinkedList list;
  for (int32_t i = 0; i < count; ++i) list.Add(new TEnemy(defs[static_cast<size_t>(i % 8)].get()));
  for (auto _ : State) {
    list.UpdateAll(1);
    benchmark::DoNotOptimize(list.First()->X);
  }
  State.SetItemsProcessed(State.iterations() * count);
}
BENCHMARK(BM_EnemyListFrame)->Arg(50)->Arg(200);

}  // namespace
