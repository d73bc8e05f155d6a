// A software Direct3D device on a headless window, with helpers to draw sprite quads the way the game does.
#pragma once
#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "HeadlessWindow.h"
#include "d3d9.h"
#include "support/D3D9TestHooks.h"

struct TTestVertex {
  float X, Y, Z, Rhw;
  uint32_t Diffuse, Specular;
  float U, V;
};

class TSoftDeviceFixture : public ::testing::Test {
 protected:
  static constexpr int Width = 64, Height = 32;
  THeadlessWindow Window{Width, Height};
  IDirect3D9* D3D = nullptr;
  IDirect3DDevice9* Device = nullptr;
  std::vector<IDirect3DTexture9*> Textures;

  void SetUp() override {
    D3D9Hooks().Reset();
    D3D = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(D3D, nullptr);
    D3DPRESENT_PARAMETERS Params{};
    Params.Windowed = -1;
    Params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    Params.hDeviceWindow = &Window;
    Params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    ASSERT_EQ(D3D->CreateDevice(0, D3DDEVTYPE_HAL, &Window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &Params, &Device),
              D3D_OK);
    ASSERT_EQ(Device->BeginScene(), D3D_OK);
    // The sprite layer's fixed states: texture times diffuse, specular added, no culling surprises.
    Device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    Device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    Device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    Device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    Device->SetRenderState(D3DRS_SPECULARENABLE, 1);
    Device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
  }

  void TearDown() override {
    if (Device) {
      Device->EndScene();
      Device->SetTexture(0, nullptr);
      for (IDirect3DTexture9* T : Textures) {
        EXPECT_EQ(T->Release(), 0u);
      }
      EXPECT_EQ(Device->Release(), 0u);
    }
    if (D3D) {
      EXPECT_EQ(D3D->Release(), 0u);
    }
    D3D9Hooks().Reset();
  }

  // The six blend presets of the sprite layer.
  void UsePreset(int Preset) {
    static const DWORD Src[6] = {D3DBLEND_SRCALPHA, D3DBLEND_SRCALPHA, D3DBLEND_SRCALPHA,
                                 D3DBLEND_ZERO,     D3DBLEND_ZERO,     D3DBLEND_SRCALPHA};
    static const DWORD Dest[6] = {D3DBLEND_INVSRCALPHA, D3DBLEND_ONE,      D3DBLEND_INVSRCALPHA,
                                  D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCALPHA};
    bool Blend = Preset >= 1 && Preset <= 4;
    Device->SetRenderState(D3DRS_ALPHABLENDENABLE, Blend);
    Device->SetRenderState(D3DRS_SRCBLEND, Src[Preset]);
    Device->SetRenderState(D3DRS_DESTBLEND, Dest[Preset]);
    Device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    Device->SetRenderState(D3DRS_ALPHATESTENABLE, Preset == 5);
    Device->SetRenderState(D3DRS_ALPHAFUNC, Preset == 5 ? D3DCMP_GREATER : D3DCMP_ALWAYS);
    Device->SetRenderState(D3DRS_ALPHAREF, 128);
  }

  void Sampling(bool Smooth, DWORD Address) {
    Device->SetSamplerState(0, D3DSAMP_MAGFILTER, Smooth ? D3DTEXF_LINEAR : D3DTEXF_POINT);
    Device->SetSamplerState(0, D3DSAMP_MINFILTER, Smooth ? D3DTEXF_LINEAR : D3DTEXF_POINT);
    Device->SetSamplerState(0, D3DSAMP_ADDRESSU, Address);
    Device->SetSamplerState(0, D3DSAMP_ADDRESSV, Address);
  }

  void Clear(uint32_t Colour) { ASSERT_EQ(Device->Clear(0, nullptr, D3DCLEAR_TARGET, Colour, 1.0f, 0), D3D_OK); }

  // A quad as the sprite layer draws it: corners top-left, top-right, bottom-left, bottom-right.
  void Quad(float X0, float Y0, float X1, float Y1, const uint32_t (&Diffuse)[4], uint32_t Specular = 0, float U0 = 0,
            float V0 = 0, float U1 = 1, float V1 = 1) {
    TTestVertex V[4] = {{X0, Y0, 0, 0.5f, Diffuse[0], Specular, U0, V0},
                        {X1, Y0, 0, 0.5f, Diffuse[1], Specular, U1, V0},
                        {X0, Y1, 0, 0.5f, Diffuse[2], Specular, U0, V1},
                        {X1, Y1, 0, 0.5f, Diffuse[3], Specular, U1, V1}};
    ASSERT_EQ(Device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, V, sizeof(TTestVertex)), D3D_OK);
  }
  void Quad(float X0, float Y0, float X1, float Y1, uint32_t Diffuse = 0xFFFFFFFF, uint32_t Specular = 0, float U0 = 0,
            float V0 = 0, float U1 = 1, float V1 = 1) {
    Quad(X0, Y0, X1, Y1, {Diffuse, Diffuse, Diffuse, Diffuse}, Specular, U0, V0, U1, V1);
  }

  // An A8R8G8B8 texture holding the given pixels, bound to stage 0.
  IDirect3DTexture9* Texture(UINT W, UINT H, const std::vector<uint32_t>& Pixels) {
    IDirect3DTexture9* T = nullptr;
    EXPECT_EQ(Device->CreateTexture(W, H, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &T, nullptr), D3D_OK);
    D3DLOCKED_RECT L;
    EXPECT_EQ(T->LockRect(0, &L, nullptr, 0), D3D_OK);
    for (UINT Y = 0; Y < H; ++Y) std::memcpy(static_cast<uint8_t*>(L.pBits) + Y * L.Pitch, &Pixels[Y * W], W * 4);
    EXPECT_EQ(T->UnlockRect(0), D3D_OK);
    Textures.push_back(T);
    Device->SetTexture(0, T);
    return T;
  }

  uint32_t Pixel(int X, int Y) {
    IDirect3DSurface9* Buffer = nullptr;
    EXPECT_EQ(Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &Buffer), D3D_OK);
    D3DLOCKED_RECT L;
    EXPECT_EQ(Buffer->LockRect(&L, nullptr, D3DLOCK_READONLY), D3D_OK);
    uint32_t Value;
    std::memcpy(&Value, static_cast<uint8_t*>(L.pBits) + Y * L.Pitch + X * 4, 4);
    Buffer->UnlockRect();
    Buffer->Release();
    return Value;
  }

  // Number of pixels that differ from Colour.
  int CountNot(uint32_t Colour) {
    int N = 0;
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) N += Pixel(X, Y) != Colour;
    return N;
  }
};
