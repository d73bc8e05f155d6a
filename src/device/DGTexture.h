// TDGTexture: one Direct3D texture sized to what the device allows, filled from a BMP image (file,
// archive entry, stream or raster bitmap) or by callers writing pixels, and able to bring itself
// back after the device was reset or re-created (it registers with the device's resource registry).
//
// Every caller in the game creates it through CreateSceneTexture (below), then sizes or loads it. Failures never throw:
// they go through the device's result check (debug log) and leave the texture empty or absent.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TObject.h"
#include "d3d9.h"

class TVUDader;
class TRasterBitmap;

// Where a texture's content comes from; decides how it is rebuilt after device re-creation.
enum TDGTextureSource : uint8_t {
  tsNone = 0,     // size only
  tsFile = 1,     // a BMP file
  tsArchive = 2,  // an archive entry
  tsMemory = 3,   // a stream, a bitmap, or pixels written by callers (backed up before release)
};

class TDGTexture;
// Called by ProcessPixels for each pixel (in the texture's format, low bytes); returns its new value.
using TDGPixelFunction = uint32_t (*)(TDGTexture* Texture, uint32_t Pixel, int32_t X, int32_t Y, void* Data);

// The rectangle (Left, Top) - (Right, Bottom), right and bottom exclusive.
inline RECT MakeRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  return RECT{Left, Top, Right, Bottom};
}

class TDGTexture : public TObject {
 public:
  TDGTexture(TVUDader* Device, const std::string& Name, const std::vector<D3DFORMAT>& FormatCandidates, DWORD Usage,
             D3DPOOL Pool, UINT Levels);
  ~TDGTexture() override;
  TDGTexture(const TDGTexture&) = delete;
  TDGTexture& operator=(const TDGTexture&) = delete;

  // Allocates an empty texture for an image of Width x Height, enlarged as the device requires
  // (square, power of two); a lockable texture is cleared to FillColor.
  void SetSize(uint32_t Width, uint32_t Height);
  // Loads the BMP file NameOrID, or with a non-empty ArchiveFile the archive entry with id NameOrID.
  void LoadFromFile(const std::string& NameOrID, const std::string& ArchiveFile = std::string());
  // Loads the BMP image that starts at the stream's current position.
  void LoadFromStream(std::istream& Stream);
  // Loads a raster bitmap by way of its BMP image.
  void LoadFromBitmap(const TRasterBitmap& Bitmap);
  // Writes the image (Width x Height) as a 32-bit bottom-up BMP.
  void SaveAsBMP(std::ostream& Stream);

  // Locks a rectangle of a mip level; the result's pBits is null when nothing could be locked
  // (callers then skip their pixel work, but still call UnlockRect).
  D3DLOCKED_RECT LockRect(UINT Level, const RECT& Rect, DWORD Flags);
  void UnlockRect();
  // The bounding box of every rectangle locked for writing since the last call (empty when none): a caller that
  // redraws parts of a texture learns which part each drawing touched.
  RECT TakeWrittenArea();

  // Replaces each pixel of Rect by Function(texture, pixel, x, y, Data).
  void ProcessPixels(const RECT& Rect, TDGPixelFunction Function, void* Data);
  // Fills Rect with an ARGB colour; KeepAlpha keeps each pixel's alpha and takes only the colour's RGB.
  void Fill(const RECT& Rect, uint32_t Color, bool KeepAlpha);
  // Pixels of the key colour (as the format can hold it) become transparent, all others opaque.
  void SetColorKey(const RECT& Rect, uint32_t Color);

  // Handlers the device calls (registered at creation).
  void ReleaseTexture();  // before the device goes away: backs up memory content, releases
  void Rebuild();         // once a new device exists: recreates and refills
  void BeforeReset();     // default-pool textures only: release
  void AfterReset();      // default-pool textures only: recreate, content lost

  int32_t ResourceID() const { return FResourceID; }
  const std::string& Name() const { return FName; }
  TVUDader* Device() const { return FDevice; }
  D3DFORMAT Format() const { return FFormat; }
  const std::vector<D3DFORMAT>& FormatCandidates() const { return FFormatCandidates; }
  uint32_t Width() const { return FWidth; }
  uint32_t Height() const { return FHeight; }
  uint32_t TextureWidth() const { return FTextureWidth; }
  uint32_t TextureHeight() const { return FTextureHeight; }
  float MaxU() const { return FMaxU; }
  float MaxV() const { return FMaxV; }
  IDirect3DTexture9* Texture() const { return FTexture; }
  DWORD Usage() const { return FUsage; }
  D3DPOOL Pool() const { return FPool; }
  bool Locked() const { return FLocked; }
  const D3DLOCKED_RECT& LockedRect() const { return FLockedRect; }
  const RECT& LockArea() const { return FLockArea; }
  UINT LockLevel() const { return FLockLevel; }
  int32_t BytesPerPixel() const { return FBytesPerPixel; }
  UINT Levels() const { return FLevels; }
  bool Restorable() const { return FRestorable; }
  TDGTextureSource Source() const { return FSource; }
  const std::string& FileName() const { return FFileName; }
  const std::string& ArchiveName() const { return FArchiveName; }
  const std::string& ArchiveID() const { return FArchiveID; }
  bool HasBackup() const { return FBackup != nullptr; }
  bool Restoring() const { return FRestoring; }

  // Colour a lockable texture is cleared to when (re)allocated.
  uint32_t FillColor = 0;

 private:
  void CreateSurface(uint32_t Width, uint32_t Height);
  D3DFORMAT ChooseFormat();
  void ReleaseD3DTexture();
  // Sizes the texture from the BMP headers at the stream's position, then decodes the image.
  void ReadBMP(std::istream& Stream);
  void SaveBackup();

  int32_t FResourceID = -1;
  std::string FName;
  TVUDader* FDevice;
  D3DFORMAT FFormat = D3DFMT_UNKNOWN;
  std::vector<D3DFORMAT> FFormatCandidates;
  uint32_t FWidth = 0;
  uint32_t FHeight = 0;
  uint32_t FTextureWidth = 0;
  uint32_t FTextureHeight = 0;
  float FMaxU = 0.0f;
  float FMaxV = 0.0f;
  IDirect3DTexture9* FTexture = nullptr;
  DWORD FUsage;
  D3DPOOL FPool;
  bool FLocked = false;
  D3DLOCKED_RECT FLockedRect{0, nullptr};
  RECT FLockArea{0, 0, 0, 0};
  RECT writtenArea_{0, 0, 0, 0};
  UINT FLockLevel = 0;
  int32_t FBytesPerPixel = 0;
  UINT FLevels;
  bool FRestorable;
  TDGTextureSource FSource = tsNone;
  std::string FFileName;
  std::string FArchiveName;
  std::string FArchiveID;
  std::unique_ptr<std::stringstream> FBackup;
  bool FRestoring = false;
};

// A texture with the settings every picture of the game uses: no name, the A8R8G8B8, A4R4G4B4, A1R5G5B5
// candidates, usage 0, the managed pool, a full mip chain request, fill colour 0.
std::unique_ptr<TDGTexture> CreateSceneTexture(TVUDader* Device);
