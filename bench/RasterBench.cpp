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
#include "RasterWorkloads.h"
#include "d3d9.h"

namespace {

using namespace rasterwork;

// Mean milliseconds per frame of each workload on the software device, for the SDL comparison.
std::map<std::string, double>& SoftTimes() {
  static std::map<std::string, double> times;
  return times;
}

using TSoftBench = TWorkloadDevice;

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

// pixman drawing the quads the way a program built on it would: each quad one pixman_image_composite32, OVER (ADD for
// additive quads) with a solid mask holding the mean of the corners' alphas, since pixman has no per-vertex colour:
// it does less work per pixel than the software device. Textures are premultiplied a8r8g8b8, so a colour-keyed
// texel (alpha 0) is fully transparent; a quad whose texture coordinates repeat or scale the texture gets
// PIXMAN_REPEAT_NORMAL and a scale transform. Images and masks are made once: a frame allocates nothing.
class TPixmanBench {
 public:
  TPixmanBench() : target_(kScreenW * kScreenH) {
    screen_ = pixman_image_create_bits(PIXMAN_x8r8g8b8, kScreenW, kScreenH, target_.data(), kScreenW * 4);
    for (TImage& image : images_) {
      for (uint32_t& p : image.Pixels) {
        uint32_t a = p >> 24, r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        auto pre = [a](uint32_t C) { return (C * a + 127) / 255; };
        p = a << 24 | pre(r) << 16 | pre(g) << 8 | pre(b);
      }
      textures_.push_back(
          pixman_image_create_bits(PIXMAN_a8r8g8b8, image.W, image.H, image.Pixels.data(), image.W * 4));
      // pixman's defaults are the identity, no repeat and the nearest texel; set them so the cache holds.
      sampling_.push_back({0, 0, false, false});
      Configure(int(textures_.size()) - 1, 1, 1, false, false);
    }
    for (int a = 0; a < 256; ++a) {
      pixman_color_t colour{0, 0, 0, uint16_t(a * 257)};
      masks_[a] = pixman_image_create_solid_fill(&colour);
    }
  }
  ~TPixmanBench() {
    for (pixman_image_t* m : masks_) pixman_image_unref(m);
    for (pixman_image_t* t : textures_) pixman_image_unref(t);
    pixman_image_unref(screen_);
  }

  bool Ready() const {
    return screen_ && std::all_of(textures_.begin(), textures_.end(), [](auto* T) { return T; }) &&
           std::all_of(std::begin(masks_), std::end(masks_), [](auto* M) { return M; });
  }

  void Frame(const std::vector<TQuad>& Quads) {
    pixman_fill(target_.data(), kScreenW, 32, 0, 0, kScreenW, kScreenH, 0x00101010);
    for (const TQuad& q : Quads) {
      const TImage& image = images_[q.Texture];
      // Texels per screen pixel; 1:1 quads keep the identity so pixman takes its unscaled paths.
      double sx = q.U1 * image.W / q.W, sy = q.V1 * image.H / q.H;
      Configure(q.Texture, sx, sy, q.Wrap, q.Smooth);
      uint32_t alpha =
          ((q.Colours[0] >> 24) + (q.Colours[1] >> 24) + (q.Colours[2] >> 24) + (q.Colours[3] >> 24) + 2) / 4;
      int x = int(std::lround(q.X)), y = int(std::lround(q.Y));
      pixman_image_composite32(q.Additive ? PIXMAN_OP_ADD : PIXMAN_OP_OVER, textures_[q.Texture], masks_[alpha],
                               screen_, 0, 0, 0, 0, x, y, int(q.W), int(q.H));
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
    TSampling wanted{Sx, Sy, Wrap, Smooth};
    pixman_image_t* source = textures_[Texture];
    if (!source || sampling_[Texture] == wanted) return;
    sampling_[Texture] = wanted;
    pixman_transform_t transform;
    if (Sx == 1 && Sy == 1) {
      pixman_transform_init_identity(&transform);
    } else {
      pixman_transform_init_scale(&transform, pixman_double_to_fixed(Sx), pixman_double_to_fixed(Sy));
    }
    pixman_image_set_transform(source, &transform);
    pixman_image_set_repeat(source, Wrap ? PIXMAN_REPEAT_NORMAL : PIXMAN_REPEAT_NONE);
    pixman_image_set_filter(source, Smooth ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
  }

  std::vector<uint32_t> target_;
  std::vector<TImage> images_ = MakeImages();
  pixman_image_t* screen_ = nullptr;
  std::vector<pixman_image_t*> textures_;
  std::vector<TSampling> sampling_;
  pixman_image_t* masks_[256] = {};
};

// Processor time of this thread: other programs on the machine delay both renderers without adding to it.
double CpuMilliseconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

template <class TBench>
void ReportMilliseconds(benchmark::State& State, double Spent, const std::string& Name) {
  double ms = Spent / double(State.iterations());
  State.counters["cpu_ms_per_frame"] = ms;
  if constexpr (std::is_same_v<TBench, TSoftBench>) {
    SoftTimes()[Name] = ms;
  } else if constexpr (std::is_same_v<TBench, TPixmanBench>) {
    if (SoftTimes().count(Name)) State.counters["SoftOverPixman"] = SoftTimes()[Name] / ms;
  } else if (SoftTimes().count(Name)) {
    State.counters["SdlOverSoft"] = ms / SoftTimes()[Name];
  }
}

template <class TBench>
void Run(benchmark::State& State, const std::vector<TQuad>& Quads, const std::string& Name) {
  TBench bench;
  if constexpr (!std::is_same_v<TBench, TSoftBench>) {
    if (!bench.Ready()) {
      State.SkipWithError("renderer could not be made");
      return;
    }
  }
  double start = CpuMilliseconds();
  for (auto _ : State) bench.Frame(Quads);
  ReportMilliseconds<TBench>(State, CpuMilliseconds() - start, Name);
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
BENCHMARK(BM_Pixman_FullScreenWrapQuad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_Sprites1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_GameFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sdl_FullScreenWrapQuad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sdl_Sprites1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sdl_GameFrame)->Unit(benchmark::kMillisecond);
