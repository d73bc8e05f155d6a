// The Direct3D 9 subset the game uses, with the API's names, signatures and values, implemented on the CPU by the
// software device (SoftDevice.h). Interfaces are reference counted as in COM: AddRef returns the new count,
// Release the remaining count and frees the object when it reaches 0. A texture or surface keeps its device
// alive; the device keeps its IDirect3D9 object alive.
#pragma once
#include "WindowHost.h"
#include "d3d9caps.h"
#include "d3d9types.h"

// The SDK version the game was built with; Direct3DCreate9 accepts it and the later 32.
constexpr UINT D3D_SDK_VERSION = 31;

struct D3DPRESENT_PARAMETERS {
  UINT BackBufferWidth;
  UINT BackBufferHeight;
  D3DFORMAT BackBufferFormat;
  UINT BackBufferCount;
  D3DMULTISAMPLE_TYPE MultiSampleType;
  DWORD MultiSampleQuality;
  D3DSWAPEFFECT SwapEffect;
  HWND hDeviceWindow;
  BOOL Windowed;
  BOOL EnableAutoDepthStencil;
  D3DFORMAT AutoDepthStencilFormat;
  DWORD Flags;
  UINT FullScreen_RefreshRateInHz;
  UINT PresentationInterval;
};

class IDirect3DDevice9;

// Reference counting shared by every interface.
class IUnknown {
 public:
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

class IDirect3DResource9 : public IUnknown {
 public:
  virtual HRESULT GetDevice(IDirect3DDevice9** ppDevice) = 0;
  virtual D3DRESOURCETYPE GetType() = 0;
};

class IDirect3DSurface9 : public IDirect3DResource9 {
 public:
  virtual HRESULT GetDesc(D3DSURFACE_DESC* pDesc) = 0;
  // Direct access to the pixels; fails with D3DERR_INVALIDCALL for surfaces that are not lockable (the back buffer
  // without D3DPRESENTFLAG_LOCKABLE_BACKBUFFER, depth surfaces) and for a surface already locked.
  virtual HRESULT LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) = 0;
  virtual HRESULT UnlockRect() = 0;
};

class IDirect3DBaseTexture9 : public IDirect3DResource9 {
 public:
  virtual DWORD GetLevelCount() = 0;
};

class IDirect3DTexture9 : public IDirect3DBaseTexture9 {
 public:
  virtual HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) = 0;
  // Locks a rectangle of a level (the whole level for a null pRect); the pitch is the level's row size in bytes.
  // Level 0 is the picture that is sampled; unlocking it refreshes the sampling copy.
  virtual HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) = 0;
  virtual HRESULT UnlockRect(UINT Level) = 0;
};

class IDirect3DDevice9 : public IUnknown {
 public:
  // D3D_OK, or D3DERR_DEVICELOST while the device is lost, then D3DERR_DEVICENOTRESET until Reset succeeds.
  virtual HRESULT TestCooperativeLevel() = 0;
  virtual UINT GetAvailableTextureMem() = 0;
  // Recreates the back buffer (and depth surface) from the parameters; the caller must have released every
  // reference it holds to them. Textures of every pool survive.
  virtual HRESULT Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) = 0;
  // Hands the back buffer to the presenter of hDestWindowOverride, or of the device window, which paces the frame.
  // Source and destination rectangles and dirty regions are not supported: pass null.
  virtual HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                          const RGNDATA* pDirtyRegion) = 0;
  virtual HRESULT GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                                IDirect3DSurface9** ppBackBuffer) = 0;
  virtual HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle) = 0;
  // D3DERR_NOTFOUND when the device has no depth-stencil surface.
  virtual HRESULT GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) = 0;
  virtual HRESULT BeginScene() = 0;
  virtual HRESULT EndScene() = 0;
  virtual HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) = 0;
  virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) = 0;
  virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) = 0;
  virtual HRESULT SetViewport(const D3DVIEWPORT9* pViewport) = 0;
  virtual HRESULT GetViewport(D3DVIEWPORT9* pViewport) = 0;
  virtual HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) = 0;
  virtual HRESULT GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) = 0;
  virtual HRESULT GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture) = 0;
  virtual HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) = 0;
  virtual HRESULT GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) = 0;
  virtual HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) = 0;
  virtual HRESULT GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue) = 0;
  virtual HRESULT SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) = 0;
  virtual HRESULT SetFVF(DWORD FVF) = 0;
  virtual HRESULT GetFVF(DWORD* pFVF) = 0;
  // Draws from vertices in caller memory. The software device rasterises D3DPT_TRIANGLESTRIP and
  // D3DPT_TRIANGLELIST of pre-transformed vertices (D3DFVF_XYZRHW with optional DIFFUSE, SPECULAR and TEX1).
  virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                  const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) = 0;
};

class IDirect3D9 : public IUnknown {
 public:
  virtual UINT GetAdapterCount() = 0;
  virtual HRESULT GetAdapterIdentifier(UINT Adapter, DWORD Flags, D3DADAPTER_IDENTIFIER9* pIdentifier) = 0;
  virtual HRESULT GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) = 0;
  virtual HRESULT CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                                    D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) = 0;
  virtual HRESULT CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                         D3DFORMAT RenderTargetFormat, D3DFORMAT DepthStencilFormat) = 0;
  virtual HRESULT GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) = 0;
  // Windowed devices only. hFocusWindow stands in when the parameters name no device window; with neither the
  // call fails with D3DERR_INVALIDCALL. On success the parameters are completed as the API does (back-buffer count
  // at least 1, size from the window's client area when 0, format X8R8G8B8 for D3DFMT_UNKNOWN).
  virtual HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                               D3DPRESENT_PARAMETERS* pPresentationParameters,
                               IDirect3DDevice9** ppReturnedDeviceInterface) = 0;
};

// The 3D API object; null for an SDK version it does not know.
IDirect3D9* Direct3DCreate9(UINT SDKVersion);
