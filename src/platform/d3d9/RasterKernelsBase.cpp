// The span kernels for the baseline instruction set of the target.
#include <cstring>
#include <type_traits>
#include "RasterKernelSet.h"

// The kernels pass 64-byte vectors only between inlined helpers.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace RasterBase {
#include "RasterKernels.inc"

TRasterKernelSet KernelSet() { return KernelTable().Kernels; }
}  // namespace RasterBase
