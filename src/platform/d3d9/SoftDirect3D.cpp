#include "SoftDirect3D.h"
#include <algorithm>
#include <cstring>
#include "D3D9Machine.h"
#include "SoftDevice.h"
#include "SoftFormats.h"

namespace {
TD3D9Machine* machine = nullptr;
}  // namespace

void SetD3D9Machine(TD3D9Machine* Machine) { machine = Machine; }

TD3D9Machine* D3D9Machine() { return machine; }

IDirect3D9* Direct3DCreate9(UINT SDKVersion) {
  if (SDKVersion != 31 && SDKVersion != 32) return nullptr;
  return new TSoftDirect3D9();
}

ULONG TSoftDirect3D9::AddRef() { return ++refs_; }

ULONG TSoftDirect3D9::Release() {
  ULONG Left = --refs_;
  if (Left == 0) delete this;
  return Left;
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
  *pMode = D3DDISPLAYMODE{1920, 1080, 60, DisplayFormat};
  return D3D_OK;
}

bool TSoftDirect3D9::DepthFormatAccepted(D3DFORMAT Format) {
  return machine != nullptr && machine->DepthStencilFormat(Format);
}

namespace {

bool KnownDeviceType(D3DDEVTYPE Type) { return Type == D3DDEVTYPE_HAL || Type == D3DDEVTYPE_REF; }

}  // namespace

