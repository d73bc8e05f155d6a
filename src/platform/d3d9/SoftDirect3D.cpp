#include "SoftDirect3D.h"
#include <algorithm>
#include <cstring>
#include "D3D9Machine.h"
#include "SoftDevice.h"
#include "SoftFormats.h"

namespace {
TD3D9Machine* Installed = nullptr;
}  // namespace

void SetD3D9Machine(TD3D9Machine* Machine) { Installed = Machine; }

TD3D9Machine* D3D9Machine() { return Installed; }

IDirect3D9* Direct3DCreate9(UINT SDKVersion) {
  if (SDKVersion != 31 && SDKVersion != 32) return nullptr;
  return new TSoftDirect3D9();
}

ULONG TSoftDirect3D9::AddRef() { return ++refs_; }

ULONG TSoftDirect3D9::Release() {
  ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT TSoftDirect3D9::GetAdapterIdentifier(UINT Adapter, DWORD, D3DADAPTER_IDENTIFIER9* pIdentifier) {
  if (Adapter != 0 || !pIdentifier) return D3DERR_INVALIDCALL;
  std::memset(pIdentifier, 0, sizeof *pIdentifier);
  std::strcpy(pIdentifier->Driver, "morvanth-soft");
  std::strcpy(pIdentifier->Description, "MORVANTH software rasteriser");
  std::strcpy(pIdentifier->DeviceName, "DISPLAY1");
  pIdentifier->DriverVersion.QuadPart = 1;
  return D3D_OK;
}

HRESULT TSoftDirect3D9::GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) {
  if (Adapter != 0 || !pMode) return D3DERR_INVALIDCALL;
  *pMode = D3DDISPLAYMODE{1920, 1080, 60, kDisplayFormat};
  return D3D_OK;
}

bool TSoftDirect3D9::DepthFormatAccepted(D3DFORMAT Format) {
  return Installed != nullptr && Installed->DepthStencilFormat(Format);
}

namespace {

bool KnownDeviceType(D3DDEVTYPE Type) { return Type == D3DDEVTYPE_HAL || Type == D3DDEVTYPE_REF; }

}  // namespace

