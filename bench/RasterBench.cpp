// Speed of the software rasteriser on the game's workloads, next to SDL2's own software renderer drawing the same
// quads (SDL_RenderGeometry with different colours per corner, so that it really rasterises). Each SDL benchmark
// reports how many times slower it is than ours as the counter SdlOverSoft. pixman is the anchor: the same quads as
// pixman_image_composite32 with a constant-alpha mask, its counter SoftOverPixman our time over its (below 1: ours
// is faster); BenchMain.cpp prints both medians and their ratio per workload at the end of the run. Machine load
// inflates all alike; BM_Floor_PlainBlend (one blend over every pixel) shows the memory-bound floor of the moment.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>
#include "HeadlessWindow.h"
#include "d3d9.h"

namespace {

constexpr int ScreenW = 800, ScreenH = 600;
constexpr int Sprites = 1000, FrameSprites = 300, TextQuads = 20;

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
  std::vector<TImage> Images;
  uint32_t Seed = 7;
  TImage Map{192, 96, {}};
  for (int I = 0; I < Map.W * Map.H; ++I)
    Map.Pixels.push_back((Random(Seed) % 4 == 0 ? 0u : 0xFF000000u) | (Random(Seed) & 0xFFFFFF));
  Images.push_back(Map);
  TImage Sprite{32, 32, {}};
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 32; ++X) {
      bool Inside = (X - 16) * (X - 16) + (Y - 16) * (Y - 16) < 14 * 14;
      Sprite.Pixels.push_back(Inside ? 0xFF000000u | (Random(Seed) & 0xFFFFFF) : 0x00FF00FFu);
    }
  Images.push_back(Sprite);
  TImage Text{128, 16, {}};
  for (int I = 0; I < Text.W * Text.H; ++I) Text.Pixels.push_back(((Random(Seed) & 0xFF) << 24) | 0xFFFFFF);
  Images.push_back(Text);
  return Images;
}

TQuad Sprite(uint32_t& Seed, bool Additive) {
  TQuad Q{float(Random(Seed) % (ScreenW + 32)) - 32.0f,
          float(Random(Seed) % (ScreenH + 32)) - 32.0f,
          32,
          32,
          1,
          1,
          {0xFFFFFFFF, 0xFFFF8080, 0xC080FF80, 0xFF8080FF},
          1,
          Additive,
          false,
          false};
  return Q;
}

std::vector<TQuad> FullScreenWorkload() {
  return {{0, 0, ScreenW, ScreenH, 4, 6, {0xFFFFFFFF, 0xC0FF8080, 0xE080FF80, 0xFF8080FF}, 0, false, true, false}};
}

std::vector<TQuad> SpriteWorkload() {
  std::vector<TQuad> Quads;
  uint32_t Seed = 1;
  for (int I = 0; I < Sprites; ++I) Quads.push_back(Sprite(Seed, false));
  return Quads;
}

// A frame of play: the scrolling background, sprites (some additive, as shots and explosions), text.
std::vector<TQuad> FrameWorkload() {
  std::vector<TQuad> Quads;
  Quads.push_back({-100, 0, 1343, 671, 7, 7, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, 0, false, true, false});
  uint32_t Seed = 2;
  for (int I = 0; I < FrameSprites; ++I) Quads.push_back(Sprite(Seed, I % 4 == 0));
  for (int I = 0; I < TextQuads; ++I)
    Quads.push_back({float(40 + (I % 4) * 180),
                     float(100 + (I / 4) * 60),
                     128,
                     16,
                     1,
                     1,
                     {0xFFFFFFFF, 0xFFFFFFFF, 0xFF808080, 0xFF808080},
                     2,
                     false,
                     false,
                     I % 2 == 0});
  return Quads;
}

// Mean milliseconds per frame of each workload on the software device, for the SDL comparison.
std::map<std::string, double>& SoftTimes() {
  static std::map<std::string, double> Times;
  return Times;
}

