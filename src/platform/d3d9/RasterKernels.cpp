// Picks the span kernels at start-up: the AVX2 set where the processor runs it, else the baseline set.
//
// The two sets are one source (RasterKernels.inc) compiled twice: RasterKernelsBase.cpp with the baseline
// instruction set, RasterKernelsAvx2.cpp under GCC's avx2 target with MORVANTH_RASTER_MASKED_STORE and
// MORVANTH_RASTER_AVX2_OPS defined. Anything written under those macros must give the same bytes as the portable
// path beside it: the sets must be pixel-identical, because a recording or a screenshot test may run on either.
// SoftRasterTest draws every case with both sets (its "kBaseline" and "kBest" instances), and compares the two
// sets' pictures of a workload that mixes every preset, sampler, addressing mode and colouring.
#include "RasterKernelSet.h"

namespace {

bool UseBaseline = false;

TRasterKernelSet ChooseKernels() {
#ifdef MORVANTH_RASTER_AVX2
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return RasterAvx2::KernelSet();
#endif
  return RasterBase::KernelSet();
}

}  // namespace

TRasterKernel SelectRasterKernel(const TRasterState& State, TRasterSampler Sampler, TRasterColouring Colouring,
                                 bool Split) {
  static const TRasterKernelSet kBest = ChooseKernels();
  static const TRasterKernelSet kBaseline = RasterBase::KernelSet();
  const TSamplerKernels& kernels = (UseBaseline ? kBaseline : kBest)[Split][static_cast<int>(Sampler)];
  if (!State.FastStage || State.Blend == TRasterBlend::Generic) return kernels.Generic;
  if (State.AlphaTest)
    return State.Blend == TRasterBlend::Opaque ? kernels.Tested[static_cast<int>(Colouring)] : kernels.Generic;
  if (State.KeyedTexels && State.Blend == TRasterBlend::Alpha && Colouring == TRasterColouring::Plain && !Split)
    return kernels.Keyed;
  return kernels.Fast[static_cast<int>(State.Blend)][static_cast<int>(Colouring)];
}

void RasterUseBaselineKernels(bool Baseline) { UseBaseline = Baseline; }
