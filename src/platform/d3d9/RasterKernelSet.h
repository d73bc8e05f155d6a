// One set of span kernels, compiled for one instruction set: every kernel the rasteriser can select, indexed by
// split, sampler, blend and colouring. RasterKernels.cpp picks the set the processor runs.
#pragma once
#include "RasterState.h"

// The kernels of one sampler in a set, for whole triangles or split ones.
struct TSamplerKernels {
  TRasterKernel Fast[kRasterBlendFastCount][kRasterColouringCount];
  TRasterKernel Tested[kRasterColouringCount];
  TRasterKernel Generic;
  TRasterKernel Keyed;  // Fast[Alpha][Plain] for texels whose alpha is 0 or 255 (point samplers; others alike)
};

using TRasterKernelSet = const TSamplerKernels (*)[kRasterSamplerCount];  // [split][sampler]

// Each set lives in its own namespace, so that the two compilations of the kernels never meet at link time.
namespace RasterBase {
TRasterKernelSet KernelSet();  // the x86-64 baseline (or the target's own instruction set elsewhere)
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define MORVANTH_RASTER_AVX2 1
namespace RasterAvx2 {
TRasterKernelSet KernelSet();
}
#endif