class TSoftBench {
 public:
  TSoftBench() : Window_(ScreenW, ScreenH) {
    D3D_ = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS Params{};
    Params.Windowed = -1;
    Params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    Params.hDeviceWindow = &Window_;
    D3D_->CreateDevice(0, D3DDEVTYPE_HAL, &Window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &Params, &Device_);
    for (const TImage& Image : MakeImages()) {
      IDirect3DTexture9* T = nullptr;
      Device_->CreateTexture(Image.W, Image.H, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &T, nullptr);
      D3DLOCKED_RECT L;
      T->LockRect(0, &L, nullptr, 0);
      for (int Y = 0; Y < Image.H; ++Y)
        std::memcpy(static_cast<uint8_t*>(L.pBits) + Y * L.Pitch, &Image.Pixels[Y * Image.W], Image.W * 4);
      T->UnlockRect(0);
      Textures_.push_back(T);
    }
  }
  ~TSoftBench() {
    Device_->SetTexture(0, nullptr);
    for (IDirect3DTexture9* T : Textures_) T->Release();
    Device_->Release();
    D3D_->Release();
  }

  // Draws the quads as the sprite layer does: states set only when they change, one strip per quad.
  void Frame(const std::vector<TQuad>& Quads) {
    IDirect3DDevice9* D = Device_;
    D->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00101010, 1.0f, 0);
    D->BeginScene();
    D->SetRenderState(D3DRS_SPECULARENABLE, 1);
    D->SetRenderState(D3DRS_LIGHTING, 0);
    D->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    D->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    D->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    D->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    D->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    D->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    D->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    D->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    D->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
    int Texture = -1, Additive = -1, Wrap = -1, Smooth = -1;
    for (const TQuad& Q : Quads) {
      if (Q.Texture != Texture) D->SetTexture(0, Textures_[Texture = Q.Texture]);
      if (int(Q.Additive) != Additive)
        D->SetRenderState(D3DRS_DESTBLEND, (Additive = Q.Additive) ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);
      if (int(Q.Wrap) != Wrap) {
        DWORD Mode = (Wrap = Q.Wrap) ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP;
        D->SetSamplerState(0, D3DSAMP_ADDRESSU, Mode);
        D->SetSamplerState(0, D3DSAMP_ADDRESSV, Mode);
      }
      if (int(Q.Smooth) != Smooth) {
        DWORD Filter = (Smooth = Q.Smooth) ? D3DTEXF_LINEAR : D3DTEXF_POINT;
        D->SetSamplerState(0, D3DSAMP_MAGFILTER, Filter);
        D->SetSamplerState(0, D3DSAMP_MINFILTER, Filter);
      }
      TVertex V[4] = {{Q.X, Q.Y, 0, 0.5f, Q.Colours[0], 0, 0, 0},
                      {Q.X + Q.W, Q.Y, 0, 0.5f, Q.Colours[1], 0, Q.U1, 0},
                      {Q.X, Q.Y + Q.H, 0, 0.5f, Q.Colours[2], 0, 0, Q.V1},
                      {Q.X + Q.W, Q.Y + Q.H, 0, 0.5f, Q.Colours[3], 0, Q.U1, Q.V1}};
      D->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, V, sizeof(TVertex));
    }
    D->EndScene();
  }

 private:
  THeadlessWindow Window_;
  IDirect3D9* D3D_ = nullptr;
  IDirect3DDevice9* Device_ = nullptr;
  std::vector<IDirect3DTexture9*> Textures_;
};

