// The Direct3D 9 device of the software renderer: device states, frame calls and the hand-over of finished
// frames to the window's presenter. Drawing goes through TRasterizer.
//
// Implemented: every call of IDirect3DDevice9 declared here does real work (the interface has no others):
//   frame     BeginScene, EndScene, Clear (target only; no depth buffer exists), Present (to the presenter)
//   drawing   DrawPrimitiveUP for triangle strips, lists and fans of the XYZRHW vertex layouts set by SetFVF
//   state     Set/Get RenderState, TextureStageState, SamplerState, Texture, Transform, Viewport, FVF
//             (transforms are stored only: the vertices the game sends are already transformed)
//   resources CreateTexture (the formats of SoftFormats), GetBackBuffer, GetDepthStencilSurface,
//             GetAvailableTextureMem
//   device    TestCooperativeLevel and Reset, with the lost-device sequence D3D9LoseDevice starts
// Answered with D3DERR_INVALIDCALL, as Direct3D does: null out-pointers, stages, states or swap chains out of
// range, a viewport outside the back buffer, drawing outside BeginScene/EndScene, point and line primitives,
// vertex layouts without XYZRHW, a texture of another device, and Reset while default-pool textures or back
// buffer references are still held. GetDepthStencilSurface answers D3DERR_NOTFOUND: the game asks for no depth.
#pragma once
#include <array>
#include <vector>
#include "RasterState.h"
#include "SoftDeviceControls.h"
#include "d3d9.h"

class TSoftDirect3D9;
class TSoftSurface;
class TSoftTexture;

class TSoftDevice final : public IDirect3DDevice9 {
 public:
  // Params must have been validated and completed by TSoftDirect3D9::CreateDevice.
  TSoftDevice(TSoftDirect3D9* D3D, D3DDEVTYPE DeviceType, DWORD Behavior, const D3DPRESENT_PARAMETERS& Params);

  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT TestCooperativeLevel() override;
  UINT GetAvailableTextureMem() override;
  HRESULT Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) override;
  HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                  const RGNDATA* pDirtyRegion) override;
  HRESULT GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                        IDirect3DSurface9** ppBackBuffer) override;
  HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                        IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle) override;
  HRESULT GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) override;
  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) override;
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) override;
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) override;
  HRESULT SetViewport(const D3DVIEWPORT9* pViewport) override;
  HRESULT GetViewport(D3DVIEWPORT9* pViewport) override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
  HRESULT GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override;
  HRESULT GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture) override;
  HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) override;
  HRESULT GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) override;
  HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) override;
  HRESULT GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue) override;
  HRESULT SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) override;
  HRESULT SetFVF(DWORD FVF) override;
  HRESULT GetFVF(DWORD* pFVF) override;
  HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount, const void* pVertexStreamZeroData,
                          UINT VertexStreamZeroStride) override;

  // Bookkeeping of the textures (see SoftTexture.cpp).
  void TextureCreated(uint64_t Bytes, D3DPOOL Pool);
  void TextureDestroyed(uint64_t Bytes, D3DPOOL Pool);

  TD3D9DeviceStats& Stats() { return stats_; }
  void Lose(uint32_t LostPolls);

  static constexpr DWORD kStages = 8;
  static constexpr DWORD kSamplers = 16;

 private:
  ~TSoftDevice() override;

  void CreateSurfaces();
  void ReleaseSurfaces();
  void SetDefaultStates();
  void ResolveRasterState();
  static int TransformSlot(D3DTRANSFORMSTATETYPE State);

  enum class TLoss { None, Lost, NotReset };

  TSoftDirect3D9* d3d_;
  D3DDEVTYPE deviceType_;
  DWORD behavior_;
  D3DPRESENT_PARAMETERS params_;
  ULONG refs_ = 1;
  std::vector<TSoftSurface*> backBuffers_;
  TSoftSurface* depthStencil_ = nullptr;

  std::array<DWORD, D3DRS_MAX_STATE> renderStates_{};
  std::array<std::array<DWORD, D3DTSS_MAX_STATE>, kStages> stageStates_{};
  std::array<std::array<DWORD, D3DSAMP_MAX_STATE>, kSamplers> samplerStates_{};
  std::array<TSoftTexture*, kSamplers> textures_{};
  std::vector<D3DMATRIX> transforms_;
  D3DVIEWPORT9 viewport_{};
  DWORD fvf_ = 0;
  bool inScene_ = false;

  TLoss loss_ = TLoss::None;
  uint32_t lostPolls_ = 0;
  uint64_t textureBytes_ = 0;
  uint32_t defaultPoolTextures_ = 0;
  TD3D9DeviceStats stats_;

  TRasterState raster_;
  bool rasterDirty_ = true;
};
