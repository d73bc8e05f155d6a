#include "DGTexture.h"

#include <algorithm>
#include <utility>

#include "DGFormat.h"
#include "DebugLog.h"
#include "PixelFormats.h"
#include "TeardownStep.h"
#include "TextEncoding.h"
#include "VUDaderDevice.h"

namespace {

// The smallest power of two not below Side (1 for 0 and 1); sides above 2^31 have none in 32 bits
// and stay as they are, which the device refuses as too large anyway.
uint32_t NextPowerOfTwo(uint32_t Side) {
  if (Side > 0x80000000u) return Side;
  uint32_t result = 1;
  while (result < Side) result <<= 1;
  return result;
}

struct TKeyData {
  D3DFORMAT Format;
  uint32_t Key;
};

uint32_t ApplyColorKey(TDGTexture*, uint32_t Pixel, int32_t, int32_t, void* Data) {
  const TKeyData& keyData = *static_cast<const TKeyData*>(Data);
  const uint32_t rgb = PixelToARGB(Pixel, keyData.Format) & 0x00FFFFFFu;
  return ARGBToPixel(rgb == keyData.Key ? rgb : rgb | 0xFF000000u, keyData.Format);
}

}  // namespace

TDGTexture::TDGTexture(TVUDader* Device, const std::string& Name, const std::vector<D3DFORMAT>& FormatCandidates,
                       DWORD Usage, D3DPOOL Pool, UINT Levels)
    : FName(Name),
      FDevice(Device),
      FFormatCandidates(FormatCandidates),
      FUsage(Usage),
      FPool(Pool),
      FLevels(Levels),
      FRestorable(Pool != D3DPOOL_DEFAULT) {
  FResourceID = Device->RegisterResource(
      this, Name, [this] { ReleaseTexture(); }, [this] { Rebuild(); }, [this] { BeforeReset(); },
      [this] { AfterReset(); });
}

TDGTexture::~TDGTexture() {
  TeardownStep([this] {
    WriteDetail(Jp("テクスチャオブジェクトを解放します"));
    ReleaseD3DTexture();
    FBackup.reset();
    if (FResourceID >= 0) FDevice->UnregisterResource(std::exchange(FResourceID, -1));
  });
}

void TDGTexture::SetSize(uint32_t Width, uint32_t Height) {
  FWidth = Width;
  FHeight = Height;
  uint32_t textureWidth = Width;
  uint32_t textureHeight = Height;

  D3DCAPS9 caps{};
  IDirect3D9* d3d = FDevice->D3D();
  if (d3d != nullptr && SUCCEEDED(d3d->GetDeviceCaps(FDevice->Adapter(), FDevice->DeviceType(), &caps))) {
    if (Width > caps.MaxTextureWidth || Height > caps.MaxTextureHeight)
      WriteDetail(DGFormat(Jp("要求されたテクスチャのサイズは大きすぎます。%d x %d 以内にして下さい"),
                           int32_t(caps.MaxTextureWidth), int32_t(caps.MaxTextureHeight)));
    if (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) textureWidth = textureHeight = std::max(Width, Height);
    if (caps.TextureCaps & D3DPTEXTURECAPS_POW2) {
      textureWidth = NextPowerOfTwo(textureWidth);
      textureHeight = NextPowerOfTwo(textureHeight);
    }
  }
  FTextureWidth = textureWidth;
  FTextureHeight = textureHeight;
  // An empty allocation has no extent; 0 instead of 0/0 keeps texture coordinates finite.
  FMaxU = textureWidth != 0 ? float(double(Width) / double(textureWidth)) : 0.0f;
  FMaxV = textureHeight != 0 ? float(double(Height) / double(textureHeight)) : 0.0f;

  CreateSurface(textureWidth, textureHeight);
  if (FPool != D3DPOOL_DEFAULT) Fill(MakeRect(0, 0, int32_t(textureWidth), int32_t(textureHeight)), FillColor, false);
  if (!FRestoring) {
    FBackup.reset();
    FSource = tsMemory;
  }
}

void TDGTexture::ReleaseD3DTexture() {
  if (FTexture == nullptr) return;
  CheckResult(HRESULT(std::exchange(FTexture, nullptr)->Release()), Jp("テクスチャの解放に失敗しました"));
}

