// libFuzzer target: graphicdef.xml from arbitrary bytes, loaded into a graphic definition list on the
// software device with pictures from a small fixed set (24-bit, 8-bit palette and 32-bit BMPs in the
// skin, one more only in the system skin), then every definition that loaded drawn and rendered at a few
// points of its life. Every input either loads or raises Exception.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Exception.h"
#include "FuzzReplay.h"
#include "GraphicDefs.h"
#include "HeadlessWindow.h"
#include "SXScene.h"
#include "SkinPlace.h"
#include "VUDaderDevice.h"
#include "data/DataTestSupport.h"

namespace {

// The scratch skin, written once and removed when the process ends.
struct TFuzzSkin {
  datatest::TTempDir Dir;
  TSkinPlace Place{Dir.Dir() + "skin/morv/", Dir.Dir() + "skin/system/"};

  TFuzzSkin() {
    std::vector<uint32_t> sheet(64 * 32);
    for (size_t i = 0; i < sheet.size(); ++i) sheet[i] = (i % 64) < 32 ? 0xFF0000 : 0xFF00FF;
    std::vector<uint32_t> indices(16 * 16);
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = i % 4;
    const auto graphic = Dir.Path() / "skin/morv/graphic";
    datatest::WriteFile(graphic / "sprites.bmp", datatest::MakeBmp(64, 32, 24, sheet));
    datatest::WriteFile(graphic / "pal.bmp",
                        datatest::MakeBmp(16, 16, 8, indices, {0xFF00FF, 0x0000FF, 0x00FF00, 0xFF0000}));
    datatest::WriteFile(graphic / "Alpha.BMP", datatest::MakeBmp(8, 8, 32, std::vector<uint32_t>(64, 0x80FFFFFF)));
    datatest::WriteFile(Dir.Path() / "skin/system/graphic/map.bmp", datatest::MakeSolidBmp(16, 16, 0x204060));
    std::filesystem::create_directories(Dir.Path() / "skin/morv/xml");
  }
};

struct TFuzzDevice {
  THeadlessWindow Window{800, 600};
  TVUDader Device{&Window};
  TFuzzDevice() {
    Device.SetDebugOption({});
    Device.Loaded();
  }
};

const TFuzzMarking kMarking;

class TProbe : public TDrawable {
 public:
  TDrawPlacement Where;
  TDrawPlacement Placement() const override { return Where; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static TFuzzSkin skin;
  static TFuzzDevice device;
  {
    std::ofstream out(skin.Dir.Path() / "skin/morv/xml/graphicdef.xml", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    if (!out.flush()) std::abort();  // an input that never reaches the loader tests nothing
  }
  TGraphicDefList list(&device.Device);
  try {
    list.Load(skin.Place);
  } catch (const Exception&) {
  }
  if (list.Count() > 0) FuzzInputReached();
  TSXScene scene(&device.Device, "");
  IDirect3DDevice9* d3d = device.Device.D3DDevice();
  d3d->BeginScene();
  TProbe probe;
  for (int32_t i = 0; i < list.Count(); ++i) {
    for (const uint32_t elapsed : {0u, 7u, 1000u}) {
      probe.Where = TDrawPlacement{400, 300, (i & 1) != 0, elapsed == 7, 40, 20, elapsed};
      list.ItemAt(i)->Draw(&probe, &scene);
    }
  }
  scene.Render(true);
  d3d->EndScene();
  return 0;
}