HRESULT TSoftDirect3D9::CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                                          D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) {
  if (Adapter != 0 || !KnownDeviceType(DeviceType)) return D3DERR_INVALIDCALL;
  if (AdapterFormat != kDisplayFormat) return D3DERR_NOTAVAILABLE;
  if (Usage & D3DUSAGE_DEPTHSTENCIL)
    return RType == D3DRTYPE_SURFACE && DepthFormatAccepted(CheckFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
  // No render targets other than the back buffer, no generated mip maps, no displacement maps.
  if (Usage & ~(D3DUSAGE_DYNAMIC | D3DUSAGE_SOFTWAREPROCESSING)) return D3DERR_NOTAVAILABLE;
  if (RType != D3DRTYPE_TEXTURE && RType != D3DRTYPE_SURFACE) return D3DERR_NOTAVAILABLE;
  if (RType == D3DRTYPE_TEXTURE && Installed != nullptr && !Installed->TextureFormat(CheckFormat)) {
    return D3DERR_NOTAVAILABLE;
  }
  return SoftTextureFormatSupported(CheckFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT TSoftDirect3D9::CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                               D3DFORMAT RenderTargetFormat, D3DFORMAT DepthStencilFormat) {
  if (Adapter != 0 || !KnownDeviceType(DeviceType)) return D3DERR_INVALIDCALL;
  if (AdapterFormat != kDisplayFormat || RenderTargetFormat != kDisplayFormat) return D3DERR_NOTAVAILABLE;
  return DepthFormatAccepted(DepthStencilFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

D3DCAPS9 TSoftDirect3D9::Caps(D3DDEVTYPE DeviceType) {
  D3DCAPS9 c;
  std::memset(&c, 0, sizeof c);
  c.DeviceType = DeviceType;
  c.AdapterOrdinal = 0;
  c.Caps2 = D3DCAPS2_DYNAMICTEXTURES;
  c.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
  c.DevCaps = D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY | D3DDEVCAPS_TEXTURESYSTEMMEMORY |
              D3DDEVCAPS_DRAWPRIMTLVERTEX | D3DDEVCAPS_CANRENDERAFTERFLIP | D3DDEVCAPS_DRAWPRIMITIVES2 |
              D3DDEVCAPS_DRAWPRIMITIVES2EX;
  c.PrimitiveMiscCaps = D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW | D3DPMISCCAPS_CLIPTLVERTS |
                        D3DPMISCCAPS_BLENDOP;
  c.RasterCaps = 0;
  c.ZCmpCaps = 0;
  const DWORD blends = D3DPBLENDCAPS_ZERO | D3DPBLENDCAPS_ONE | D3DPBLENDCAPS_SRCCOLOR | D3DPBLENDCAPS_INVSRCCOLOR |
                       D3DPBLENDCAPS_SRCALPHA | D3DPBLENDCAPS_INVSRCALPHA | D3DPBLENDCAPS_DESTALPHA |
                       D3DPBLENDCAPS_INVDESTALPHA | D3DPBLENDCAPS_DESTCOLOR | D3DPBLENDCAPS_INVDESTCOLOR |
                       D3DPBLENDCAPS_SRCALPHASAT;
  c.SrcBlendCaps = blends;
  c.DestBlendCaps = blends & ~D3DPBLENDCAPS_SRCALPHASAT;
  c.AlphaCmpCaps = 0xFF;  // every comparison
  c.ShadeCaps = D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_SPECULARGOURAUDRGB | D3DPSHADECAPS_ALPHAGOURAUDBLEND;
  c.TextureCaps = D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
  // Point and bilinear filtering; mip levels can be made but are not filtered between.
  c.TextureFilterCaps =
      D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
  c.TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_INDEPENDENTUV;
  c.MaxTextureWidth = kMaxTextureSize;
  c.MaxTextureHeight = kMaxTextureSize;
  c.MaxTextureRepeat = 32768;
  c.MaxTextureAspectRatio = kMaxTextureSize;
  c.MaxAnisotropy = 1;
  c.MaxVertexW = 1e10f;
  c.GuardBandLeft = -524288.0f;
  c.GuardBandTop = -524288.0f;
  c.GuardBandRight = 524288.0f;
  c.GuardBandBottom = 524288.0f;
  c.FVFCaps = 1;  // one set of texture coordinates
  c.TextureOpCaps = D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 | D3DTEXOPCAPS_MODULATE |
                    D3DTEXOPCAPS_MODULATE2X | D3DTEXOPCAPS_MODULATE4X | D3DTEXOPCAPS_ADD;
  c.MaxTextureBlendStages = 1;
  c.MaxSimultaneousTextures = 1;
  c.MaxPrimitiveCount = 0xFFFFF;
  c.MaxVertexIndex = 0xFFFFF;
  c.MaxStreams = 1;
  c.MaxStreamStride = 255;
  c.MaxPointSize = 1.0f;
  c.NumberOfAdaptersInGroup = 1;
  c.NumSimultaneousRTs = 1;
  if (Installed != nullptr) Installed->AdjustCaps(DeviceType, c);
  return c;
}

HRESULT TSoftDirect3D9::GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) {
  if (Adapter != 0 || !pCaps || !KnownDeviceType(DeviceType)) return D3DERR_INVALIDCALL;
  if (Installed != nullptr) {
    if (const HRESULT hr = Installed->DeviceCaps(DeviceType); FAILED(hr)) return hr;
  }
  *pCaps = Caps(DeviceType);
  return D3D_OK;
}

HRESULT TSoftDirect3D9::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                                     D3DPRESENT_PARAMETERS* pPresentationParameters,
                                     IDirect3DDevice9** ppReturnedDeviceInterface) {
  if (!ppReturnedDeviceInterface) return D3DERR_INVALIDCALL;
  *ppReturnedDeviceInterface = nullptr;
  if (Adapter != 0 || !pPresentationParameters || !KnownDeviceType(DeviceType)) return D3DERR_INVALIDCALL;
  if (Installed != nullptr) {
    if (const HRESULT hr = Installed->DeviceCreation(DeviceType); FAILED(hr)) return hr;
  }
  const DWORD processing = BehaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                            D3DCREATE_MIXED_VERTEXPROCESSING);
  if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && processing != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
      processing != D3DCREATE_MIXED_VERTEXPROCESSING)
    return D3DERR_INVALIDCALL;
  if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && !(Caps(DeviceType).DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT))
    return D3DERR_INVALIDCALL;

  D3DPRESENT_PARAMETERS p = *pPresentationParameters;
  if (!p.hDeviceWindow) p.hDeviceWindow = hFocusWindow;
  if (!p.hDeviceWindow) return D3DERR_INVALIDCALL;
  if (!p.Windowed) return D3DERR_NOTAVAILABLE;  // the software device only renders into windows
  if (p.BackBufferWidth == 0) p.BackBufferWidth = UINT(std::max(1, p.hDeviceWindow->ClientWidth()));
  if (p.BackBufferHeight == 0) p.BackBufferHeight = UINT(std::max(1, p.hDeviceWindow->ClientHeight()));
  if (p.BackBufferWidth > kMaxBackBufferSize || p.BackBufferHeight > kMaxBackBufferSize) return D3DERR_INVALIDCALL;
  if (p.BackBufferFormat == D3DFMT_UNKNOWN) p.BackBufferFormat = kDisplayFormat;
  if (p.BackBufferFormat != kDisplayFormat) return D3DERR_NOTAVAILABLE;
  if (p.BackBufferCount == 0) p.BackBufferCount = 1;
  if (p.BackBufferCount > 3) return D3DERR_INVALIDCALL;
  if (p.MultiSampleType != D3DMULTISAMPLE_NONE) return D3DERR_NOTAVAILABLE;
  if (p.SwapEffect < D3DSWAPEFFECT_DISCARD || p.SwapEffect > D3DSWAPEFFECT_COPY) return D3DERR_INVALIDCALL;
  if (p.SwapEffect == D3DSWAPEFFECT_COPY && p.BackBufferCount != 1) return D3DERR_INVALIDCALL;
  if (p.EnableAutoDepthStencil && !DepthFormatAccepted(p.AutoDepthStencilFormat)) return D3DERR_INVALIDCALL;
  if (p.PresentationInterval != D3DPRESENT_INTERVAL_DEFAULT && p.PresentationInterval != D3DPRESENT_INTERVAL_ONE &&
      p.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE)
    return D3DERR_INVALIDCALL;

  *pPresentationParameters = p;
  *ppReturnedDeviceInterface = new TSoftDevice(this, DeviceType, BehaviorFlags, p);
  return D3D_OK;
}
