// The software device's API behaviour: reference counts, capabilities and format checks, textures and their
// locks, device loss, the card the tests stand in and the hand-over of frames to the presenter.
#include <unistd.h>
#include <fstream>
#include "D3D9Machine.h"
#include "Exception.h"
#include "platform/SoftDeviceFixture.h"

namespace {

class SoftDevice : public TSoftDeviceFixture {};

TEST_F(SoftDevice, ReleaseReturnsRemainingReferences) {
  IDirect3DTexture9* t = nullptr;
  ASSERT_EQ(device_->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
  EXPECT_EQ(t->AddRef(), 2u);
  EXPECT_EQ(t->Release(), 1u);
  // A bound texture is referenced by the device until unbound.
  device_->SetTexture(0, t);
  EXPECT_EQ(t->AddRef(), 3u);
  EXPECT_EQ(t->Release(), 2u);
  device_->SetTexture(0, nullptr);
  // Textures and surfaces the program holds keep the device alive.
  IDirect3DSurface9* buffer = nullptr;
  ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &buffer), D3D_OK);
  EXPECT_EQ(device_->AddRef(), 4u);  // the program, the texture, the back buffer, this call
  EXPECT_EQ(device_->Release(), 3u);
  EXPECT_EQ(buffer->Release(), 0u);
  EXPECT_EQ(t->Release(), 0u);
  EXPECT_EQ(device_->AddRef(), 2u);
  EXPECT_EQ(device_->Release(), 1u);
  // A texture still bound when the device goes is freed with it.
  ASSERT_EQ(device_->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
  device_->SetTexture(0, t);
  EXPECT_EQ(t->Release(), 1u);
  device_->EndScene();
  EXPECT_EQ(device_->Release(), 0u);
  device_ = nullptr;
}

TEST_F(SoftDevice, CapabilitiesAndFormatChecksTellTheTruth) {
  SetD3D9Machine(nullptr);  // the software card itself, as the program has it
  D3DCAPS9 caps;
  ASSERT_EQ(d3D_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
  EXPECT_EQ(caps.TextureCaps & (D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY), 0u);
  EXPECT_EQ(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0u);
  EXPECT_NE(caps.PrimitiveMiscCaps & D3DPMISCCAPS_BLENDOP, 0u);
  EXPECT_EQ(caps.MaxTextureWidth, 4096u);
  D3DDISPLAYMODE mode;
  ASSERT_EQ(d3D_->GetAdapterDisplayMode(0, &mode), D3D_OK);
  EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
  for (D3DFORMAT f : {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5, D3DFMT_R5G6B5, D3DFMT_L8})
    EXPECT_EQ(d3D_->CheckDeviceFormat(0, D3DDEVTYPE_HAL, mode.Format, 0, D3DRTYPE_TEXTURE, f), D3D_OK) << f;
  for (D3DFORMAT f : {D3DFMT_P8, D3DFMT_DXT1, D3DFMT_D16, D3DFMT_UNKNOWN})
    EXPECT_EQ(d3D_->CheckDeviceFormat(0, D3DDEVTYPE_HAL, mode.Format, 0, D3DRTYPE_TEXTURE, f), D3DERR_NOTAVAILABLE);
  EXPECT_EQ(
      d3D_->CheckDeviceFormat(0, D3DDEVTYPE_HAL, mode.Format, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, D3DFMT_A8R8G8B8),
      D3DERR_NOTAVAILABLE);
  EXPECT_EQ(d3D_->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, mode.Format, mode.Format, D3DFMT_D16), D3DERR_NOTAVAILABLE);
  IDirect3DSurface9* depth = nullptr;
  EXPECT_EQ(device_->GetDepthStencilSurface(&depth), D3DERR_NOTFOUND);

  D3D9Hooks().ForcePow2 = true;  // the tests' card stands in again
  D3D9Hooks().ForceSquareOnly = true;
  D3D9Hooks().ReportHardwareTnL = true;
  ASSERT_EQ(d3D_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
  EXPECT_EQ(caps.TextureCaps & (D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY),
            D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY);
  EXPECT_NE(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0u);
  IDirect3DTexture9* t = nullptr;
  EXPECT_EQ(device_->CreateTexture(128, 32, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->CreateTexture(100, 100, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3DERR_INVALIDCALL);
  ASSERT_EQ(device_->CreateTexture(128, 128, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
  textures_.push_back(t);
  D3D9Hooks().FailHalCaps = true;
  EXPECT_EQ(d3D_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3DERR_NOTAVAILABLE);
  EXPECT_EQ(d3D_->GetDeviceCaps(0, D3DDEVTYPE_REF, &caps), D3D_OK);
  EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_REF);
}

TEST_F(SoftDevice, CreateTextureFailsOnRequest) {
  IDirect3DTexture9* t = nullptr;
  D3D9Hooks().FailCreateTexture = 1;
  EXPECT_EQ(device_->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3DERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(t, nullptr);
  UINT before = device_->GetAvailableTextureMem();
  ASSERT_EQ(device_->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
  textures_.push_back(t);
  EXPECT_EQ(device_->GetAvailableTextureMem(), before - 8 * 8 * 4);
  EXPECT_EQ(device_->CreateTexture(8, 8, 1, 0, D3DFMT_P8, D3DPOOL_MANAGED, &t, nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->CreateTexture(8192, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(SoftDevice, LockPitchFollowsTheFormat) {
  struct {
    D3DFORMAT Format;
    UINT Width;
    INT Pitch, Bytes;
  } cases[] = {{D3DFMT_A8R8G8B8, 3, 12, 4}, {D3DFMT_R8G8B8, 3, 12, 3},   {D3DFMT_R8G8B8, 4, 12, 3},
               {D3DFMT_A4R4G4B4, 3, 8, 2},  {D3DFMT_A1R5G5B5, 5, 12, 2}, {D3DFMT_R5G6B5, 2, 4, 2},
               {D3DFMT_L8, 3, 4, 1},        {D3DFMT_A8, 5, 8, 1}};
  for (const auto& c : cases) {
    IDirect3DTexture9* t = nullptr;
    ASSERT_EQ(device_->CreateTexture(c.Width, 4, 1, 0, c.Format, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
    D3DLOCKED_RECT whole, part;
    ASSERT_EQ(t->LockRect(0, &whole, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(whole.Pitch, c.Pitch) << c.Format << " x " << c.Width;
    EXPECT_EQ(t->LockRect(0, &part, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
    ASSERT_EQ(t->UnlockRect(0), D3D_OK);
    RECT r{1, 2, 2, 3};
    ASSERT_EQ(t->LockRect(0, &part, &r, 0), D3D_OK);
    EXPECT_EQ(static_cast<uint8_t*>(part.pBits) - static_cast<uint8_t*>(whole.pBits), 2 * c.Pitch + c.Bytes);
    ASSERT_EQ(t->UnlockRect(0), D3D_OK);
    EXPECT_EQ(t->UnlockRect(0), D3DERR_INVALIDCALL);
    RECT outside{0, 0, LONG(c.Width) + 1, 1};
    EXPECT_EQ(t->LockRect(0, &part, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(t->Release(), 0u);
  }
}

TEST_F(SoftDevice, MipChainIsAllocatedDownToOnePixel) {
  IDirect3DTexture9* t = nullptr;
  ASSERT_EQ(device_->CreateTexture(64, 16, 0, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
  textures_.push_back(t);
  EXPECT_EQ(t->GetLevelCount(), 7u);  // 64x16, 32x8, 16x4, 8x2, 4x1, 2x1, 1x1
  D3DSURFACE_DESC desc;
  ASSERT_EQ(t->GetLevelDesc(2, &desc), D3D_OK);
  EXPECT_EQ(desc.Width, 16u);
  EXPECT_EQ(desc.Height, 4u);
  EXPECT_EQ(desc.Format, D3DFMT_A4R4G4B4);
  EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
  ASSERT_EQ(t->GetLevelDesc(6, &desc), D3D_OK);
  EXPECT_EQ(desc.Width, 1u);
  EXPECT_EQ(t->GetLevelDesc(7, &desc), D3DERR_INVALIDCALL);
  IDirect3DTexture9* u = nullptr;
  EXPECT_EQ(device_->CreateTexture(64, 16, 8, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &u, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(SoftDevice, SixteenBitTexturesKeepTheirBytesAndSampleDecoded) {
  IDirect3DTexture9* t = nullptr;
  ASSERT_EQ(device_->CreateTexture(4, 1, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
  textures_.push_back(t);
  D3DLOCKED_RECT l;
  ASSERT_EQ(t->LockRect(0, &l, nullptr, 0), D3D_OK);
  const uint16_t pixels[4] = {0xF84C, 0x0FFF, 0x8F00, 0xF00F};
  std::memcpy(l.pBits, pixels, sizeof pixels);
  ASSERT_EQ(t->UnlockRect(0), D3D_OK);
  ASSERT_EQ(t->LockRect(0, &l, nullptr, D3DLOCK_READONLY), D3D_OK);
  EXPECT_EQ(std::memcmp(l.pBits, pixels, sizeof pixels), 0);
  t->UnlockRect(0);
  device_->SetTexture(0, t);
  UsePreset(2);
  Clear(0xFF000000);
  Quad(0, 0, 4, 1);
  EXPECT_EQ(Pixel(0, 0), 0xFF8844CC);  // opaque: 8, 4, C widened by 17
  EXPECT_EQ(Pixel(1, 0), 0xFF000000);  // alpha 0
  EXPECT_EQ(Pixel(2, 0), 0xFF880000);  // alpha 0x88 = 136: 255 * 136 / 255
  EXPECT_EQ(Pixel(3, 0), 0xFF0000FF);

  // A partial lock refreshes only its rectangle of the sampled copy.
  IDirect3DTexture9* a = nullptr;
  ASSERT_EQ(device_->CreateTexture(2, 1, 1, 0, D3DFMT_A1R5G5B5, D3DPOOL_MANAGED, &a, nullptr), D3D_OK);
  textures_.push_back(a);
  RECT second{1, 0, 2, 1};
  ASSERT_EQ(a->LockRect(0, &l, &second, 0), D3D_OK);
  const uint16_t red = 0xFC00;
  std::memcpy(l.pBits, &red, 2);
  ASSERT_EQ(a->UnlockRect(0), D3D_OK);
  device_->SetTexture(0, a);
  UsePreset(0);
  Quad(0, 0, 2, 1);
  EXPECT_EQ(Pixel(0, 0), 0xFF000000);
  EXPECT_EQ(Pixel(1, 0), 0xFFFF0000);
}

TEST_F(SoftDevice, NarrowChannelsAreWidenedByRepeatingTheirBits) {
  // As Direct3D hardware reads them: 5-bit 16 samples as 132, 6-bit 32 as 130, 3-bit 2 as 73 (scaling by
  // 255 / max would give 131, 129 and 72).
  const struct {
    D3DFORMAT Format;
    uint16_t Texel;
    size_t Bytes;
    uint32_t Sampled;
  } cases[] = {
      {D3DFMT_R5G6B5, 16 << 11 | 32 << 5 | 16, 2, 0xFF848284},
      {D3DFMT_A1R5G5B5, 0x8000 | 16 << 10 | 1 << 5 | 31, 2, 0xFF8408FF},
      {D3DFMT_R3G3B2, 2 << 5 | 7 << 2 | 1, 1, 0xFF49FF55},
  };
  UsePreset(0);
  for (const auto& Case : cases) {
    IDirect3DTexture9* t = nullptr;
    ASSERT_EQ(device_->CreateTexture(1, 1, 1, 0, Case.Format, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
    textures_.push_back(t);
    D3DLOCKED_RECT l;
    ASSERT_EQ(t->LockRect(0, &l, nullptr, 0), D3D_OK);
    std::memcpy(l.pBits, &Case.Texel, Case.Bytes);
    ASSERT_EQ(t->UnlockRect(0), D3D_OK);
    device_->SetTexture(0, t);
    Quad(0, 0, 1, 1);
    EXPECT_EQ(Pixel(0, 0), Case.Sampled) << Case.Format;
  }
}

TEST_F(SoftDevice, LostDeviceReportsNotResetUntilReset) {
  D3D9LoseDevice(device_, 2);
  EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
  D3DPRESENT_PARAMETERS params{};
  params.Windowed = 1;
  params.SwapEffect = D3DSWAPEFFECT_DISCARD;
  params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  device_->EndScene();
  EXPECT_EQ(device_->Reset(&params), D3DERR_DEVICELOST);
  EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
  EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
  EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
  EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);

  // Reset refuses while the program holds the back buffer or a default-pool texture.
  IDirect3DSurface9* buffer = nullptr;
  ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &buffer), D3D_OK);
  EXPECT_EQ(device_->Reset(&params), D3DERR_INVALIDCALL);
  buffer->Release();
  IDirect3DTexture9* t = nullptr;
  ASSERT_EQ(device_->CreateTexture(4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &t, nullptr), D3D_OK);
  EXPECT_EQ(device_->Reset(&params), D3DERR_INVALIDCALL);
  t->Release();

  // A managed texture survives; states return to their defaults; the size comes from the window.
  IDirect3DTexture9* kept = Texture(1, 1, {0xFF00FF00});
  device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  ASSERT_EQ(device_->Reset(&params), D3D_OK);
  EXPECT_EQ(params.BackBufferWidth, UINT(Width));
  EXPECT_EQ(params.BackBufferCount, 1u);
  EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
  DWORD value = 7;
  device_->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
  EXPECT_EQ(value, 0u);
  device_->GetRenderState(D3DRS_CULLMODE, &value);
  EXPECT_EQ(value, DWORD(D3DCULL_CCW));
  IDirect3DBaseTexture9* bound = reinterpret_cast<IDirect3DBaseTexture9*>(1);
  device_->GetTexture(0, &bound);
  EXPECT_EQ(bound, nullptr);
  D3DSURFACE_DESC desc;
  ASSERT_EQ(kept->GetLevelDesc(0, &desc), D3D_OK);
  ASSERT_EQ(device_->BeginScene(), D3D_OK);
}

TEST_F(SoftDevice, CountsStateChangesAndDrawCalls) {
  TD3D9DeviceStats& stats = D3D9DeviceStats(device_);
  stats = TD3D9DeviceStats();
  device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  device_->SetTexture(0, nullptr);
  Quad(0, 0, 4, 4);
  Quad(0, 0, 4, 4);
  EXPECT_EQ(stats.RenderStates, 1u);
  EXPECT_EQ(stats.SamplerStates, 1u);
  EXPECT_EQ(stats.TextureStageStates, 1u);
  EXPECT_EQ(stats.Textures, 1u);
  EXPECT_EQ(stats.StateChanges(), 4u);
  EXPECT_EQ(stats.DrawCalls, 2u);
  EXPECT_EQ(stats.Primitives, 4u);
}

TEST_F(SoftDevice, DrawingNeedsASceneAndPreTransformedVertices) {
  TTestVertex v[4] = {};
  device_->EndScene();
  EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(TTestVertex)), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->EndScene(), D3DERR_INVALIDCALL);
  ASSERT_EQ(device_->BeginScene(), D3D_OK);
  EXPECT_EQ(device_->BeginScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, 16), D3DERR_INVALIDCALL);  // stride too short
  EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_LINELIST, 1, v, sizeof(TTestVertex)), D3DERR_INVALIDCALL);
  device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
  EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(TTestVertex)), D3DERR_INVALIDCALL);
  // Without diffuse in the format vertices are white.
  struct {
    float X, Y, Z, Rhw;
  } plain[3] = {{0, 0, 0, 1}, {8, 0, 0, 1}, {0, 8, 0, 1}};
  device_->SetFVF(D3DFVF_XYZRHW);
  Clear(0xFF000000);
  ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, plain, sizeof plain[0]), D3D_OK);
  EXPECT_EQ(Pixel(0, 0), 0xFFFFFFFF);
  EXPECT_EQ(Pixel(7, 7), 0xFF000000);
}

TEST_F(SoftDevice, PresentHandsTheFrameToTheWindow) {
  Clear(0xFF102030);
  UsePreset(0);
  Quad(0, 0, 2, 2, 0xFFFFFFFF);
  device_->EndScene();
  ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  const THeadlessPresenter& shot = window_.Capture();
  EXPECT_EQ(shot.FrameCount(), 1u);
  EXPECT_EQ(shot.Width(), Width);
  EXPECT_EQ(shot.Pixel(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(shot.Pixel(2, 2), 0xFF102030u);
  auto file = std::filesystem::temp_directory_path() / ("soft-device-" + std::to_string(::getpid()) + ".png");
  shot.SavePng(file);
  std::ifstream in(file, std::ios::binary);
  char signature[8] = {};
  in.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
  std::filesystem::remove(file);
  EXPECT_THROW(shot.SavePng("/nonexistent-folder/x.png"), Exception);
  ASSERT_EQ(device_->BeginScene(), D3D_OK);
}

TEST(SoftDirect3D, CreationChecksParameters) {
  D3D9Hooks().Reset();
  EXPECT_EQ(Direct3DCreate9(12), nullptr);
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  THeadlessWindow window(792, 566, 8, 34);
  D3DPRESENT_PARAMETERS params{};
  params.Windowed = -1;
  params.SwapEffect = D3DSWAPEFFECT_DISCARD;
  IDirect3DDevice9* device = nullptr;
  EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, &window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device),
            D3DERR_INVALIDCALL);
  params.EnableAutoDepthStencil = -1;
  params.AutoDepthStencilFormat = D3DFMT_D16;
  EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, &window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device),
            D3DERR_INVALIDCALL);
  params.EnableAutoDepthStencil = 0;
  ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, &window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device),
            D3D_OK);
  // The API completes the parameters: the window's client size, the display format, one back buffer.
  EXPECT_EQ(params.BackBufferWidth, 792u);
  EXPECT_EQ(params.BackBufferHeight, 566u);
  EXPECT_EQ(params.BackBufferFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(params.BackBufferCount, 1u);
  EXPECT_EQ(params.hDeviceWindow, &window);
  IDirect3DSurface9* buffer = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &buffer), D3D_OK);
  D3DSURFACE_DESC desc;
  buffer->GetDesc(&desc);
  EXPECT_EQ(desc.Width, 792u);
  D3DLOCKED_RECT l;
  EXPECT_EQ(buffer->LockRect(&l, nullptr, 0), D3DERR_INVALIDCALL);  // not asked to be lockable
  EXPECT_EQ(buffer->Release(), 0u);
  EXPECT_EQ(d3d->Release(), 1u);  // the device keeps its Direct3D object
  EXPECT_EQ(device->Release(), 0u);

  // With a depth format the hooks accept, the device gets a depth surface.
  d3d = Direct3DCreate9(D3D_SDK_VERSION);
  D3D9Hooks().DepthStencilFormats = {D3DFMT_D24S8};
  EXPECT_EQ(d3d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_D16),
            D3DERR_NOTAVAILABLE);
  EXPECT_EQ(d3d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_D24S8), D3D_OK);
  params.EnableAutoDepthStencil = -1;
  params.AutoDepthStencilFormat = D3DFMT_D24S8;
  ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_REF, &window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device),
            D3D_OK);
  IDirect3DSurface9* depth = nullptr;
  ASSERT_EQ(device->GetDepthStencilSurface(&depth), D3D_OK);
  depth->GetDesc(&desc);
  EXPECT_EQ(desc.Format, D3DFMT_D24S8);
  EXPECT_EQ(depth->Release(), 0u);
  EXPECT_EQ(device->Release(), 0u);
  EXPECT_EQ(d3d->Release(), 0u);
  D3D9Hooks().Reset();

  window.SetWindowPos(10, 20, 808, 634);
  EXPECT_EQ(window.ClientWidth(), 800);
  EXPECT_EQ(window.ClientHeight(), 600);
  EXPECT_TRUE(window.Shown());
}

}  // namespace
