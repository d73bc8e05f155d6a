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
  const uint32_t Row = (Width * 3 + 3) & ~3u;
  std::string Bytes(54 + size_t(Row) * Height, '\0');
  auto Put32 = [&](size_t At, uint32_t Value) {
    for (int i = 0; i < 4; ++i) Bytes[At + size_t(i)] = char(Value >> (8 * i));
  };
  Bytes[0] = 'B';
  Bytes[1] = 'M';
  Put32(2, uint32_t(Bytes.size()));
  Put32(10, 54);
  Put32(14, 40);
  Put32(18, Width);
  Put32(22, Height);
  Bytes[26] = 1;
  Bytes[28] = 24;
  for (size_t i = 54; i < Bytes.size(); ++i) Bytes[i] = char(i * 7);
  return Bytes;
}

void BM_SpriteFrame(benchmark::State& State) {
  TBenchDevice Device;
  TSXScene Scene(Device.DG, "");
  TDGTexture Texture(Device.DG, "", {D3DFMT_A8R8G8B8}, 0, D3DPOOL_MANAGED, 0);
  Texture.SetSize(32, 32);
  Texture.Fill(MakeRect(0, 0, 32, 32), 0x80FFFFFF, false);
  const std::array<TSXVertexSP, 4> Corners = {
      TSXVertexSP{0, 0, 0xFFFFFFFF, 0, 0, 0}, TSXVertexSP{32, 0, 0xFFFFFFFF, 0, 1, 0},
      TSXVertexSP{0, 32, 0xFFFFFFFF, 0, 0, 1}, TSXVertexSP{32, 32, 0xFFFFFFFF, 0, 1, 1}};
  const int64_t Sprites = State.range(0);
  IDirect3DDevice9* D3DDevice = Device.DG->D3DDevice();
  for (auto _ : State) {
    D3DDevice->BeginScene();
    Scene.Clear(D3DCLEAR_TARGET, 0, 1.0f, 0);
    for (int64_t i = 0; i < Sprites; ++i) {
      const TVector2 Position{float((i * 37) % 768), float((i * 53) % 568)};
      Scene.DrawSprite(Position, Corners, &Texture, int32_t(i % 3), false, false, float(i % 7) / 7.0f,
                       D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);
    }
    Scene.Render(true);
    D3DDevice->EndScene();
  }
  State.SetItemsProcessed(State.iterations() * Sprites);
}
BENCHMARK(BM_SpriteFrame)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_LoadBMP24(benchmark::State& State) {
  TBenchDevice Device;
  TDGTexture Texture(Device.DG, "", {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5}, 0, D3DPOOL_MANAGED, 0);
  const std::string Image = Bitmap24(256, 256);
  for (auto _ : State) {
    std::istringstream Stream(Image);
    Texture.LoadFromStream(Stream);
  }
  State.SetBytesProcessed(State.iterations() * int64_t(Image.size()));
}
BENCHMARK(BM_LoadBMP24)->Unit(benchmark::kMillisecond);

}  // namespace
