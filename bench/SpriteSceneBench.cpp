// The sprite renderer's cost per frame: queueing and flushing a screenful of sprites on the
// software device, and decoding a picture into a texture.
#include <benchmark/benchmark.h>

#include <array>
#include <sstream>
#include <string>

#include "DGTexture.h"
#include "HeadlessWindow.h"
#include "SXScene.h"
#include "VUDaderDevice.h"

namespace {

// A started device on a headless 800 x 600 window with nothing logged.
struct TBenchDevice {
  THeadlessWindow Window{800, 600};
  TVUDader* DG;
  TBenchDevice() : DG(new TVUDader(&Window)) {
    DG->SetDebugOption({});
    DG->Loaded();
  }
  ~TBenchDevice() { delete DG; }
};

std::string Bitmap24(uint32_t Width, uint32_t Height) {
  const uint32_t row = (Width * 3 + 3) & ~3u;
  std::string bytes(54 + size_t(row) * Height, '\0');
  auto put32 = [&](size_t At, uint32_t Value) {
    for (int i = 0; i < 4; ++i) bytes[At + size_t(i)] = char(Value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, uint32_t(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, Width);
  put32(22, Height);
  bytes[26] = 1;
  bytes[28] = 24;
  for (size_t i = 54; i < bytes.size(); ++i) bytes[i] = char(i * 7);
  return bytes;
}

void BM_SpriteFrame(benchmark::State& State) {
  TBenchDevice device;
  TSXScene scene(device.DG, "");
  TDGTexture texture(device.DG, "", {D3DFMT_A8R8G8B8}, 0, D3DPOOL_MANAGED, 0);
  texture.SetSize(32, 32);
  texture.Fill(MakeRect(0, 0, 32, 32), 0x80FFFFFF, false);
  const std::array<TSXVertexSP, 4> corners = {
      TSXVertexSP{0, 0, 0xFFFFFFFF, 0, 0, 0}, TSXVertexSP{32, 0, 0xFFFFFFFF, 0, 1, 0},
      TSXVertexSP{0, 32, 0xFFFFFFFF, 0, 0, 1}, TSXVertexSP{32, 32, 0xFFFFFFFF, 0, 1, 1}};
  const int64_t sprites = State.range(0);
  IDirect3DDevice9* d3dDevice = device.DG->D3DDevice();
  for (auto _ : State) {
    d3dDevice->BeginScene();
    scene.Clear(D3DCLEAR_TARGET, 0, 1.0f, 0);
    for (int64_t i = 0; i < sprites; ++i) {
      const TVector2 position{float((i * 37) % 768), float((i * 53) % 568)};
      scene.DrawSprite(position, corners, &texture, int32_t(i % 3), false, false, float(i % 7) / 7.0f,
                       D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);
    }
    scene.Render(true);
    d3dDevice->EndScene();
  }
  State.SetItemsProcessed(State.iterations() * sprites);
}
BENCHMARK(BM_SpriteFrame)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_LoadBMP24(benchmark::State& State) {
  TBenchDevice device;
  TDGTexture texture(device.DG, "", {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5}, 0, D3DPOOL_MANAGED, 0);
  const std::string image = Bitmap24(256, 256);
  for (auto _ : State) {
    std::istringstream stream(image);
    texture.LoadFromStream(stream);
  }
  State.SetBytesProcessed(State.iterations() * int64_t(image.size()));
}
BENCHMARK(BM_LoadBMP24)->Unit(benchmark::kMillisecond);

}  // namespace
