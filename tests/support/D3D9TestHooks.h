// The card the tests stand in for the software device's own (D3D9Machine.h): settings that let a test meet
// hardware this machine does not have (power-of-two or square-only textures, no hardware device, failing
// allocations, depth buffers), with the device's own controls (call counters, device loss) beside them.
#pragma once
#include <cstdint>
#include <vector>

#include "SoftDeviceControls.h"
#include "d3d9.h"

// Read by IDirect3D9 and the devices at the moment of each call. Tests set them and call Reset() when done;
// the defaults describe the software device's own card.
struct TD3D9Hooks {
  bool ForcePow2 = false;          // report D3DPTEXTURECAPS_POW2 and refuse other sizes in CreateTexture
  bool ForceSquareOnly = false;    // report D3DPTEXTURECAPS_SQUAREONLY and refuse non-square CreateTexture
  bool ReportHardwareTnL = false;  // report D3DDEVCAPS_HWTRANSFORMANDLIGHT
  bool FailHalCaps = false;        // GetDeviceCaps and CreateDevice for D3DDEVTYPE_HAL fail with D3DERR_NOTAVAILABLE
  bool FailCreateDevice = false;   // CreateDevice fails with D3DERR_NOTAVAILABLE
  // Number of coming CreateTexture calls that fail with D3DERR_OUTOFVIDEOMEMORY; negative: all of them.
  int32_t FailCreateTexture = 0;
  // Depth-stencil formats CheckDepthStencilMatch and CheckDeviceFormat accept (none by default: the software
  // device has no depth buffer; a surface of an accepted format is created but never tested against).
  std::vector<D3DFORMAT> DepthStencilFormats;
  // Formats CheckDeviceFormat refuses for textures, as a device without them would.
  std::vector<D3DFORMAT> RefusedTextureFormats;

  void Reset() { *this = TD3D9Hooks(); }
};

// The settings; the first call stands the card they describe in for the software device's own.
TD3D9Hooks& D3D9Hooks();
