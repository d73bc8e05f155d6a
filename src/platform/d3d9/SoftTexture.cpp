#include "SoftTexture.h"
#include <algorithm>
#include "SoftDevice.h"
#include "SoftFormats.h"

UINT TSoftTexture::FullChain(UINT Width, UINT Height) {
  UINT levels = 1;
  while (Width > 1 || Height > 1) {
    Width = std::max(1u, Width / 2);
    Height = std::max(1u, Height / 2);
    ++levels;
  }
  return levels;
}

uint64_t TSoftTexture::ByteSize(UINT Width, UINT Height, UINT Levels, D3DFORMAT Format) {
  uint64_t total = 0;
  for (UINT i = 0; i < Levels; ++i) {
    total += uint64_t(SoftFormatPitch(Format, Width)) * Height;
    Width = std::max(1u, Width / 2);
    Height = std::max(1u, Height / 2);
  }
  return total;
}

TSoftTexture::TSoftTexture(TSoftDevice* Device, UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                           D3DPOOL Pool)
    : device_(Device), usage_(Usage), format_(Format), pool_(Pool), bytes_(ByteSize(Width, Height, Levels, Format)) {
  levels_.resize(Levels);
  for (TLevel& level : levels_) {
    level.Width = Width;
    level.Height = Height;
    level.Pitch = SoftFormatPitch(Format, Width);
    level.Bytes.assign(size_t(level.Pitch) * Height, 0);
    Width = std::max(1u, Width / 2);
    Height = std::max(1u, Height / 2);
  }
  decoded_.resize(size_t(levels_[0].Width) * levels_[0].Height + kRasterTexelSlack);
  visible_.resize(levels_[0].Height);
  for (UINT y = 0; y < levels_[0].Height; ++y) DecodeLevel0(0, y, levels_[0].Width);
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
  ULONG left = --refs_;
  TSoftDevice* device = device_;
  bool dropDevice = holdsDevice_ && refs_ <= bindRefs_;
  if (dropDevice) holdsDevice_ = false;
  if (left == 0) delete this;
  // Last: letting go of the device may end it, and with it the bindings that were this texture's last references.
  if (dropDevice) device->Release();
  return left;
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
  TLevel& l = levels_[Level];
  if (l.Locked) return D3DERR_INVALIDCALL;
  RECT area = pRect ? *pRect : RECT{0, 0, LONG(l.Width), LONG(l.Height)};
  if (area.left < 0 || area.top < 0 || area.left >= area.right || area.top >= area.bottom ||
      area.right > LONG(l.Width) || area.bottom > LONG(l.Height))
    return D3DERR_INVALIDCALL;
  l.Locked = true;
  l.ReadOnly = (Flags & D3DLOCK_READONLY) != 0;
  l.Area = area;
  pLockedRect->Pitch = INT(l.Pitch);
  pLockedRect->pBits = l.Bytes.data() + size_t(area.top) * l.Pitch + size_t(area.left) * (SoftFormatBits(format_) / 8);
  return D3D_OK;
}

HRESULT TSoftTexture::UnlockRect(UINT Level) {
  if (Level >= levels_.size() || !levels_[Level].Locked) return D3DERR_INVALIDCALL;
  TLevel& l = levels_[Level];
  l.Locked = false;
  if (Level == 0 && !l.ReadOnly) {
    for (LONG y = l.Area.top; y < l.Area.bottom; ++y)
      DecodeLevel0(UINT(l.Area.left), UINT(y), UINT(l.Area.right - l.Area.left));
  }
  return D3D_OK;
}

void TSoftTexture::DecodeLevel0(UINT X, UINT Y, UINT Count) {
  const TLevel& l = levels_[0];
  uint32_t* texels = decoded_.data() + size_t(Y) * l.Width + X;
  auto partial = [texels, Count] {
    return size_t(std::count_if(texels, texels + Count, [](uint32_t T) { return uint8_t((T >> 24) + 1) > 1; }));
  };
  partialAlpha_ -= partial();
  SoftDecodeRow(format_, l.Bytes.data() + size_t(Y) * l.Pitch + size_t(X) * (SoftFormatBits(format_) / 8), texels,
                Count);
  partialAlpha_ += partial();
  const uint32_t* row = decoded_.data() + size_t(Y) * l.Width;
  auto visible = [](uint32_t T) { return (T >> 24) != 0; };
  const uint32_t* first = std::find_if(row, row + l.Width, visible);
  const uint32_t* end =
      std::find_if(std::reverse_iterator(row + l.Width), std::reverse_iterator(first), visible).base();
  visible_[Y] = {int32_t(first - row), int32_t(end - row)};
}
