// The pictures of the rasteriser's reference workloads, held still: the benchmark's three workloads drawn on an
// 800x600 device must keep the exact pixels recorded here, with either kernel set and on every processor. A
// faster path that changes one pixel fails here before it reaches a screenshot test or a recording.
#include <gtest/gtest.h>
#include <vector>
#include "HeadlessWindow.h"
#include "Rasterizer.h"
#include "d3d9.h"
#include "support/RasterWorkloads.h"

namespace {

using namespace rasterwork;

std::vector<uint32_t> Draw(const std::vector<TQuad>& Quads) {
  THeadlessWindow window(kScreenW, kScreenH);
  IDirect3D9* d3D = Direct3DCreate9(D3D_SDK_VERSION);
  D3DPRESENT_PARAMETERS params{};
  params.Windowed = -1;
  params.SwapEffect = D3DSWAPEFFECT_DISCARD;
  params.hDeviceWindow = &window;
  params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  IDirect3DDevice9* device = nullptr;
  EXPECT_EQ(d3D->CreateDevice(0, D3DDEVTYPE_HAL, &window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device),
            D3D_OK);
  std::vector<uint32_t> pixels;
  if (device) {
    std::vector<IDirect3DTexture9*> textures = CreateTextures(device);
    DrawWorkload(device, textures, Quads);
    IDirect3DSurface9* buffer = nullptr;
    EXPECT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &buffer), D3D_OK);
    D3DLOCKED_RECT l;
    EXPECT_EQ(buffer->LockRect(&l, nullptr, D3DLOCK_READONLY), D3D_OK);
    for (int y = 0; y < kScreenH; ++y) {
      const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(l.pBits) + y * l.Pitch);
      pixels.insert(pixels.end(), row, row + kScreenW);
    }
    buffer->UnlockRect();
    buffer->Release();
    device->SetTexture(0, nullptr);
    for (IDirect3DTexture9* t : textures) t->Release();
    device->Release();
  }
  d3D->Release();
  return pixels;
}

struct TRecorded {
  const char* Name;
  std::vector<TQuad> (*Workload)();
  uint64_t Hash;
};

class RasterPicture : public ::testing::TestWithParam<bool> {
 protected:
  void TearDown() override { RasterUseBaselineKernels(false); }
};

TEST_P(RasterPicture, WorkloadsKeepTheirRecordedPixels) {
  RasterUseBaselineKernels(GetParam());
  const TRecorded recorded[] = {
      {"full-screen wrapped quad", FullScreenWorkload, 0x43755e42d9b420e6},
      {"1000 sprites", SpriteWorkload, 0x8d6f15eeb6758942},
      {"game frame", FrameWorkload, 0x46be763dcf2aab94},
  };
  for (const TRecorded& r : recorded) {
    const std::vector<uint32_t> pixels = Draw(r.Workload());
    ASSERT_EQ(pixels.size(), size_t(kScreenW * kScreenH)) << r.Name;
    EXPECT_EQ(PictureHash(pixels), r.Hash) << r.Name << std::hex << ": 0x" << PictureHash(pixels);
  }
}

INSTANTIATE_TEST_SUITE_P(Kernels, RasterPicture, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& Info) { return Info.param ? "Baseline" : "Best"; });

}  // namespace
