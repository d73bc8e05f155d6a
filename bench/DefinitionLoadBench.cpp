// Definition loading runs inside the game scene's construction: stage scripts are sorted once by frame (the
// entries come in any order), and every enemy and scene set-up looks ids up through the hash. The bundled morv
// skin has 878 enemies; the stage benchmark runs 1x, 10x and 100x that, and its time per entry must stay flat.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

#include "DataTestSupport.h"
#include "GraphicDefs.h"
#include "HeadlessWindow.h"
#include "SkinPlace.h"
#include "StageDefs.h"
#include "VUDaderDevice.h"

namespace {

class TPlainDef : public TGraphicDef {
 public:
  void Draw(const TDrawable*, TSXScene*) override {}
};

void BM_LoadStageDefs(benchmark::State& State) {
  const int entries = static_cast<int>(State.range(0));
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("morvanth-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir / "morv/xml");
  {
    std::ofstream xml(dir / "morv/xml/stagedef.xml");
    xml << "<stages><stage title='bench'>";
    std::mt19937 random(1);
    for (int i = 0; i < entries; ++i) {
      xml << "<group frame='" << random() % 10000 << "' x='700'><enemy frame='" << i % 50
          << "' motion='sturn1' hp='3'/></group>";
    }
    xml << "</stage></stages>";
  }
  TGraphicDefList graphics(nullptr);
  graphics.Add("bot", new TPlainDef);
  TStageDefList stages(&graphics);
  TSkinPlace place{dir.string() + "/morv/", dir.string() + "/system/"};
  for (auto _ : State) {
    benchmark::DoNotOptimize(stages.Reload(place));
  }
  State.SetItemsProcessed(State.iterations() * entries);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadStageDefs)->Arg(878)->Arg(8780)->Arg(87800)->Unit(benchmark::kMillisecond);

// Sprites cut from one 1024 x 1024 sheet: the bundled skins cut 71 sprites from their pictures; 10x and 100x
// that. The sheet is decoded once per load, so the time per sprite stays flat.
void BM_LoadGraphicDefs(benchmark::State& State) {
  const int sprites = static_cast<int>(State.range(0));
  datatest::TTempDir dir;
  datatest::WriteFile(dir.Path() / "morv/graphic/sheet.bmp",
                      datatest::MakeBmp(1024, 1024, 24, std::vector<uint32_t>(1024 * 1024, 0x408040)));
  std::string xml = "<graphics>";
  for (int i = 0; i < sprites; ++i) {
    const int x = i % 64 * 16, y = i / 64 % 64 * 16;
    xml += "<sprite id='s" + std::to_string(i) + "' filename='sheet.bmp'><imagerect left='" + std::to_string(x) +
           "' top='" + std::to_string(y) + "' right='" + std::to_string(x + 16) + "' bottom='" +
           std::to_string(y + 16) + "'/></sprite>";
  }
  datatest::WriteFile(dir.Path() / "morv/xml/graphicdef.xml", xml + "</graphics>");
  THeadlessWindow window(800, 600);
  TVUDader device(&window);
  device.SetDebugOption({});
  device.Loaded();
  TSkinPlace place{dir.Dir() + "morv/", dir.Dir() + "system/"};
  for (auto _ : State) {
    TGraphicDefList graphics(&device);
    benchmark::DoNotOptimize(graphics.Load(place));
  }
  State.SetItemsProcessed(State.iterations() * sprites);
}
BENCHMARK(BM_LoadGraphicDefs)->Arg(71)->Arg(710)->Arg(7100)->Unit(benchmark::kMillisecond);

void BM_FindGraphicDef(benchmark::State& State) {
  TGraphicDefList graphics(nullptr);
  std::vector<std::string> ids;
  for (int i = 0; i < State.range(0); ++i) {
    ids.push_back("Sprite" + std::to_string(i));
    graphics.Add(ids.back(), new TPlainDef);
  }
  size_t next = 0;
  for (auto _ : State) {
    benchmark::DoNotOptimize(graphics.Find(ids[next]));
    next = (next + 1) % ids.size();
  }
}
BENCHMARK(BM_FindGraphicDef)->Arg(16)->Arg(1024);

}  // namespace
