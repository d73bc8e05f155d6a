#include "SoftTexture.h"
#include <algorithm>
#include "SoftDevice.h"
#include "SoftFormats.h"

UINT TSoftTexture::FullChain(UINT Width, UINT Height) {
  UINT Levels = 1;
  while (Width > 1 || Height > 1) {
    Width = std::max(1u, Width / 2);
    Height = std::max(1u, Height / 2);
    ++Levels;
  }
  return Levels;
}

uint64_t TSoftTexture::ByteSize(UINT Width, UINT Height, UINT Levels, D3DFORMAT Format) {
  uint64_t Total = 0;
  for (UINT I = 0; I < Levels; ++I) {
    Total += uint64_t(SoftFormatPitch(Format, Width)) * Height;
    Width = std::max(1u, Width / 2);
    Height = std::max(1u, Height / 2);
  }
  return Total;
}

TSoftTexture::TSoftTexture(TSoftDevice* Device, UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                           D3DPOOL Pool)
    : device_(Device), usage_(Usage), format_(Format), pool_(Pool), bytes_(ByteSize(Width, Height, Levels, Format)) {
  levels_.resize(Levels);
  for (TLevel& Level : levels_) {
    Level.Width = Width;
    Level.Height = Height;
    Level.Pitch = SoftFormatPitch(Format, Width);
    Level.Bytes.assign(size_t(Level.Pitch) * Height, 0);
    Width = std::max(1u, Width / 2);
    Height = std::max(1u, Height / 2);
  }
  decoded_.resize(size_t(levels_[0].Width) * levels_[0].Height);
  for (UINT Y = 0; Y < levels_[0].Height; ++Y)
    SoftDecodeRow(Format, levels_[0].Bytes.data() + size_t(Y) * levels_[0].Pitch,
                  decoded_.data() + size_t(Y) * levels_[0].Width, levels_[0].Width);
  device_->AddRef();
  device_->TextureCreated(bytes_, pool_);
}

TSoftTexture::~TSoftTexture() { device_->TextureDestroyed(bytes_, pool_); }

ULONG TSoftTexture::AddRef() {
  ++refs_;
  if (!holdsDevice_ && refs_ > bindRefs_) {
    holdsDevice_ = true;
    device_->AddRef();
  }
  return refs_;
}

ULONG TSoftTexture::Release() {
  if (refs_ == 0) return 0;
  ULONG Left = --refs_;
  TSoftDevice* Device = device_;
  bool DropDevice = holdsDevice_ && refs_ <= bindRefs_;
  if (DropDevice) holdsDevice_ = false;
  if (Left == 0) delete this;
  // Last: letting go of the device may end it, and with it the bindings that were this texture's last references.
  if (DropDevice) Device->Release();
  return Left;
}

void TSoftTexture::Bind() {
  ++refs_;
  ++bindRefs_;
}

void TSoftTexture::Unbind() {
  --bindRefs_;
  if (--refs_ == 0) delete this;
}

HRESULT TSoftTexture::GetDevice(IDirect3DDevice9** ppDevice) {
  if (!ppDevice) return D3DERR_INVALIDCALL;
  device_->AddRef();
  *ppDevice = device_;
  return D3D_OK;
}

HRESULT TSoftTexture::GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) {
  if (!pDesc || Level >= levels_.size()) return D3DERR_INVALIDCALL;
  *pDesc = D3DSURFACE_DESC{
      format_, D3DRTYPE_SURFACE, usage_, pool_, D3DMULTISAMPLE_NONE, 0, levels_[Level].Width, levels_[Level].Height};
  return D3D_OK;
}

HRESULT TSoftTexture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) {
  if (!pLockedRect || Level >= levels_.size()) return D3DERR_INVALIDCALL;
  // As in Direct3D, default-pool textures are only lockable when dynamic.
  if (pool_ == D3DPOOL_DEFAULT && !(usage_ & D3DUSAGE_DYNAMIC)) return D3DERR_INVALIDCALL;
  TLevel& L = levels_[Level];
  if (L.Locked) return D3DERR_INVALIDCALL;
  RECT Area = pRect ? *pRect : RECT{0, 0, LONG(L.Width), LONG(L.Height)};
  if (Area.left < 0 || Area.top < 0 || Area.left >= Area.right || Area.top >= Area.bottom ||
      Area.right > LONG(L.Width) || Area.bottom > LONG(L.Height))
    return D3DERR_INVALIDCALL;
  L.Locked = true;
  L.ReadOnly = (Flags & D3DLOCK_READONLY) != 0;
  L.Area = Area;
  pLockedRect->Pitch = INT(L.Pitch);
  pLockedRect->pBits = L.Bytes.data() + size_t(Area.top) * L.Pitch + size_t(Area.left) * (SoftFormatBits(format_) / 8);
  return D3D_OK;
}

HRESULT TSoftTexture::UnlockRect(UINT Level) {
  if (Level >= levels_.size() || !levels_[Level].Locked) return D3DERR_INVALIDCALL;
  TLevel& L = levels_[Level];
  L.Locked = false;
  if (Level == 0 && !L.ReadOnly) {
    const UINT Bytes = SoftFormatBits(format_) / 8;
    const UINT Count = UINT(L.Area.right - L.Area.left);
    for (LONG Y = L.Area.top; Y < L.Area.bottom; ++Y)
      SoftDecodeRow(format_, L.Bytes.data() + size_t(Y) * L.Pitch + size_t(L.Area.left) * Bytes,
                    decoded_.data() + size_t(Y) * L.Width + L.Area.left, Count);
  }
  return D3D_OK;
}
