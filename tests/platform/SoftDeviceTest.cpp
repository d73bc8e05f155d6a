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
  IDirect3DTexture9* T = nullptr;
  ASSERT_EQ(Device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &T, nullptr), D3D_OK);
  EXPECT_EQ(T->AddRef(), 2u);
  EXPECT_EQ(T->Release(), 1u);
  // A bound texture is referenced by the device until unbound.
  Device->SetTexture(0, T);
  EXPECT_EQ(T->AddRef(), 3u);
  EXPECT_EQ(T->Release(), 2u);
  Device->SetTexture(0, nullptr);
  // Textures and surfaces the program holds keep the device alive.
  IDirect3DSurface9* Buffer = nullptr;
  ASSERT_EQ(Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &Buffer), D3D_OK);
  EXPECT_EQ(Device->AddRef(), 4u);  // the program, the texture, the back buffer, this call
  EXPECT_EQ(Device->Release(), 3u);
  EXPECT_EQ(Buffer->Release(), 0u);
  EXPECT_EQ(T->Release(), 0u);
  EXPECT_EQ(Device->AddRef(), 2u);
  EXPECT_EQ(Device->Release(), 1u);
  // A texture still bound when the device goes is freed with it.
  ASSERT_EQ(Device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &T, nullptr), D3D_OK);
  Device->SetTexture(0, T);
  EXPECT_EQ(T->Release(), 1u);
  Device->EndScene();
  EXPECT_EQ(Device->Release(), 0u);
  Device = nullptr;
}

