#include "SoftSurface.h"
#include <cstddef>
#include "RasterState.h"
#include "SoftDevice.h"

TSoftSurface::TSoftSurface(TSoftDevice* Device, const D3DSURFACE_DESC& Desc, bool Lockable)
    : device_(Device), desc_(Desc), lockable_(Lockable) {
  // Colour surfaces are render targets: the rasteriser may read a few pixels past the last one.
  if (Desc.Usage != D3DUSAGE_DEPTHSTENCIL)
    pixels_.assign(std::size_t(Desc.Width) * Desc.Height + kRasterTargetSlack, 0xFF000000u);
}

ULONG TSoftSurface::AddRef() {
  if (refs_++ == 0) device_->AddRef();
  return refs_;
}

ULONG TSoftSurface::Release() {
  if (refs_ == 0) return 0;
  ULONG left = --refs_;
  // The device owns the surface; the program's last reference only lets go of the device.
  if (left == 0) device_->Release();
  return left;
}

HRESULT TSoftSurface::GetDevice(IDirect3DDevice9** ppDevice) {
  if (!ppDevice) return D3DERR_INVALIDCALL;
  device_->AddRef();
  *ppDevice = device_;
  return D3D_OK;
}

HRESULT TSoftSurface::GetDesc(D3DSURFACE_DESC* pDesc) {
  if (!pDesc) return D3DERR_INVALIDCALL;
  *pDesc = desc_;
  return D3D_OK;
}

HRESULT TSoftSurface::LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD) {
  if (!pLockedRect || !lockable_ || locked_ || pixels_.empty()) return D3DERR_INVALIDCALL;
  RECT area = pRect ? *pRect : RECT{0, 0, LONG(desc_.Width), LONG(desc_.Height)};
  if (area.left < 0 || area.top < 0 || area.left >= area.right || area.top >= area.bottom ||
      area.right > LONG(desc_.Width) || area.bottom > LONG(desc_.Height))
    return D3DERR_INVALIDCALL;
  locked_ = true;
  pLockedRect->Pitch = INT(desc_.Width * 4);
  pLockedRect->pBits = pixels_.data() + std::size_t(area.top) * desc_.Width + area.left;
  return D3D_OK;
}

HRESULT TSoftSurface::UnlockRect() {
  if (!locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  return D3D_OK;
}