void TDGTexture::CreateSurface(uint32_t Width, uint32_t Height) {
  if (FTexture != nullptr) {
    WriteDetail(Jp("テクスチャの再生成に伴い、以前のテクスチャを解放します"));
    ReleaseD3DTexture();
  }
  FFormat = ChooseFormat();
  WriteDetail(DGFormat(Jp("使用されるフォーマットは %s です"), FormatName(FFormat).c_str()));
  IDirect3DDevice9* d3dDevice = FDevice->D3DDevice();
  if (d3dDevice != nullptr) {
    CheckResult(d3dDevice->CreateTexture(Width, Height, FLevels, FUsage, FFormat, FPool, &FTexture, nullptr),
                Jp("テクスチャの生成に失敗しました"));
    WriteDetail(
        DGFormat(Jp("残りテクスチャ容量は、約%.2fMBです"), double(d3dDevice->GetAvailableTextureMem()) / 1048576.0));
  } else {
    // No device (its creation failed): the texture stays absent, as after a failed creation.
    CheckResult(D3DERR_INVALIDCALL, Jp("テクスチャの生成に失敗しました"));
  }
  FBytesPerPixel = FormatBitCount(FFormat) / 8;
}

D3DFORMAT TDGTexture::ChooseFormat() {
  D3DFORMAT adapterFormat = D3DFMT_UNKNOWN;
  if (IDirect3DSurface9* backBuffer = FDevice->BackBuffer(0)) {
    D3DSURFACE_DESC desc{};
    if (SUCCEEDED(backBuffer->GetDesc(&desc))) adapterFormat = desc.Format;
  }
  IDirect3D9* d3d = FDevice->D3D();
  if (d3d == nullptr) return adapterFormat;
  for (D3DFORMAT candidate : FFormatCandidates) {
    if (SUCCEEDED(d3d->CheckDeviceFormat(FDevice->Adapter(), FDevice->DeviceType(), adapterFormat, FUsage,
                                         D3DRTYPE_TEXTURE, candidate)))
      return candidate;
  }
  return adapterFormat;
}

D3DLOCKED_RECT TDGTexture::LockRect(UINT Level, const RECT& Rect, DWORD Flags) {
  FLocked = true;
  FLockLevel = Level;
  if ((Flags & D3DLOCK_READONLY) == 0 && FSource != tsNone) FSource = tsMemory;
  FLockedRect = D3DLOCKED_RECT{0, nullptr};
  if (FTexture == nullptr) {
    CheckResult(1, Jp("テクスチャが確保されていません。LockRectの前にSetSizeするか、BMPを読み込んでください"));
    return FLockedRect;
  }
  FLockArea = Rect;
  if (FAILED(CheckResult(FTexture->LockRect(Level, &FLockedRect, &FLockArea, Flags), Jp("LockRectに失敗しました"))))
    FLockedRect = D3DLOCKED_RECT{0, nullptr};
  if (FLockedRect.pBits != nullptr && (Flags & D3DLOCK_READONLY) == 0) {
    if (writtenArea_.left >= writtenArea_.right || writtenArea_.top >= writtenArea_.bottom) {
      writtenArea_ = Rect;
    } else {
      writtenArea_ = RECT{std::min(writtenArea_.left, Rect.left), std::min(writtenArea_.top, Rect.top),
                          std::max(writtenArea_.right, Rect.right), std::max(writtenArea_.bottom, Rect.bottom)};
    }
  }
  return FLockedRect;
}

RECT TDGTexture::TakeWrittenArea() {
  const RECT area = writtenArea_;
  writtenArea_ = RECT{0, 0, 0, 0};
  return area;
}

void TDGTexture::UnlockRect() {
  if (FTexture != nullptr) CheckResult(FTexture->UnlockRect(FLockLevel), Jp("アンロックに失敗しました"));
  FLocked = false;
  FLockedRect = D3DLOCKED_RECT{0, nullptr};
}

