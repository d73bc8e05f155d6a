// Surfaces of the software device: the back buffer (ARGB8888 pixels) and the depth-stencil surface (a
// description only: depth is never tested).
#pragma once
#include <vector>
#include "d3d9.h"

class TSoftDevice;

class TSoftSurface final : public IDirect3DSurface9 {
 public:
  // A surface owned by Device; it holds a reference to the device while the program holds one to it.
  TSoftSurface(TSoftDevice* Device, const D3DSURFACE_DESC& Desc, bool Lockable);
  ~TSoftSurface() override = default;

  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetDevice(IDirect3DDevice9** ppDevice) override;
  D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
  HRESULT GetDesc(D3DSURFACE_DESC* pDesc) override;
  HRESULT LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
  HRESULT UnlockRect() override;

  // References the program holds.
  ULONG References() const { return refs_; }
  const D3DSURFACE_DESC& Desc() const { return desc_; }
  // Colour surfaces only: Width x Height pixels, rows packed.
  uint32_t* Pixels() { return pixels_.data(); }
  const uint32_t* Pixels() const { return pixels_.data(); }

 private:
  TSoftDevice* device_;
  D3DSURFACE_DESC desc_;
  bool lockable_;
  bool locked_ = false;
  ULONG refs_ = 0;
  std::vector<uint32_t> pixels_;
};
