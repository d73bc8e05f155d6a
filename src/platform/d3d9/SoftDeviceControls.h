// What the software Direct3D device offers beyond Direct3D (no Windows counterpart): counts of the calls the
// game makes on it, for the tests and benchmarks of the renderer, and a device loss on demand, for the headless
// runner's --lose-device.
#pragma once
#include <cstdint>

#include "d3d9.h"

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
