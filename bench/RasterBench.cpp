// Speed of the software rasteriser on the game's workloads, next to SDL2's own software renderer drawing the same
// quads (SDL_RenderGeometry with different colours per corner, so that it really rasterises). Each SDL benchmark
// reports how many times slower it is than ours as the counter SdlOverSoft. Machine load inflates both alike;
// BM_Floor_PlainBlend (one blend over every pixel) shows the memory-bound floor of the moment.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>
#include "HeadlessWindow.h"
#include "d3d9.h"

namespace {

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

uint32_t Random(uint32_t& Seed) {
  Seed = Seed * 1664525u + 1013904223u;
  return Seed >> 8;
}

// Pictures: a background tile, a sprite with a transparent border, a line of "text" with soft edges.
std::vector<TImage> MakeImages() {
  std::vector<TImage> images;
  uint32_t seed = 7;
  TImage map{192, 96, {}};
  for (int i = 0; i < map.W * map.H; ++i)
    map.Pixels.push_back((Random(seed) % 4 == 0 ? 0u : 0xFF000000u) | (Random(seed) & 0xFFFFFF));
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

TQuad Sprite(uint32_t& Seed, bool Additive) {
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

std::vector<TQuad> FullScreenWorkload() {
  return {{0, 0, kScreenW, kScreenH, 4, 6, {0xFFFFFFFF, 0xC0FF8080, 0xE080FF80, 0xFF8080FF}, 0, false, true, false}};
}

std::vector<TQuad> SpriteWorkload() {
  std::vector<TQuad> quads;
  uint32_t seed = 1;
  for (int i = 0; i < kSprites; ++i) quads.push_back(Sprite(seed, false));
  return quads;
}

// A frame of play: the scrolling background, sprites (some additive, as shots and explosions), text.
std::vector<TQuad> FrameWorkload() {
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

// Mean milliseconds per frame of each workload on the software device, for the SDL comparison.
std::map<std::string, double>& SoftTimes() {
  static std::map<std::string, double> times;
  return times;
}

class TSoftBench {
 public:
  TSoftBench() : window_(kScreenW, kScreenH) {
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS params{};
    params.Windowed = -1;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.hDeviceWindow = &window_;
    d3d_->CreateDevice(0, D3DDEVTYPE_HAL, &window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params, &device_);
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
  ~TSoftBench() {
    device_->SetTexture(0, nullptr);
    for (IDirect3DTexture9* t : textures_) t->Release();
    device_->Release();
    d3d_->Release();
  }

  // Draws the quads as the sprite layer does: states set only when they change, one strip per quad.
  void Frame(const std::vector<TQuad>& Quads) {
    IDirect3DDevice9* d = device_;
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
      if (q.Texture != texture) d->SetTexture(0, textures_[texture = q.Texture]);
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
      TVertex v[4] = {{q.X, q.Y, 0, 0.5f, q.Colours[0], 0, 0, 0},
                      {q.X + q.W, q.Y, 0, 0.5f, q.Colours[1], 0, q.U1, 0},
                      {q.X, q.Y + q.H, 0, 0.5f, q.Colours[2], 0, 0, q.V1},
                      {q.X + q.W, q.Y + q.H, 0, 0.5f, q.Colours[3], 0, q.U1, q.V1}};
      d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(TVertex));
    }
    d->EndScene();
  }

 private:
  THeadlessWindow window_;
  IDirect3D9* d3d_ = nullptr;
  IDirect3DDevice9* device_ = nullptr;
  std::vector<IDirect3DTexture9*> textures_;
};

class TSdlBench {
 public:
  TSdlBench() {
    surface_ = SDL_CreateRGBSurface(0, kScreenW, kScreenH, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    renderer_ = SDL_CreateSoftwareRenderer(surface_);
    for (const TImage& image : MakeImages()) {
      SDL_Surface* s = SDL_CreateRGBSurfaceFrom(const_cast<uint32_t*>(image.Pixels.data()), image.W, image.H, 32,
                                                image.W * 4, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
      SDL_Texture* t = SDL_CreateTextureFromSurface(renderer_, s);
      SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
      SDL_FreeSurface(s);
      textures_.push_back(t);
    }
  }
  ~TSdlBench() {
    for (SDL_Texture* t : textures_) SDL_DestroyTexture(t);
    SDL_DestroyRenderer(renderer_);
    SDL_FreeSurface(surface_);
  }

  bool Ready() const { return renderer_ != nullptr; }

  void Frame(const std::vector<TQuad>& Quads) {
    SDL_SetRenderDrawColor(renderer_, 0x10, 0x10, 0x10, 0xFF);
    SDL_RenderClear(renderer_);
    static const int kIndices[6] = {0, 1, 2, 1, 3, 2};
    for (const TQuad& q : Quads) {
      SDL_Texture* t = textures_[q.Texture];
      SDL_SetTextureBlendMode(t, q.Additive ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
      SDL_SetTextureScaleMode(t, q.Smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
      SDL_Vertex v[4];
      const float x[4] = {q.X, q.X + q.W, q.X, q.X + q.W}, y[4] = {q.Y, q.Y, q.Y + q.H, q.Y + q.H};
      // SDL refuses texture coordinates beyond 1 (it cannot wrap): a wrapping quad is drawn stretched instead,
      // which costs it the same per pixel.
      const float u1 = q.U1 > 1 ? 1 : q.U1, v1 = q.V1 > 1 ? 1 : q.V1;
      const float u[4] = {0, u1, 0, u1}, vv[4] = {0, 0, v1, v1};
      for (int i = 0; i < 4; ++i) {
        uint32_t c = q.Colours[i];
        v[i].position = {x[i], y[i]};
        v[i].color = {Uint8(c >> 16), Uint8(c >> 8), Uint8(c), Uint8(c >> 24)};
        v[i].tex_coord = {u[i], vv[i]};
      }
      SDL_RenderGeometry(renderer_, t, v, 4, kIndices, 6);
    }
    SDL_RenderFlush(renderer_);
  }

 private:
  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::vector<SDL_Texture*> textures_;
};

// Processor time of this thread: other programs on the machine delay both renderers without adding to it.
double CpuMilliseconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void ReportMilliseconds(benchmark::State& State, double Spent, const std::string& Name, bool Soft) {
  double ms = Spent / double(State.iterations());
  State.counters["cpu_ms_per_frame"] = ms;
  if (Soft) {
    SoftTimes()[Name] = ms;
  } else if (SoftTimes().count(Name)) {
    State.counters["SdlOverSoft"] = ms / SoftTimes()[Name];
  }
}

template <class TBench>
void Run(benchmark::State& State, const std::vector<TQuad>& Quads, const std::string& Name) {
  TBench bench;
  double start = CpuMilliseconds();
  for (auto _ : State) bench.Frame(Quads);
  ReportMilliseconds(State, CpuMilliseconds() - start, Name, std::is_same_v<TBench, TSoftBench>);
}

void BM_Soft_FullScreenWrapQuad(benchmark::State& State) { Run<TSoftBench>(State, FullScreenWorkload(), "a"); }
void BM_Soft_Sprites1000(benchmark::State& State) { Run<TSoftBench>(State, SpriteWorkload(), "b"); }
void BM_Soft_GameFrame(benchmark::State& State) { Run<TSoftBench>(State, FrameWorkload(), "c"); }
void BM_Sdl_FullScreenWrapQuad(benchmark::State& State) { Run<TSdlBench>(State, FullScreenWorkload(), "a"); }
void BM_Sdl_Sprites1000(benchmark::State& State) { Run<TSdlBench>(State, SpriteWorkload(), "b"); }
void BM_Sdl_GameFrame(benchmark::State& State) { Run<TSdlBench>(State, FrameWorkload(), "c"); }

// The floor: one plain alpha blend of a colour over every pixel of the screen, four pixels at a time.
void BM_Floor_PlainBlend(benchmark::State& State) {
  typedef uint16_t U16x16 __attribute__((vector_size(32)));
  typedef uint8_t U8x16 __attribute__((vector_size(16)));
  std::vector<uint32_t> target(kScreenW * kScreenH, 0xFF101010);
  const U16x16 source = U16x16{} + 0x80, alpha = U16x16{} + 128;
  for (auto _ : State) {
    for (size_t i = 0; i < target.size(); i += 4) {
      U8x16 d8;
      std::memcpy(&d8, &target[i], sizeof d8);
      U16x16 x = source * alpha + __builtin_convertvector(d8, U16x16) * (255 - alpha) + 128;
      U8x16 out = __builtin_convertvector((x + (x >> 8)) >> 8, U8x16);
      std::memcpy(&target[i], &out, sizeof out);
    }
    benchmark::DoNotOptimize(target.data());
  }
}

}  // namespace

BENCHMARK(BM_Floor_PlainBlend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Soft_FullScreenWrapQuad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Soft_Sprites1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Soft_GameFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sdl_FullScreenWrapQuad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sdl_Sprites1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sdl_GameFrame)->Unit(benchmark::kMillisecond);