class TSdlBench {
 public:
  TSdlBench() {
    Surface_ = SDL_CreateRGBSurface(0, ScreenW, ScreenH, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    Renderer_ = SDL_CreateSoftwareRenderer(Surface_);
    for (const TImage& Image : MakeImages()) {
      SDL_Surface* S = SDL_CreateRGBSurfaceFrom(const_cast<uint32_t*>(Image.Pixels.data()), Image.W, Image.H, 32,
                                                Image.W * 4, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
      SDL_Texture* T = SDL_CreateTextureFromSurface(Renderer_, S);
      SDL_SetTextureBlendMode(T, SDL_BLENDMODE_BLEND);
      SDL_FreeSurface(S);
      Textures_.push_back(T);
    }
  }
  ~TSdlBench() {
    for (SDL_Texture* T : Textures_) SDL_DestroyTexture(T);
    SDL_DestroyRenderer(Renderer_);
    SDL_FreeSurface(Surface_);
  }

  bool Ready() const { return Renderer_ != nullptr; }

  void Frame(const std::vector<TQuad>& Quads) {
    SDL_SetRenderDrawColor(Renderer_, 0x10, 0x10, 0x10, 0xFF);
    SDL_RenderClear(Renderer_);
    static const int Indices[6] = {0, 1, 2, 1, 3, 2};
    for (const TQuad& Q : Quads) {
      SDL_Texture* T = Textures_[Q.Texture];
      SDL_SetTextureBlendMode(T, Q.Additive ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
      SDL_SetTextureScaleMode(T, Q.Smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
      SDL_Vertex V[4];
      const float X[4] = {Q.X, Q.X + Q.W, Q.X, Q.X + Q.W}, Y[4] = {Q.Y, Q.Y, Q.Y + Q.H, Q.Y + Q.H};
      // SDL refuses texture coordinates beyond 1 (it cannot wrap): a wrapping quad is drawn stretched instead,
      // which costs it the same per pixel.
      const float U1 = Q.U1 > 1 ? 1 : Q.U1, V1 = Q.V1 > 1 ? 1 : Q.V1;
      const float U[4] = {0, U1, 0, U1}, Vv[4] = {0, 0, V1, V1};
      for (int I = 0; I < 4; ++I) {
        uint32_t C = Q.Colours[I];
        V[I].position = {X[I], Y[I]};
        V[I].color = {Uint8(C >> 16), Uint8(C >> 8), Uint8(C), Uint8(C >> 24)};
        V[I].tex_coord = {U[I], Vv[I]};
      }
      SDL_RenderGeometry(Renderer_, T, V, 4, Indices, 6);
    }
    SDL_RenderFlush(Renderer_);
  }

 private:
  SDL_Surface* Surface_ = nullptr;
  SDL_Renderer* Renderer_ = nullptr;
  std::vector<SDL_Texture*> Textures_;
};

// pixman drawing the quads the way a program built on it would: each quad one pixman_image_composite32, OVER (ADD for
// additive quads) with a solid mask holding the mean of the corners' alphas, since pixman has no per-vertex colour:
// it does less work per pixel than the software device. Textures are premultiplied a8r8g8b8, so a colour-keyed
// texel (alpha 0) is fully transparent; a quad whose texture coordinates repeat or scale the texture gets
// PIXMAN_REPEAT_NORMAL and a scale transform. Images and masks are made once: a frame allocates nothing.
class TPixmanBench {
 public:
  TPixmanBench() : Target_(ScreenW * ScreenH) {
    Screen_ = pixman_image_create_bits(PIXMAN_x8r8g8b8, ScreenW, ScreenH, Target_.data(), ScreenW * 4);
    for (TImage& Image : Images_) {
      for (uint32_t& P : Image.Pixels) {
        uint32_t A = P >> 24, R = (P >> 16) & 0xFF, G = (P >> 8) & 0xFF, B = P & 0xFF;
        auto Pre = [A](uint32_t C) { return (C * A + 127) / 255; };
        P = A << 24 | Pre(R) << 16 | Pre(G) << 8 | Pre(B);
      }
      Textures_.push_back(
          pixman_image_create_bits(PIXMAN_a8r8g8b8, Image.W, Image.H, Image.Pixels.data(), Image.W * 4));
      // pixman's defaults are the identity, no repeat and the nearest texel; set them so the cache holds.
      Sampling_.push_back({0, 0, false, false});
      Configure(int(Textures_.size()) - 1, 1, 1, false, false);
    }
    for (int A = 0; A < 256; ++A) {
      pixman_color_t Colour{0, 0, 0, uint16_t(A * 257)};
      Masks_[A] = pixman_image_create_solid_fill(&Colour);
    }
  }
  ~TPixmanBench() {
    for (pixman_image_t* M : Masks_) pixman_image_unref(M);
    for (pixman_image_t* T : Textures_) pixman_image_unref(T);
    pixman_image_unref(Screen_);
  }

  bool Ready() const {
    return Screen_ && std::all_of(Textures_.begin(), Textures_.end(), [](auto* T) { return T; }) &&
           std::all_of(std::begin(Masks_), std::end(Masks_), [](auto* M) { return M; });
  }

  void Frame(const std::vector<TQuad>& Quads) {
    pixman_fill(Target_.data(), ScreenW, 32, 0, 0, ScreenW, ScreenH, 0x00101010);
    for (const TQuad& Q : Quads) {
      const TImage& Image = Images_[Q.Texture];
      // Texels per screen pixel; 1:1 quads keep the identity so pixman takes its unscaled paths.
      double Sx = Q.U1 * Image.W / Q.W, Sy = Q.V1 * Image.H / Q.H;
      Configure(Q.Texture, Sx, Sy, Q.Wrap, Q.Smooth);
      uint32_t Alpha =
          ((Q.Colours[0] >> 24) + (Q.Colours[1] >> 24) + (Q.Colours[2] >> 24) + (Q.Colours[3] >> 24) + 2) / 4;
      int X = int(std::lround(Q.X)), Y = int(std::lround(Q.Y));
      pixman_image_composite32(Q.Additive ? PIXMAN_OP_ADD : PIXMAN_OP_OVER, Textures_[Q.Texture], Masks_[Alpha],
                               Screen_, 0, 0, 0, 0, X, Y, int(Q.W), int(Q.H));
    }
  }

 private:
  struct TSampling {
    double Sx = 1, Sy = 1;
    bool Wrap = false, Smooth = false;
    bool operator==(const TSampling&) const = default;
  };

  // Changes a texture's sampling only when it differs from its last quad's, as a program would: pixman frees an
  // identity transform and allocates a new one for the next scale.
  void Configure(int Texture, double Sx, double Sy, bool Wrap, bool Smooth) {
    TSampling Wanted{Sx, Sy, Wrap, Smooth};
    pixman_image_t* Source = Textures_[Texture];
    if (!Source || Sampling_[Texture] == Wanted) return;
    Sampling_[Texture] = Wanted;
    pixman_transform_t Transform;
    if (Sx == 1 && Sy == 1) {
      pixman_transform_init_identity(&Transform);
    } else {
      pixman_transform_init_scale(&Transform, pixman_double_to_fixed(Sx), pixman_double_to_fixed(Sy));
    }
    pixman_image_set_transform(Source, &Transform);
    pixman_image_set_repeat(Source, Wrap ? PIXMAN_REPEAT_NORMAL : PIXMAN_REPEAT_NONE);
    pixman_image_set_filter(Source, Smooth ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
  }

  std::vector<uint32_t> Target_;
  std::vector<TImage> Images_ = MakeImages();
  pixman_image_t* Screen_ = nullptr;
  std::vector<pixman_image_t*> Textures_;
  std::vector<TSampling> Sampling_;
  pixman_image_t* Masks_[256] = {};
};

// Processor time of this thread: other programs on the machine delay both renderers without adding to it.
double CpuMilliseconds() {
  timespec T;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return T.tv_sec * 1e3 + T.tv_nsec / 1e6;
}

template <class TBench>
void ReportMilliseconds(benchmark::State& State, double Spent, const std::string& Name) {
  double Ms = Spent / double(State.iterations());
  State.counters["cpu_ms_per_frame"] = Ms;
  if constexpr (std::is_same_v<TBench, TSoftBench>) {
    SoftTimes()[Name] = Ms;
  } else if constexpr (std::is_same_v<TBench, TPixmanBench>) {
    if (SoftTimes().count(Name)) State.counters["SoftOverPixman"] = SoftTimes()[Name] / Ms;
  } else if (SoftTimes().count(Name)) {
    State.counters["SdlOverSoft"] = Ms / SoftTimes()[Name];
  }
}

template <class TBench>
void Run(benchmark::State& State, const std::vector<TQuad>& Quads, const std::string& Name) {
  TBench Bench;
  if constexpr (!std::is_same_v<TBench, TSoftBench>) {
    if (!Bench.Ready()) {
      State.SkipWithError("renderer could not be made");
      return;
    }
  }
  double Start = CpuMilliseconds();
  for (auto _ : State) Bench.Frame(Quads);
  ReportMilliseconds<TBench>(State, CpuMilliseconds() - Start, Name);
}

void BM_Soft_FullScreenWrapQuad(benchmark::State& State) {
  Run<TSoftBench>(State, FullScreenWorkload(), "FullScreenWrapQuad");
}
void BM_Soft_Sprites1000(benchmark::State& State) { Run<TSoftBench>(State, SpriteWorkload(), "Sprites1000"); }
void BM_Soft_GameFrame(benchmark::State& State) { Run<TSoftBench>(State, FrameWorkload(), "GameFrame"); }
void BM_Pixman_FullScreenWrapQuad(benchmark::State& State) {
  Run<TPixmanBench>(State, FullScreenWorkload(), "FullScreenWrapQuad");
}
void BM_Pixman_Sprites1000(benchmark::State& State) { Run<TPixmanBench>(State, SpriteWorkload(), "Sprites1000"); }
void BM_Pixman_GameFrame(benchmark::State& State) { Run<TPixmanBench>(State, FrameWorkload(), "GameFrame"); }
void BM_Sdl_FullScreenWrapQuad(benchmark::State& State) {
  Run<TSdlBench>(State, FullScreenWorkload(), "FullScreenWrapQuad");
}
void BM_Sdl_Sprites1000(benchmark::State& State) { Run<TSdlBench>(State, SpriteWorkload(), "Sprites1000"); }
void BM_Sdl_GameFrame(benchmark::State& State) { Run<TSdlBench>(State, FrameWorkload(), "GameFrame"); }

// The floor: one plain alpha blend of a colour over every pixel of the screen, four pixels at a time.
void BM_Floor_PlainBlend(benchmark::State& State) {
  typedef uint16_t U16x16 __attribute__((vector_size(32)));
  typedef uint8_t U8x16 __attribute__((vector_size(16)));
  std::vector<uint32_t> Target(ScreenW * ScreenH, 0xFF101010);
  const U16x16 Source = U16x16{} + 0x80, Alpha = U16x16{} + 128;
  for (auto _ : State) {
    for (size_t I = 0; I < Target.size(); I += 4) {
      U8x16 D8;
      std::memcpy(&D8, &Target[I], sizeof D8);
      U16x16 X = Source * Alpha + __builtin_convertvector(D8, U16x16) * (255 - Alpha) + 128;
      U8x16 Out = __builtin_convertvector((X + (X >> 8)) >> 8, U8x16);
      std::memcpy(&Target[I], &Out, sizeof Out);
    }
    benchmark::DoNotOptimize(Target.data());
  }
}

}  // namespace

BENCHMARK(BM_Floor_PlainBlend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Soft_FullScreenWrapQuad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Soft_Sprites1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Soft_GameFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_FullScreenWrapQuad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_Sprites1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_GameFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sdl_FullScreenWrapQuad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sdl_Sprites1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sdl_GameFrame)->Unit(benchmark::kMillisecond);
