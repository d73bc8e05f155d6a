// Instantiates the span kernels twice, for the x86-64 baseline and for AVX2, and picks the set the processor
// runs at start-up. Each set lives in its own namespace so the two compilations never meet at link time.
//
// The two sets are one source (RasterKernels.inc) compiled twice: RasterBase with the baseline instruction set,
// RasterAvx2 under GCC's avx2 target with MORVANTH_RASTER_MASKED_STORE and MORVANTH_RASTER_AVX2_OPS defined.
// Anything written under those macros must give the same bytes as the portable path beside it: the sets must be
// pixel-identical, because a recording or a screenshot test may run on either. SoftRasterTest draws every case
// with both sets (its "kBaseline" and "kBest" instances), and compares the two sets' pictures of a workload that
// mixes every preset, sampler, addressing mode and colouring.
#include <cstring>
#include <type_traits>
#include "RasterState.h"

// The kernels pass 64-byte vectors only between inlined helpers.
#pragma GCC diagnostic ignored "-Wpsabi"

// The kernels of one sampler in a set, for whole triangles or split ones; both sets fill it (KernelTable).
struct TSamplerKernels {
  TRasterKernel Fast[kRasterBlendFastCount][kRasterColouringCount];
  TRasterKernel Tested[kRasterColouringCount];
  TRasterKernel Generic;
};

namespace RasterBase {
#include "RasterKernels.inc"
}

// GCC compiles the AVX2 set through its target pragma; clang (used for the fuzzing builds) does not honour that
// pragma for inlined intrinsics, so it builds the baseline set alone.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define MORVANTH_RASTER_AVX2 1
#pragma GCC push_options
#pragma GCC target("avx2")
#include <immintrin.h>
#define MORVANTH_RASTER_MASKED_STORE 1
#define MORVANTH_RASTER_AVX2_OPS 1
namespace RasterAvx2 {
#include "RasterKernels.inc"
}
#undef MORVANTH_RASTER_MASKED_STORE
#undef MORVANTH_RASTER_AVX2_OPS
#pragma GCC pop_options
#endif

namespace {

bool UseBaseline = false;

using TKernels = const TSamplerKernels (*)[kRasterSamplerCount];  // [split][sampler]

TKernels BaselineKernels() { return RasterBase::KernelTable().Kernels; }

TKernels ChooseKernels() {
#ifdef MORVANTH_RASTER_AVX2
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return RasterAvx2::KernelTable().Kernels;
#endif
  return BaselineKernels();
}

}  // namespace

TRasterKernel SelectRasterKernel(const TRasterState& State, TRasterSampler Sampler, TRasterColouring Colouring,
                                 bool Split) {
  static const TKernels kBest = ChooseKernels();
  static const TKernels kBaseline = BaselineKernels();
  const TSamplerKernels& kernels = (UseBaseline ? kBaseline : kBest)[Split][static_cast<int>(Sampler)];
  if (!State.FastStage || State.Blend == TRasterBlend::Generic) return kernels.Generic;
  if (State.AlphaTest)
    return State.Blend == TRasterBlend::Opaque ? kernels.Tested[static_cast<int>(Colouring)] : kernels.Generic;
  return kernels.Fast[static_cast<int>(State.Blend)][static_cast<int>(Colouring)];
}

void RasterUseBaselineKernels(bool Baseline) { UseBaseline = Baseline; }
