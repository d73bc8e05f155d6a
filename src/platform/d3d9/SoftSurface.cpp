#include "SoftSurface.h"
#include <cstddef>
#include "RasterState.h"
#include "SoftDevice.h"

TSoftSurface::TSoftSurface(TSoftDevice* Device, const D3DSURFACE_DESC& Desc, bool Lockable)
    : Device_(Device), Desc_(Desc), Lockable_(Lockable) {
  // Colour surfaces are render targets: the rasteriser may read a few pixels past the last one.
  if (Desc.Usage != D3DUSAGE_DEPTHSTENCIL)
    Pixels_.assign(std::size_t(Desc.Width) * Desc.Height + RasterTargetSlack, 0xFF000000u);
}

ULONG TSoftSurface::AddRef() {
  if (Refs_++ == 0) Device_->AddRef();
  return Refs_;
}

ULONG TSoftSurface::Release() {
  if (Refs_ == 0) return 0;
  ULONG Left = --Refs_;
  // The device owns the surface; the program's last reference only lets go of the device.
  if (Left == 0) Device_->Release();
  return Left;
}

HRESULT TSoftSurface::GetDevice(IDirect3DDevice9** ppDevice) {
  if (!ppDevice) return D3DERR_INVALIDCALL;
  Device_->AddRef();
  *ppDevice = Device_;
  return D3D_OK;
}

HRESULT TSoftSurface::GetDesc(D3DSURFACE_DESC* pDesc) {
  if (!pDesc) return D3DERR_INVALIDCALL;
  *pDesc = Desc_;
  return D3D_OK;
}

HRESULT TSoftSurface::LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD) {
  if (!pLockedRect || !Lockable_ || Locked_ || Pixels_.empty()) return D3DERR_INVALIDCALL;
  RECT Area = pRect ? *pRect : RECT{0, 0, LONG(Desc_.Width), LONG(Desc_.Height)};
  if (Area.left < 0 || Area.top < 0 || Area.left >= Area.right || Area.top >= Area.bottom ||
      Area.right > LONG(Desc_.Width) || Area.bottom > LONG(Desc_.Height))
    return D3DERR_INVALIDCALL;
  Locked_ = true;
  pLockedRect->Pitch = INT(Desc_.Width * 4);
  pLockedRect->pBits = Pixels_.data() + std::size_t(Area.top) * Desc_.Width + Area.left;
  return D3D_OK;
}

HRESULT TSoftSurface::UnlockRect() {
  if (!Locked_) return D3DERR_INVALIDCALL;
  Locked_ = false;
  return D3D_OK;
}