void TDGTexture::ProcessPixels(const RECT& Rect, TDGPixelFunction Function, void* Data) {
  const D3DLOCKED_RECT lock = LockRect(0, Rect, 0);
  if (lock.pBits != nullptr) {
    uint8_t* const first = static_cast<uint8_t*>(lock.pBits);
    for (int32_t y = Rect.top; y < Rect.bottom; ++y) {
      uint8_t* const row = first + ptrdiff_t(y - Rect.top) * lock.Pitch;
      for (int32_t x = Rect.left; x < Rect.right; ++x) {
        uint8_t* const pixel = row + ptrdiff_t(x - Rect.left) * FBytesPerPixel;
        WritePixelBytes(pixel, Function(this, ReadPixelBytes(pixel, FBytesPerPixel), x, y, Data), FBytesPerPixel);
      }
    }
  }
  UnlockRect();
}

void TDGTexture::Fill(const RECT& Rect, uint32_t Color, bool KeepAlpha) {
  const D3DLOCKED_RECT lock = LockRect(0, Rect, 0);
  const int32_t columns = Rect.right - Rect.left;
  if (lock.pBits != nullptr && columns > 0 && Rect.bottom > Rect.top) {
    uint8_t* const first = static_cast<uint8_t*>(lock.pBits);
    if (KeepAlpha) {
      for (int32_t y = Rect.top; y < Rect.bottom; ++y) {
        uint8_t* const row = first + ptrdiff_t(y - Rect.top) * lock.Pitch;
        for (int32_t x = 0; x < columns; ++x) {
          uint8_t* const pixel = row + ptrdiff_t(x) * FBytesPerPixel;
          const uint32_t argb = PixelToARGB(ReadPixelBytes(pixel, FBytesPerPixel), FFormat);
          WritePixelBytes(pixel, ARGBToPixel((argb & 0xFF000000u) | (Color & 0x00FFFFFFu), FFormat), FBytesPerPixel);
        }
      }
    } else {
      // Convert once, fill the first row, then copy that row down.
      const uint32_t pixel = ARGBToPixel(Color, FFormat);
      for (int32_t x = 0; x < columns; ++x) WritePixelBytes(first + x * FBytesPerPixel, pixel, FBytesPerPixel);
      const size_t rowBytes = size_t(columns) * size_t(FBytesPerPixel);
      for (int32_t y = Rect.top + 1; y < Rect.bottom; ++y)
        std::copy_n(first, rowBytes, first + ptrdiff_t(y - Rect.top) * lock.Pitch);
    }
  }
  UnlockRect();
}

void TDGTexture::SetColorKey(const RECT& Rect, uint32_t Color) {
  TKeyData keyData{FFormat, PixelToARGB(ARGBToPixel(Color, FFormat), FFormat) & 0x00FFFFFFu};
  ProcessPixels(Rect, ApplyColorKey, &keyData);
}

void TDGTexture::ReleaseTexture() {
  if (FTexture == nullptr) return;
  if (FSource == tsMemory && FRestorable) SaveBackup();
  std::exchange(FTexture, nullptr)->Release();
}

void TDGTexture::Rebuild() {
  FRestoring = true;
  if (FRestorable) {
    switch (FSource) {
      case tsNone: SetSize(FWidth, FHeight); break;
      case tsFile: LoadFromFile(FFileName, std::string()); break;
      case tsArchive: LoadFromFile(FArchiveID, FArchiveName); break;
      case tsMemory:
        if (FBackup != nullptr) {
          LoadFromStream(*FBackup);
          FBackup.reset();
        } else {
          // Nothing was backed up (the texture had not been allocated): only the size comes back.
          SetSize(FWidth, FHeight);
        }
        break;
    }
  } else {
    SetSize(FWidth, FHeight);
  }
  FRestoring = false;
}

void TDGTexture::BeforeReset() {
  if (FPool == D3DPOOL_DEFAULT) ReleaseTexture();
}

void TDGTexture::AfterReset() {
  if (FPool == D3DPOOL_DEFAULT) SetSize(FWidth, FHeight);
}

std::unique_ptr<TDGTexture> CreateSceneTexture(TVUDader* Device) {
  auto texture = std::make_unique<TDGTexture>(
      Device, "", std::vector<D3DFORMAT>{D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5}, 0, D3DPOOL_MANAGED, 0);
  texture->FillColor = 0;
  return texture;
}
