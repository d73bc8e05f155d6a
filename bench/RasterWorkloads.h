// The rasteriser's three reference workloads (a full-screen wrapped quad, 1000 sprites, a frame of play), shared
// by the benchmark that times them and the test that holds their pictures still.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>
#include "HeadlessWindow.h"
#include "d3d9.h"

namespace rasterwork {

constexpr int kScreenW = 800, kScreenH = 600;
constexpr int kSprites = 1000, kFrameSprites = 300, kTextQuads = 20;

struct TVertex {
  float X, Y, Z, Rhw;
  uint32_t Diffuse, Specular;
  float U, V;
};

// One quad of a workload, in the sprite layer's terms.
struct TQuad {
  float X, Y, W, H;
  float U1, V1;
  uint32_t Colours[4];
  int Texture;  // index into the workload's textures
  bool Additive;
  bool Wrap;
  bool Smooth;
};

struct TImage {
  int W, H;
  std::vector<uint32_t> Pixels;
};

inline uint32_t Random(uint32_t& Seed) {
  Seed = Seed * 1664525u + 1013904223u;
  return Seed >> 8;
}

// Pictures: a background tile, a sprite with a transparent border, a line of "text" with soft edges.
inline std::vector<TImage> MakeImages() {
  std::vector<TImage> images;
  uint32_t seed = 7;
  TImage map{192, 96, {}};
  for (int i = 0; i < map.W * map.H; ++i) {
    uint32_t alpha = Random(seed) % 4 == 0 ? 0u : 0xFF000000u;  // drawn first: one picture on every compiler
    map.Pixels.push_back(alpha | (Random(seed) & 0xFFFFFF));
  }
  images.push_back(map);
  TImage sprite{32, 32, {}};
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      bool inside = (x - 16) * (x - 16) + (y - 16) * (y - 16) < 14 * 14;
      sprite.Pixels.push_back(inside ? 0xFF000000u | (Random(seed) & 0xFFFFFF) : 0x00FF00FFu);
    }
  images.push_back(sprite);
  TImage text{128, 16, {}};
  for (int i = 0; i < text.W * text.H; ++i) text.Pixels.push_back(((Random(seed) & 0xFF) << 24) | 0xFFFFFF);
  images.push_back(text);
  return images;
}

inline TQuad Sprite(uint32_t& Seed, bool Additive) {
  TQuad q{float(Random(Seed) % (kScreenW + 32)) - 32.0f,
          float(Random(Seed) % (kScreenH + 32)) - 32.0f,
          32,
          32,
          1,
          1,
          {0xFFFFFFFF, 0xFFFF8080, 0xC080FF80, 0xFF8080FF},
          1,
          Additive,
          false,
          false};
  return q;
}

inline std::vector<TQuad> FullScreenWorkload() {
  return {{0, 0, kScreenW, kScreenH, 4, 6, {0xFFFFFFFF, 0xC0FF8080, 0xE080FF80, 0xFF8080FF}, 0, false, true, false}};
}

inline std::vector<TQuad> SpriteWorkload() {
  std::vector<TQuad> quads;
  uint32_t seed = 1;
  for (int i = 0; i < kSprites; ++i) quads.push_back(Sprite(seed, false));
  return quads;
}

// A frame of play: the scrolling background, sprites (some additive, as shots and explosions), text.
inline std::vector<TQuad> FrameWorkload() {
  std::vector<TQuad> quads;
  quads.push_back({-100, 0, 1343, 671, 7, 7, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, 0, false, true, false});
  uint32_t seed = 2;
  for (int i = 0; i < kFrameSprites; ++i) quads.push_back(Sprite(seed, i % 4 == 0));
  for (int i = 0; i < kTextQuads; ++i)
    quads.push_back({float(40 + (i % 4) * 180),
                     float(100 + (i / 4) * 60),
                     128,
                     16,
                     1,
                     1,
                     {0xFFFFFFFF, 0xFFFFFFFF, 0xFF808080, 0xFF808080},
                     2,
                     false,
                     false,
                     i % 2 == 0});
  return quads;
}

