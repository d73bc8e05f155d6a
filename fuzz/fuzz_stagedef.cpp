// libFuzzer target: stagedef.xml through the XML layer, the value conversions and the stage loader.
// Every input either loads or raises Exception.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "Exception.h"
#include "UDatabase.h"

namespace {

class TPlainDef : public TGraphicDef {
 public:
  void Draw(TVisible*, TSXScene*) override {}
};

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() / ("morvanth-fuzz-stagedef-" + std::to_string(getpid()));
    std::filesystem::create_directories(path / "morv/xml");
    return path;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    std::ofstream out(Folder() / "morv/xml/stagedef.xml", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  TGraphicDefList graphics(nullptr);
  graphics.Add("bot", new TPlainDef);
  graphics.Add("boss", new TPlainDef);
  TStageDefList stages(&graphics);
  TSkinPlace place{Folder().string() + "/morv/", Folder().string() + "/system/"};
  try {
    stages.Reload(place);
  } catch (const Exception&) {
  }
  return 0;
}
