// The IDirect3D9 object of the software device: one adapter, its capabilities and format checks.
#pragma once
#include "d3d9.h"

class TSoftDirect3D9 final : public IDirect3D9 {
 public:
  ULONG AddRef() override;
  ULONG Release() override;
  UINT GetAdapterCount() override { return 1; }
  HRESULT GetAdapterIdentifier(UINT Adapter, DWORD Flags, D3DADAPTER_IDENTIFIER9* pIdentifier) override;
  HRESULT GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) override;
  HRESULT CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                            D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) override;
  HRESULT CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                 D3DFORMAT RenderTargetFormat, D3DFORMAT DepthStencilFormat) override;
  HRESULT GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) override;
  HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                       D3DPRESENT_PARAMETERS* pPresentationParameters,
                       IDirect3DDevice9** ppReturnedDeviceInterface) override;

  // The capabilities every device reports (those of the card standing in, if any).
  static D3DCAPS9 Caps(D3DDEVTYPE DeviceType);
  // Whether depth-stencil surfaces of this format can be made (only on a card standing in).
  static bool DepthFormatAccepted(D3DFORMAT Format);

  static constexpr DWORD kMaxTextureSize = 4096;
  static constexpr UINT kMaxBackBufferSize = 8192;
  static constexpr uint64_t kTextureMemory = 256ull << 20;
  static constexpr D3DFORMAT kDisplayFormat = D3DFMT_X8R8G8B8;

 private:
  ~TSoftDirect3D9() override = default;
  ULONG refs_ = 1;
};
