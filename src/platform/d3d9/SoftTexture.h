// Textures of the software device: every mip level in the format asked for, and a decoded ARGB8888 copy of
// level 0 for sampling, refreshed from the bytes when level 0 is unlocked.
#pragma once
#include <cstddef>
#include <vector>
#include "RasterState.h"
#include "d3d9.h"

class TSoftDevice;

class TSoftTexture final : public IDirect3DTexture9 {
 public:
  TSoftTexture(TSoftDevice* Device, UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool);
  ~TSoftTexture() override;

  // Number of levels of a full chain down to 1 x 1.
  static UINT FullChain(UINT Width, UINT Height);
  // Bytes the levels of such a texture occupy.
  static uint64_t ByteSize(UINT Width, UINT Height, UINT Levels, D3DFORMAT Format);

  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetDevice(IDirect3DDevice9** ppDevice) override;
  D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
  DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
  HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
  HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
  HRESULT UnlockRect(UINT Level) override;

  // A device binding counts as a reference but does not keep the device alive.
  void Bind();
  void Unbind();

  const uint32_t* Texels() const { return decoded_.data(); }
  // Whether every texel of level 0 is either fully transparent or opaque (a colour-keyed picture): blending it
  // unshaded then picks the texel or the target's pixel whole.
  bool KeyedAlpha() const { return partialAlpha_ == 0; }
  // Per row of level 0, the columns between its first and last texel whose alpha is not 0.
  const TRasterVisibleTexels* VisibleTexels() const { return visible_.data(); }
  UINT Width() const { return levels_[0].Width; }
  UINT Height() const { return levels_[0].Height; }
  D3DPOOL Pool() const { return pool_; }

 private:
  struct TLevel {
    UINT Width, Height, Pitch;
    std::vector<uint8_t> Bytes;
    bool Locked = false;
    bool ReadOnly = false;
    RECT Area{};
  };

  // Decodes Count texels of row Y of level 0 from column X, keeping the count of partial alphas and the row's
  // visible columns.
  void DecodeLevel0(UINT X, UINT Y, UINT Count);

  TSoftDevice* device_;
  DWORD usage_;
  D3DFORMAT format_;
  D3DPOOL pool_;
  std::vector<TLevel> levels_;
  std::vector<uint32_t> decoded_;
  size_t partialAlpha_ = 0;  // texels of level 0 whose alpha is neither 0 nor 255
  std::vector<TRasterVisibleTexels> visible_;
  uint64_t bytes_;
  ULONG refs_ = 1;
  ULONG bindRefs_ = 0;
  bool holdsDevice_ = true;
};