// Draws the quads as the sprite layer does: states set only when they change, one strip per quad.
inline void DrawWorkload(IDirect3DDevice9* d, const std::vector<IDirect3DTexture9*>& Textures,
                         const std::vector<TQuad>& Quads) {
  d->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00101010, 1.0f, 0);
  d->BeginScene();
  d->SetRenderState(D3DRS_SPECULARENABLE, 1);
  d->SetRenderState(D3DRS_LIGHTING, 0);
  d->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  d->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
  int texture = -1, additive = -1, wrap = -1, smooth = -1;
  for (const TQuad& q : Quads) {
    if (q.Texture != texture) d->SetTexture(0, Textures[texture = q.Texture]);
    if (int(q.Additive) != additive)
      d->SetRenderState(D3DRS_DESTBLEND, (additive = q.Additive) ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);
    if (int(q.Wrap) != wrap) {
      DWORD mode = (wrap = q.Wrap) ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP;
      d->SetSamplerState(0, D3DSAMP_ADDRESSU, mode);
      d->SetSamplerState(0, D3DSAMP_ADDRESSV, mode);
    }
    if (int(q.Smooth) != smooth) {
      DWORD filter = (smooth = q.Smooth) ? D3DTEXF_LINEAR : D3DTEXF_POINT;
      d->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
      d->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
    }
    // Corner by corner, as the sprite layer fills them: an initialiser for the whole array would zero it first, with a
    // string store that the game does not pay.
    TVertex v[4];
    for (int c = 0; c < 4; ++c) {
      const bool right = c & 1, bottom = c & 2;
      v[c] = {right ? q.X + q.W : q.X, bottom ? q.Y + q.H : q.Y, 0, 0.5f, q.Colours[c], 0,
              right ? q.U1 : 0,        bottom ? q.V1 : 0};
    }
    d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(TVertex));
  }
  d->EndScene();
}

// A software device on an 800x600 headless window with the workloads' pictures as managed A8R8G8B8
// textures, in MakeImages' order.
class TWorkloadDevice {
 public:
  TWorkloadDevice() : window_(kScreenW, kScreenH) {
    d3D_ = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = -1;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.hDeviceWindow = &window_;
    params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    d3D_->CreateDevice(0, D3DDEVTYPE_HAL, &window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device_);
    for (const TImage& image : MakeImages()) {
      IDirect3DTexture9* t = nullptr;
      device_->CreateTexture(image.W, image.H, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr);
      D3DLOCKED_RECT l;
      t->LockRect(0, &l, nullptr, 0);
      for (int y = 0; y < image.H; ++y)
        std::memcpy(static_cast<uint8_t*>(l.pBits) + y * l.Pitch, &image.Pixels[y * image.W], image.W * 4);
      t->UnlockRect(0);
      textures_.push_back(t);
    }
  }
  ~TWorkloadDevice() {
    device_->SetTexture(0, nullptr);
    for (IDirect3DTexture9* t : textures_) t->Release();
    device_->Release();
    d3D_->Release();
  }
  TWorkloadDevice(const TWorkloadDevice&) = delete;
  TWorkloadDevice& operator=(const TWorkloadDevice&) = delete;

  void Frame(const std::vector<TQuad>& Quads) { DrawWorkload(device_, textures_, Quads); }

  // The back buffer, row after row.
  std::vector<uint32_t> Picture() {
    IDirect3DSurface9* buffer = nullptr;
    device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &buffer);
    D3DLOCKED_RECT l;
    buffer->LockRect(&l, nullptr, D3DLOCK_READONLY);
    std::vector<uint32_t> pixels(size_t(kScreenW) * kScreenH);
    for (int y = 0; y < kScreenH; ++y)
      std::memcpy(&pixels[size_t(y) * kScreenW], static_cast<const uint8_t*>(l.pBits) + y * l.Pitch, kScreenW * 4);
    buffer->UnlockRect();
    buffer->Release();
    return pixels;
  }

 private:
  THeadlessWindow window_;
  IDirect3D9* d3D_ = nullptr;
  IDirect3DDevice9* device_ = nullptr;
  std::vector<IDirect3DTexture9*> textures_;
};

// FNV-1a over a picture's pixels: a change of any bit of any pixel changes it.
inline uint64_t PictureHash(const std::vector<uint32_t>& Pixels) {
  uint64_t hash = 14695981039346656037ull;
  for (uint32_t p : Pixels)
    for (int b = 0; b < 4; ++b) hash = (hash ^ ((p >> (8 * b)) & 0xFF)) * 1099511628211ull;
  return hash;
}

}  // namespace rasterwork