TEST_F(SoftDevice, CapabilitiesAndFormatChecksTellTheTruth) {
  SetD3D9Machine(nullptr);  // the software card itself, as the program has it
  D3DCAPS9 Caps;
  ASSERT_EQ(D3D->GetDeviceCaps(0, D3DDEVTYPE_HAL, &Caps), D3D_OK);
  EXPECT_EQ(Caps.TextureCaps & (D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY), 0u);
  EXPECT_EQ(Caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0u);
  EXPECT_NE(Caps.PrimitiveMiscCaps & D3DPMISCCAPS_BLENDOP, 0u);
  EXPECT_EQ(Caps.MaxTextureWidth, 4096u);
  D3DDISPLAYMODE Mode;
  ASSERT_EQ(D3D->GetAdapterDisplayMode(0, &Mode), D3D_OK);
  EXPECT_EQ(Mode.Format, D3DFMT_X8R8G8B8);
  for (D3DFORMAT F : {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5, D3DFMT_R5G6B5, D3DFMT_L8})
    EXPECT_EQ(D3D->CheckDeviceFormat(0, D3DDEVTYPE_HAL, Mode.Format, 0, D3DRTYPE_TEXTURE, F), D3D_OK) << F;
  for (D3DFORMAT F : {D3DFMT_P8, D3DFMT_DXT1, D3DFMT_D16, D3DFMT_UNKNOWN})
    EXPECT_EQ(D3D->CheckDeviceFormat(0, D3DDEVTYPE_HAL, Mode.Format, 0, D3DRTYPE_TEXTURE, F), D3DERR_NOTAVAILABLE);
  EXPECT_EQ(
      D3D->CheckDeviceFormat(0, D3DDEVTYPE_HAL, Mode.Format, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, D3DFMT_A8R8G8B8),
      D3DERR_NOTAVAILABLE);
  EXPECT_EQ(D3D->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, Mode.Format, Mode.Format, D3DFMT_D16), D3DERR_NOTAVAILABLE);
  IDirect3DSurface9* Depth = nullptr;
  EXPECT_EQ(Device->GetDepthStencilSurface(&Depth), D3DERR_NOTFOUND);

  D3D9Hooks().ForcePow2 = true;  // the tests' card stands in again
  D3D9Hooks().ForceSquareOnly = true;
  D3D9Hooks().ReportHardwareTnL = true;
  ASSERT_EQ(D3D->GetDeviceCaps(0, D3DDEVTYPE_HAL, &Caps), D3D_OK);
  EXPECT_EQ(Caps.TextureCaps & (D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY),
            D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY);
  EXPECT_NE(Caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0u);
  IDirect3DTexture9* T = nullptr;
  EXPECT_EQ(Device->CreateTexture(128, 32, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &T, nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(Device->CreateTexture(100, 100, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &T, nullptr), D3DERR_INVALIDCALL);
  ASSERT_EQ(Device->CreateTexture(128, 128, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &T, nullptr), D3D_OK);
  Textures.push_back(T);
  D3D9Hooks().FailHalCaps = true;
  EXPECT_EQ(D3D->GetDeviceCaps(0, D3DDEVTYPE_HAL, &Caps), D3DERR_NOTAVAILABLE);
  EXPECT_EQ(D3D->GetDeviceCaps(0, D3DDEVTYPE_REF, &Caps), D3D_OK);
  EXPECT_EQ(Caps.DeviceType, D3DDEVTYPE_REF);
}

TEST_F(SoftDevice, CreateTextureFailsOnRequest) {
  IDirect3DTexture9* T = nullptr;
  D3D9Hooks().FailCreateTexture = 1;
  EXPECT_EQ(Device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &T, nullptr), D3DERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(T, nullptr);
  UINT Before = Device->GetAvailableTextureMem();
  ASSERT_EQ(Device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &T, nullptr), D3D_OK);
  Textures.push_back(T);
  EXPECT_EQ(Device->GetAvailableTextureMem(), Before - 8 * 8 * 4);
  EXPECT_EQ(Device->CreateTexture(8, 8, 1, 0, D3DFMT_P8, D3DPOOL_MANAGED, &T, nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(Device->CreateTexture(8192, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &T, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(SoftDevice, LockPitchFollowsTheFormat) {
  struct {
    D3DFORMAT Format;
    UINT Width;
    INT Pitch, Bytes;
  } Cases[] = {{D3DFMT_A8R8G8B8, 3, 12, 4}, {D3DFMT_R8G8B8, 3, 12, 3},   {D3DFMT_R8G8B8, 4, 12, 3},
               {D3DFMT_A4R4G4B4, 3, 8, 2},  {D3DFMT_A1R5G5B5, 5, 12, 2}, {D3DFMT_R5G6B5, 2, 4, 2},
               {D3DFMT_L8, 3, 4, 1},        {D3DFMT_A8, 5, 8, 1}};
  for (const auto& C : Cases) {
    IDirect3DTexture9* T = nullptr;
    ASSERT_EQ(Device->CreateTexture(C.Width, 4, 1, 0, C.Format, D3DPOOL_MANAGED, &T, nullptr), D3D_OK);
    D3DLOCKED_RECT Whole, Part;
    ASSERT_EQ(T->LockRect(0, &Whole, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(Whole.Pitch, C.Pitch) << C.Format << " x " << C.Width;
    EXPECT_EQ(T->LockRect(0, &Part, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
    ASSERT_EQ(T->UnlockRect(0), D3D_OK);
    RECT R{1, 2, 2, 3};
    ASSERT_EQ(T->LockRect(0, &Part, &R, 0), D3D_OK);
    EXPECT_EQ(static_cast<uint8_t*>(Part.pBits) - static_cast<uint8_t*>(Whole.pBits), 2 * C.Pitch + C.Bytes);
    ASSERT_EQ(T->UnlockRect(0), D3D_OK);
    EXPECT_EQ(T->UnlockRect(0), D3DERR_INVALIDCALL);
    RECT Outside{0, 0, LONG(C.Width) + 1, 1};
    EXPECT_EQ(T->LockRect(0, &Part, &Outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(T->Release(), 0u);
  }
}

TEST_F(SoftDevice, MipChainIsAllocatedDownToOnePixel) {
  IDirect3DTexture9* T = nullptr;
  ASSERT_EQ(Device->CreateTexture(64, 16, 0, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &T, nullptr), D3D_OK);
  Textures.push_back(T);
  EXPECT_EQ(T->GetLevelCount(), 7u);  // 64x16, 32x8, 16x4, 8x2, 4x1, 2x1, 1x1
  D3DSURFACE_DESC Desc;
  ASSERT_EQ(T->GetLevelDesc(2, &Desc), D3D_OK);
  EXPECT_EQ(Desc.Width, 16u);
  EXPECT_EQ(Desc.Height, 4u);
  EXPECT_EQ(Desc.Format, D3DFMT_A4R4G4B4);
  EXPECT_EQ(Desc.Pool, D3DPOOL_MANAGED);
  ASSERT_EQ(T->GetLevelDesc(6, &Desc), D3D_OK);
  EXPECT_EQ(Desc.Width, 1u);
  EXPECT_EQ(T->GetLevelDesc(7, &Desc), D3DERR_INVALIDCALL);
  IDirect3DTexture9* U = nullptr;
  EXPECT_EQ(Device->CreateTexture(64, 16, 8, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &U, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(SoftDevice, SixteenBitTexturesKeepTheirBytesAndSampleDecoded) {
  IDirect3DTexture9* T = nullptr;
  ASSERT_EQ(Device->CreateTexture(4, 1, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &T, nullptr), D3D_OK);
  Textures.push_back(T);
  D3DLOCKED_RECT L;
  ASSERT_EQ(T->LockRect(0, &L, nullptr, 0), D3D_OK);
  const uint16_t Pixels[4] = {0xF84C, 0x0FFF, 0x8F00, 0xF00F};
  std::memcpy(L.pBits, Pixels, sizeof Pixels);
  ASSERT_EQ(T->UnlockRect(0), D3D_OK);
  ASSERT_EQ(T->LockRect(0, &L, nullptr, D3DLOCK_READONLY), D3D_OK);
  EXPECT_EQ(std::memcmp(L.pBits, Pixels, sizeof Pixels), 0);
  T->UnlockRect(0);
  Device->SetTexture(0, T);
  UsePreset(2);
  Clear(0xFF000000);
  Quad(0, 0, 4, 1);
  EXPECT_EQ(Pixel(0, 0), 0xFF8844CC);  // opaque: 8, 4, C widened by 17
  EXPECT_EQ(Pixel(1, 0), 0xFF000000);  // alpha 0
  EXPECT_EQ(Pixel(2, 0), 0xFF880000);  // alpha 0x88 = 136: 255 * 136 / 255
  EXPECT_EQ(Pixel(3, 0), 0xFF0000FF);

  // A partial lock refreshes only its rectangle of the sampled copy.
  IDirect3DTexture9* A = nullptr;
  ASSERT_EQ(Device->CreateTexture(2, 1, 1, 0, D3DFMT_A1R5G5B5, D3DPOOL_MANAGED, &A, nullptr), D3D_OK);
  Textures.push_back(A);
  RECT Second{1, 0, 2, 1};
  ASSERT_EQ(A->LockRect(0, &L, &Second, 0), D3D_OK);
  const uint16_t Red = 0xFC00;
  std::memcpy(L.pBits, &Red, 2);
  ASSERT_EQ(A->UnlockRect(0), D3D_OK);
  Device->SetTexture(0, A);
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
  } Cases[] = {
      {D3DFMT_R5G6B5, 16 << 11 | 32 << 5 | 16, 2, 0xFF848284},
      {D3DFMT_A1R5G5B5, 0x8000 | 16 << 10 | 1 << 5 | 31, 2, 0xFF8408FF},
      {D3DFMT_R3G3B2, 2 << 5 | 7 << 2 | 1, 1, 0xFF49FF55},
  };
  UsePreset(0);
  for (const auto& Case : Cases) {
    IDirect3DTexture9* T = nullptr;
    ASSERT_EQ(Device->CreateTexture(1, 1, 1, 0, Case.Format, D3DPOOL_MANAGED, &T, nullptr), D3D_OK);
    Textures.push_back(T);
    D3DLOCKED_RECT L;
    ASSERT_EQ(T->LockRect(0, &L, nullptr, 0), D3D_OK);
    std::memcpy(L.pBits, &Case.Texel, Case.Bytes);
    ASSERT_EQ(T->UnlockRect(0), D3D_OK);
    Device->SetTexture(0, T);
    Quad(0, 0, 1, 1);
    EXPECT_EQ(Pixel(0, 0), Case.Sampled) << Case.Format;
  }
}

TEST_F(SoftDevice, LostDeviceReportsNotResetUntilReset) {
  D3D9LoseDevice(Device, 2);
  EXPECT_EQ(Device->TestCooperativeLevel(), D3DERR_DEVICELOST);
  D3DPRESENT_PARAMETERS Params{};
  Params.Windowed = 1;
  Params.SwapEffect = D3DSWAPEFFECT_DISCARD;
  Params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  Device->EndScene();
  EXPECT_EQ(Device->Reset(&Params), D3DERR_DEVICELOST);
  EXPECT_EQ(Device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
  EXPECT_EQ(Device->TestCooperativeLevel(), D3DERR_DEVICELOST);
  EXPECT_EQ(Device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
  EXPECT_EQ(Device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);

  // Reset refuses while the program holds the back buffer or a default-pool texture.
  IDirect3DSurface9* Buffer = nullptr;
  ASSERT_EQ(Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &Buffer), D3D_OK);
  EXPECT_EQ(Device->Reset(&Params), D3DERR_INVALIDCALL);
  Buffer->Release();
  IDirect3DTexture9* T = nullptr;
  ASSERT_EQ(Device->CreateTexture(4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &T, nullptr), D3D_OK);
  EXPECT_EQ(Device->Reset(&Params), D3DERR_INVALIDCALL);
  T->Release();

  // A managed texture survives; states return to their defaults; the size comes from the window.
  IDirect3DTexture9* Kept = Texture(1, 1, {0xFF00FF00});
  Device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  ASSERT_EQ(Device->Reset(&Params), D3D_OK);
  EXPECT_EQ(Params.BackBufferWidth, UINT(Width));
  EXPECT_EQ(Params.BackBufferCount, 1u);
  EXPECT_EQ(Device->TestCooperativeLevel(), D3D_OK);
  DWORD Value = 7;
  Device->GetRenderState(D3DRS_ALPHABLENDENABLE, &Value);
  EXPECT_EQ(Value, 0u);
  Device->GetRenderState(D3DRS_CULLMODE, &Value);
  EXPECT_EQ(Value, DWORD(D3DCULL_CCW));
  IDirect3DBaseTexture9* Bound = reinterpret_cast<IDirect3DBaseTexture9*>(1);
  Device->GetTexture(0, &Bound);
  EXPECT_EQ(Bound, nullptr);
  D3DSURFACE_DESC Desc;
  ASSERT_EQ(Kept->GetLevelDesc(0, &Desc), D3D_OK);
  ASSERT_EQ(Device->BeginScene(), D3D_OK);
}

TEST_F(SoftDevice, CountsStateChangesAndDrawCalls) {
  TD3D9DeviceStats& Stats = D3D9DeviceStats(Device);
  Stats = TD3D9DeviceStats();
  Device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  Device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  Device->SetTexture(0, nullptr);
  Quad(0, 0, 4, 4);
  Quad(0, 0, 4, 4);
  EXPECT_EQ(Stats.RenderStates, 1u);
  EXPECT_EQ(Stats.SamplerStates, 1u);
  EXPECT_EQ(Stats.TextureStageStates, 1u);
  EXPECT_EQ(Stats.Textures, 1u);
  EXPECT_EQ(Stats.StateChanges(), 4u);
  EXPECT_EQ(Stats.DrawCalls, 2u);
  EXPECT_EQ(Stats.Primitives, 4u);
}

TEST_F(SoftDevice, DrawingNeedsASceneAndPreTransformedVertices) {
  TTestVertex V[4] = {};
  Device->EndScene();
  EXPECT_EQ(Device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, V, sizeof(TTestVertex)), D3DERR_INVALIDCALL);
  EXPECT_EQ(Device->EndScene(), D3DERR_INVALIDCALL);
  ASSERT_EQ(Device->BeginScene(), D3D_OK);
  EXPECT_EQ(Device->BeginScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(Device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, V, 16), D3DERR_INVALIDCALL);  // stride too short
  EXPECT_EQ(Device->DrawPrimitiveUP(D3DPT_LINELIST, 1, V, sizeof(TTestVertex)), D3DERR_INVALIDCALL);
  Device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
  EXPECT_EQ(Device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, V, sizeof(TTestVertex)), D3DERR_INVALIDCALL);
  // Without diffuse in the format vertices are white.
  struct {
    float X, Y, Z, Rhw;
  } Plain[3] = {{0, 0, 0, 1}, {8, 0, 0, 1}, {0, 8, 0, 1}};
  Device->SetFVF(D3DFVF_XYZRHW);
  Clear(0xFF000000);
  ASSERT_EQ(Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, Plain, sizeof Plain[0]), D3D_OK);
  EXPECT_EQ(Pixel(0, 0), 0xFFFFFFFF);
  EXPECT_EQ(Pixel(7, 7), 0xFF000000);
}

TEST_F(SoftDevice, PresentHandsTheFrameToTheWindow) {
  Clear(0xFF102030);
  UsePreset(0);
  Quad(0, 0, 2, 2, 0xFFFFFFFF);
  Device->EndScene();
  ASSERT_EQ(Device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  const THeadlessPresenter& Shot = Window.Capture();
  EXPECT_EQ(Shot.FrameCount(), 1u);
  EXPECT_EQ(Shot.Width(), Width);
  EXPECT_EQ(Shot.Pixel(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(Shot.Pixel(2, 2), 0xFF102030u);
  auto File = std::filesystem::temp_directory_path() / ("soft-device-" + std::to_string(::getpid()) + ".png");
  Shot.SavePng(File);
  std::ifstream In(File, std::ios::binary);
  char Signature[8] = {};
  In.read(Signature, 8);
  EXPECT_EQ(std::string(Signature + 1, 3), "PNG");
  std::filesystem::remove(File);
  EXPECT_THROW(Shot.SavePng("/nonexistent-folder/x.png"), Exception);
  ASSERT_EQ(Device->BeginScene(), D3D_OK);
}

TEST(SoftDirect3D, CreationChecksParameters) {
  D3D9Hooks().Reset();
  EXPECT_EQ(Direct3DCreate9(12), nullptr);
  IDirect3D9* D3D = Direct3DCreate9(D3D_SDK_VERSION);
  THeadlessWindow Window(792, 566, 8, 34);
  D3DPRESENT_PARAMETERS Params{};
  Params.Windowed = -1;
  Params.SwapEffect = D3DSWAPEFFECT_DISCARD;
  IDirect3DDevice9* Device = nullptr;
  EXPECT_EQ(D3D->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &Params, &Device),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(D3D->CreateDevice(0, D3DDEVTYPE_HAL, &Window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &Params, &Device),
            D3DERR_INVALIDCALL);
  Params.EnableAutoDepthStencil = -1;
  Params.AutoDepthStencilFormat = D3DFMT_D16;
  EXPECT_EQ(D3D->CreateDevice(0, D3DDEVTYPE_HAL, &Window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &Params, &Device),
            D3DERR_INVALIDCALL);
  Params.EnableAutoDepthStencil = 0;
  ASSERT_EQ(D3D->CreateDevice(0, D3DDEVTYPE_HAL, &Window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &Params, &Device),
            D3D_OK);
  // The API completes the parameters: the window's client size, the display format, one back buffer.
  EXPECT_EQ(Params.BackBufferWidth, 792u);
  EXPECT_EQ(Params.BackBufferHeight, 566u);
  EXPECT_EQ(Params.BackBufferFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(Params.BackBufferCount, 1u);
  EXPECT_EQ(Params.hDeviceWindow, &Window);
  IDirect3DSurface9* Buffer = nullptr;
  ASSERT_EQ(Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &Buffer), D3D_OK);
  D3DSURFACE_DESC Desc;
  Buffer->GetDesc(&Desc);
  EXPECT_EQ(Desc.Width, 792u);
  D3DLOCKED_RECT L;
  EXPECT_EQ(Buffer->LockRect(&L, nullptr, 0), D3DERR_INVALIDCALL);  // not asked to be lockable
  EXPECT_EQ(Buffer->Release(), 0u);
  EXPECT_EQ(D3D->Release(), 1u);  // the device keeps its Direct3D object
  EXPECT_EQ(Device->Release(), 0u);

  // With a depth format the hooks accept, the device gets a depth surface.
  D3D = Direct3DCreate9(D3D_SDK_VERSION);
  D3D9Hooks().DepthStencilFormats = {D3DFMT_D24S8};
  EXPECT_EQ(D3D->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_D16),
            D3DERR_NOTAVAILABLE);
  EXPECT_EQ(D3D->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_D24S8), D3D_OK);
  Params.EnableAutoDepthStencil = -1;
  Params.AutoDepthStencilFormat = D3DFMT_D24S8;
  ASSERT_EQ(D3D->CreateDevice(0, D3DDEVTYPE_REF, &Window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &Params, &Device),
            D3D_OK);
  IDirect3DSurface9* Depth = nullptr;
  ASSERT_EQ(Device->GetDepthStencilSurface(&Depth), D3D_OK);
  Depth->GetDesc(&Desc);
  EXPECT_EQ(Desc.Format, D3DFMT_D24S8);
  EXPECT_EQ(Depth->Release(), 0u);
  EXPECT_EQ(Device->Release(), 0u);
  EXPECT_EQ(D3D->Release(), 0u);
  D3D9Hooks().Reset();

  Window.SetWindowPos(10, 20, 808, 634);
  EXPECT_EQ(Window.ClientWidth(), 800);
  EXPECT_EQ(Window.ClientHeight(), 600);
  EXPECT_TRUE(Window.Shown());
}

}  // namespace
