// The span kernels for AVX2, compiled through GCC's target pragma so that the rest of the program keeps the
// baseline instruction set; RasterKernels.cpp runs them only where the processor has AVX2. Clang (used for the
// fuzzing builds) does not honour that pragma for inlined intrinsics, so it builds the baseline set alone.
#include "RasterKernelSet.h"
#ifdef MORVANTH_RASTER_AVX2
#include <cstring>
#include <type_traits>

#pragma GCC diagnostic ignored "-Wpsabi"
#pragma GCC target("avx2")
#include <immintrin.h>
#define MORVANTH_RASTER_MASKED_STORE 1
#define MORVANTH_RASTER_AVX2_OPS 1

namespace RasterAvx2 {
#include "RasterKernels.inc"

TRasterKernelSet KernelSet() { return KernelTable().Kernels; }
}  // namespace RasterAvx2
#endif