HRESULT TSoftDirect3D9::CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                                          D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) {
  if (Adapter != 0 || !KnownDeviceType(DeviceType)) return D3DERR_INVALIDCALL;
  if (AdapterFormat != DisplayFormat) return D3DERR_NOTAVAILABLE;
  if (Usage & D3DUSAGE_DEPTHSTENCIL)
    return RType == D3DRTYPE_SURFACE && DepthFormatAccepted(CheckFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
  // No render targets other than the back buffer, no generated mip maps, no displacement maps.
  if (Usage & ~(D3DUSAGE_DYNAMIC | D3DUSAGE_SOFTWAREPROCESSING)) return D3DERR_NOTAVAILABLE;
  if (RType != D3DRTYPE_TEXTURE && RType != D3DRTYPE_SURFACE) return D3DERR_NOTAVAILABLE;
  if (RType == D3DRTYPE_TEXTURE && machine != nullptr && !machine->TextureFormat(CheckFormat)) {
    return D3DERR_NOTAVAILABLE;
  }
  return SoftTextureFormatSupported(CheckFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT TSoftDirect3D9::CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                               D3DFORMAT RenderTargetFormat, D3DFORMAT DepthStencilFormat) {
  if (Adapter != 0 || !KnownDeviceType(DeviceType)) return D3DERR_INVALIDCALL;
  if (AdapterFormat != DisplayFormat || RenderTargetFormat != DisplayFormat) return D3DERR_NOTAVAILABLE;
  return DepthFormatAccepted(DepthStencilFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

D3DCAPS9 TSoftDirect3D9::Caps(D3DDEVTYPE DeviceType) {
  D3DCAPS9 C;
  std::memset(&C, 0, sizeof C);
  C.DeviceType = DeviceType;
  C.AdapterOrdinal = 0;
  C.Caps2 = D3DCAPS2_DYNAMICTEXTURES;
  C.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
  C.DevCaps = D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY | D3DDEVCAPS_TEXTURESYSTEMMEMORY |
              D3DDEVCAPS_DRAWPRIMTLVERTEX | D3DDEVCAPS_CANRENDERAFTERFLIP | D3DDEVCAPS_DRAWPRIMITIVES2 |
              D3DDEVCAPS_DRAWPRIMITIVES2EX;
  C.PrimitiveMiscCaps = D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW | D3DPMISCCAPS_CLIPTLVERTS |
                        D3DPMISCCAPS_BLENDOP;
  C.RasterCaps = 0;
  C.ZCmpCaps = 0;
  const DWORD Blends = D3DPBLENDCAPS_ZERO | D3DPBLENDCAPS_ONE | D3DPBLENDCAPS_SRCCOLOR | D3DPBLENDCAPS_INVSRCCOLOR |
                       D3DPBLENDCAPS_SRCALPHA | D3DPBLENDCAPS_INVSRCALPHA | D3DPBLENDCAPS_DESTALPHA |
                       D3DPBLENDCAPS_INVDESTALPHA | D3DPBLENDCAPS_DESTCOLOR | D3DPBLENDCAPS_INVDESTCOLOR |
                       D3DPBLENDCAPS_SRCALPHASAT;
  C.SrcBlendCaps = Blends;
  C.DestBlendCaps = Blends & ~D3DPBLENDCAPS_SRCALPHASAT;
  C.AlphaCmpCaps = 0xFF;  // every comparison
  C.ShadeCaps = D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_SPECULARGOURAUDRGB | D3DPSHADECAPS_ALPHAGOURAUDBLEND;
  C.TextureCaps = D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
  // Point and bilinear filtering; mip levels can be made but are not filtered between.
  C.TextureFilterCaps =
      D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
  C.TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_INDEPENDENTUV;
  C.MaxTextureWidth = MaxTextureSize;
  C.MaxTextureHeight = MaxTextureSize;
  C.MaxTextureRepeat = 32768;
  C.MaxTextureAspectRatio = MaxTextureSize;
  C.MaxAnisotropy = 1;
  C.MaxVertexW = 1e10f;
  C.GuardBandLeft = -524288.0f;
  C.GuardBandTop = -524288.0f;
  C.GuardBandRight = 524288.0f;
  C.GuardBandBottom = 524288.0f;
  C.FVFCaps = 1;  // one set of texture coordinates
  C.TextureOpCaps = D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 | D3DTEXOPCAPS_MODULATE |
                    D3DTEXOPCAPS_MODULATE2X | D3DTEXOPCAPS_MODULATE4X | D3DTEXOPCAPS_ADD;
  C.MaxTextureBlendStages = 1;
  C.MaxSimultaneousTextures = 1;
  C.MaxPrimitiveCount = 0xFFFFF;
  C.MaxVertexIndex = 0xFFFFF;
  C.MaxStreams = 1;
  C.MaxStreamStride = 255;
  C.MaxPointSize = 1.0f;
  C.NumberOfAdaptersInGroup = 1;
  C.NumSimultaneousRTs = 1;
  if (machine != nullptr) machine->AdjustCaps(DeviceType, C);
  return C;
}

HRESULT TSoftDirect3D9::GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) {
  if (Adapter != 0 || !pCaps || !KnownDeviceType(DeviceType)) return D3DERR_INVALIDCALL;
  if (machine != nullptr) {
    if (const HRESULT hr = machine->DeviceCaps(DeviceType); FAILED(hr)) return hr;
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
  if (machine != nullptr) {
    if (const HRESULT hr = machine->DeviceCreation(DeviceType); FAILED(hr)) return hr;
  }
  const DWORD Processing = BehaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                            D3DCREATE_MIXED_VERTEXPROCESSING);
  if (Processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && Processing != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
      Processing != D3DCREATE_MIXED_VERTEXPROCESSING)
    return D3DERR_INVALIDCALL;
  if (Processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && !(Caps(DeviceType).DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT))
    return D3DERR_INVALIDCALL;

  D3DPRESENT_PARAMETERS P = *pPresentationParameters;
  if (!P.hDeviceWindow) P.hDeviceWindow = hFocusWindow;
  if (!P.hDeviceWindow) return D3DERR_INVALIDCALL;
  if (!P.Windowed) return D3DERR_NOTAVAILABLE;  // the software device only renders into windows
  if (P.BackBufferWidth == 0) P.BackBufferWidth = UINT(std::max(1, P.hDeviceWindow->ClientWidth()));
  if (P.BackBufferHeight == 0) P.BackBufferHeight = UINT(std::max(1, P.hDeviceWindow->ClientHeight()));
  if (P.BackBufferWidth > MaxBackBufferSize || P.BackBufferHeight > MaxBackBufferSize) return D3DERR_INVALIDCALL;
  if (P.BackBufferFormat == D3DFMT_UNKNOWN) P.BackBufferFormat = DisplayFormat;
  if (P.BackBufferFormat != DisplayFormat) return D3DERR_NOTAVAILABLE;
  if (P.BackBufferCount == 0) P.BackBufferCount = 1;
  if (P.BackBufferCount > 3) return D3DERR_INVALIDCALL;
  if (P.MultiSampleType != D3DMULTISAMPLE_NONE) return D3DERR_NOTAVAILABLE;
  if (P.SwapEffect < D3DSWAPEFFECT_DISCARD || P.SwapEffect > D3DSWAPEFFECT_COPY) return D3DERR_INVALIDCALL;
  if (P.SwapEffect == D3DSWAPEFFECT_COPY && P.BackBufferCount != 1) return D3DERR_INVALIDCALL;
  if (P.EnableAutoDepthStencil && !DepthFormatAccepted(P.AutoDepthStencilFormat)) return D3DERR_INVALIDCALL;
  if (P.PresentationInterval != D3DPRESENT_INTERVAL_DEFAULT && P.PresentationInterval != D3DPRESENT_INTERVAL_ONE &&
      P.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE)
    return D3DERR_INVALIDCALL;

  *pPresentationParameters = P;
  *ppReturnedDeviceInterface = new TSoftDevice(this, DeviceType, BehaviorFlags, P);
  return D3D_OK;
}
