// libFuzzer target: stagedef.xml through the XML layer, the value conversions and the stage loader.
// Every input either loads or raises Exception. The skin folder is made once and removed at exit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "Exception.h"
#include "FuzzReplay.h"
#include "GraphicDefs.h"
#include "SkinPlace.h"
#include "StageDefs.h"
#include "data/DataTestSupport.h"

namespace {

class TPlainDef : public TGraphicDef {
 public:
  void Draw(const TDrawable*, TSXScene*) override {}
};

const std::filesystem::path& Folder() {
  static const datatest::TTempDir kFolder;
  [[maybe_unused]] static const bool kMade = std::filesystem::create_directories(kFolder.Path() / "morv/xml");
  return kFolder.Path();
}

const TFuzzMarking kMarking;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  {
    std::ofstream out(Folder() / "morv/xml/stagedef.xml", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    if (!out.flush()) std::abort();  // an input that never reaches the loader tests nothing
  }
  TGraphicDefList graphics(nullptr);
  graphics.Add("bot", new TPlainDef);
  graphics.Add("boss", new TPlainDef);
  TStageDefList stages(&graphics);
  TSkinPlace place{Folder().string() + "/morv/", Folder().string() + "/system/"};
  try {
    if (stages.Reload(place) && stages.Count() > 0) FuzzInputReached();
  } catch (const Exception&) {
  }
  return 0;
}
