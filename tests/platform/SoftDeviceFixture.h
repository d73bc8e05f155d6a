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
  THeadlessWindow window_{Width, Height};
  IDirect3D9* d3D_ = nullptr;
  IDirect3DDevice9* device_ = nullptr;
  std::vector<IDirect3DTexture9*> textures_;

  void SetUp() override {
    D3D9Hooks().Reset();
    d3D_ = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3D_, nullptr);
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = -1;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.hDeviceWindow = &window_;
    params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    ASSERT_EQ(d3D_->CreateDevice(0, D3DDEVTYPE_HAL, &window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device_),
              D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    // The sprite layer's fixed states: texture times diffuse, specular added, no culling surprises.
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device_->SetRenderState(D3DRS_SPECULARENABLE, 1);
    device_->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
  }

  void TearDown() override {
    if (device_) {
      device_->EndScene();
      device_->SetTexture(0, nullptr);
      for (IDirect3DTexture9* t : textures_) {
        EXPECT_EQ(t->Release(), 0u);
      }
      EXPECT_EQ(device_->Release(), 0u);
    }
    if (d3D_) {
      EXPECT_EQ(d3D_->Release(), 0u);
    }
    D3D9Hooks().Reset();
  }

  // The six blend presets of the sprite layer.
  void UsePreset(int Preset) {
    static const DWORD kSrc[6] = {D3DBLEND_SRCALPHA, D3DBLEND_SRCALPHA, D3DBLEND_SRCALPHA,
                                  D3DBLEND_ZERO,     D3DBLEND_ZERO,     D3DBLEND_SRCALPHA};
    static const DWORD kDest[6] = {D3DBLEND_INVSRCALPHA, D3DBLEND_ONE,      D3DBLEND_INVSRCALPHA,
                                   D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCALPHA};
    bool blend = Preset >= 1 && Preset <= 4;
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, blend);
    device_->SetRenderState(D3DRS_SRCBLEND, kSrc[Preset]);
    device_->SetRenderState(D3DRS_DESTBLEND, kDest[Preset]);
    device_->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device_->SetRenderState(D3DRS_ALPHATESTENABLE, Preset == 5);
    device_->SetRenderState(D3DRS_ALPHAFUNC, Preset == 5 ? D3DCMP_GREATER : D3DCMP_ALWAYS);
    device_->SetRenderState(D3DRS_ALPHAREF, 128);
  }

  void Sampling(bool Smooth, DWORD Address) {
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, Smooth ? D3DTEXF_LINEAR : D3DTEXF_POINT);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, Smooth ? D3DTEXF_LINEAR : D3DTEXF_POINT);
    device_->SetSamplerState(0, D3DSAMP_ADDRESSU, Address);
    device_->SetSamplerState(0, D3DSAMP_ADDRESSV, Address);
  }

  void Clear(uint32_t Colour) { ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, Colour, 1.0f, 0), D3D_OK); }

  // A quad as the sprite layer draws it: corners top-left, top-right, bottom-left, bottom-right.
  void Quad(float X0, float Y0, float X1, float Y1, const uint32_t (&Diffuse)[4], uint32_t Specular = 0, float U0 = 0,
            float V0 = 0, float U1 = 1, float V1 = 1) {
    TTestVertex v[4] = {{X0, Y0, 0, 0.5f, Diffuse[0], Specular, U0, V0},
                        {X1, Y0, 0, 0.5f, Diffuse[1], Specular, U1, V0},
                        {X0, Y1, 0, 0.5f, Diffuse[2], Specular, U0, V1},
                        {X1, Y1, 0, 0.5f, Diffuse[3], Specular, U1, V1}};
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(TTestVertex)), D3D_OK);
  }
  void Quad(float X0, float Y0, float X1, float Y1, uint32_t Diffuse = 0xFFFFFFFF, uint32_t Specular = 0, float U0 = 0,
            float V0 = 0, float U1 = 1, float V1 = 1) {
    Quad(X0, Y0, X1, Y1, {Diffuse, Diffuse, Diffuse, Diffuse}, Specular, U0, V0, U1, V1);
  }

  // An A8R8G8B8 texture holding the given pixels, bound to stage 0.
  IDirect3DTexture9* Texture(UINT W, UINT H, const std::vector<uint32_t>& Pixels) {
    IDirect3DTexture9* t = nullptr;
    EXPECT_EQ(device_->CreateTexture(W, H, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
    D3DLOCKED_RECT l;
    EXPECT_EQ(t->LockRect(0, &l, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < H; ++y) std::memcpy(static_cast<uint8_t*>(l.pBits) + y * l.Pitch, &Pixels[y * W], W * 4);
    EXPECT_EQ(t->UnlockRect(0), D3D_OK);
    textures_.push_back(t);
    device_->SetTexture(0, t);
    return t;
  }

  uint32_t Pixel(int X, int Y) {
    IDirect3DSurface9* buffer = nullptr;
    EXPECT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &buffer), D3D_OK);
    D3DLOCKED_RECT l;
    EXPECT_EQ(buffer->LockRect(&l, nullptr, D3DLOCK_READONLY), D3D_OK);
    uint32_t value;
    std::memcpy(&value, static_cast<uint8_t*>(l.pBits) + Y * l.Pitch + X * 4, 4);
    buffer->UnlockRect();
    buffer->Release();
    return value;
  }

  // Number of pixels that differ from Colour.
  int CountNot(uint32_t Colour) {
    int n = 0;
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x) n += Pixel(x, y) != Colour;
    return n;
  }
};
