// Instantiates the span kernels twice, for the x86-64 baseline and for AVX2, and picks the set the processor
// runs at start-up. Each set lives in its own namespace so the two compilations never meet at link time.
#include <cstring>
#include "RasterState.h"

// The kernels pass 64-byte vectors only between inlined helpers.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace RasterBase {
#include "RasterKernels.inc"
}

#if defined(__x86_64__) && defined(__GNUC__)
#define MORVANTH_RASTER_AVX2 1
#pragma GCC push_options
#pragma GCC target("avx2")
namespace RasterAvx2 {
#include "RasterKernels.inc"
}
#pragma GCC pop_options
#endif

namespace {

struct TKernelChoice {
  TRasterKernel (*Fast)[RasterBlendFastCount][2][2];
  const TRasterKernel* Generic;
};

TKernelChoice ChooseKernels() {
#ifdef MORVANTH_RASTER_AVX2
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) {
    auto& Table = const_cast<RasterAvx2::TKernelTable&>(RasterAvx2::KernelTable());
    return {Table.Fast, Table.Generic};
  }
#endif
  auto& Table = const_cast<RasterBase::TKernelTable&>(RasterBase::KernelTable());
  return {Table.Fast, Table.Generic};
}

}  // namespace

TRasterKernel SelectRasterKernel(const TRasterState& State, TRasterSampler Sampler) {
  static const TKernelChoice Kernels = ChooseKernels();
  int S = static_cast<int>(Sampler);
  if (!State.FastStage || State.Blend == TRasterBlend::Generic) return Kernels.Generic[S];
  return Kernels.Fast[S][static_cast<int>(State.Blend)][State.Specular ? 1 : 0][State.AlphaTest ? 1 : 0];
}
