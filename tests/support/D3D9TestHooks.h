// Test controls of the software Direct3D device (no Windows counterpart): they let tests meet hardware the
// machine does not have (power-of-two or square-only textures, no hardware device, failing allocations, device
// loss) and count what the game asks of the device.
#pragma once
#include <cstdint>
#include <vector>
#include "d3d9.h"

// Process-wide settings read by IDirect3D9 and the devices at the moment of each call. Tests set them and call
// Reset() when done; the defaults describe the real software device.
struct TD3D9Hooks {
  bool ForcePow2 = false;          // report D3DPTEXTURECAPS_POW2 and refuse other sizes in CreateTexture
  bool ForceSquareOnly = false;    // report D3DPTEXTURECAPS_SQUAREONLY and refuse non-square CreateTexture
  bool ReportHardwareTnL = false;  // report D3DDEVCAPS_HWTRANSFORMANDLIGHT for the HAL device
  bool FailHalCaps = false;        // GetDeviceCaps for D3DDEVTYPE_HAL fails with D3DERR_NOTAVAILABLE
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

TD3D9Hooks& D3D9Hooks();

// Calls made on one device since its creation or the last reset of the counters.
struct TD3D9DeviceStats {
  uint32_t RenderStates = 0;        // SetRenderState calls
  uint32_t TextureStageStates = 0;  // SetTextureStageState calls
  uint32_t SamplerStates = 0;       // SetSamplerState calls
  uint32_t Textures = 0;            // SetTexture calls
  uint32_t Transforms = 0;          // SetTransform calls
  uint32_t Viewports = 0;           // SetViewport calls
  uint32_t FVFs = 0;                // SetFVF calls
  uint32_t DrawCalls = 0;           // DrawPrimitiveUP calls
  uint32_t Primitives = 0;          // triangles drawn by them
  uint32_t Clears = 0;
  uint32_t Scenes = 0;  // BeginScene calls
  uint32_t Presents = 0;

  // All Set* calls together.
  uint32_t StateChanges() const {
    return RenderStates + TextureStageStates + SamplerStates + Textures + Transforms + Viewports + FVFs;
  }
};

// The counters of a device made by this library's Direct3DCreate9.
TD3D9DeviceStats& D3D9DeviceStats(IDirect3DDevice9* Device);

// Loses the device: TestCooperativeLevel reports D3DERR_DEVICELOST for the next LostPolls calls, then
// D3DERR_DEVICENOTRESET until Reset succeeds. While lost, drawing calls succeed without drawing, Present returns
// D3DERR_DEVICELOST and Reset fails with D3DERR_DEVICELOST.
void D3D9LoseDevice(IDirect3DDevice9* Device, uint32_t LostPolls = 1);
