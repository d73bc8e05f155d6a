// TDGTexture: loading from BMP files, archive entries, streams and raster bitmaps, and saving as BMP.
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>

#include "BMPLoader.h"
#include "DGFormat.h"
#include "DGTexture.h"
#include "DebugLog.h"
#include "Exception.h"
#include "FileSystem.h"
#include "PixelFormats.h"
#include "RasterBitmap.h"
#include "TKArc.h"
#include "TextEncoding.h"

namespace {

void Put16(std::ostream& Stream, uint16_t Value) {
  const char Bytes[2] = {char(Value & 0xFF), char(Value >> 8)};
  Stream.write(Bytes, 2);
}

void Put32(std::ostream& Stream, uint32_t Value) {
  const char Bytes[4] = {char(Value & 0xFF), char((Value >> 8) & 0xFF), char((Value >> 16) & 0xFF), char(Value >> 24)};
  Stream.write(Bytes, 4);
}

}  // namespace

void TDGTexture::ReadBMP(std::istream& Stream) {
  const std::streampos Start = Stream.tellg();
  if (Start == std::streampos(-1)) throw Exception("BMP stream is not readable");
  TBMPHeaders Headers;
  if (!ReadBMPFileHeader(Stream, Headers) || !ReadBMPInfoHeader(Stream, Headers))
    throw Exception("BMP header cut short");
  SetSize(Headers.Width, Headers.Height);
  Stream.clear();
  Stream.seekg(Start);
  LoadBMP(*this, Stream);
}

void TDGTexture::LoadFromFile(const std::string& NameOrID, const std::string& ArchiveFile) {
  // The arguments may be this texture's own fields (a rebuild), which are assigned below.
  const std::string Item = NameOrID;        // NOLINT(performance-unnecessary-copy-initialization)
  const std::string Archive = ArchiveFile;  // NOLINT(performance-unnecessary-copy-initialization)
  const bool FromArchive = !Archive.empty();
  if (FromArchive)
    WriteDetail(DGFormat(Jp("ID %d(%s) のテクスチャに、TKAファイル%s から ID %s を読み込みます"), FResourceID,
                         FName.c_str(), DisplayName(Archive).c_str(), Item.c_str()));
  else
    WriteDetail(DGFormat(Jp("ID %d(%s) のテクスチャに、%s を読み込みます"), FResourceID, FName.c_str(),
                         DisplayName(Item).c_str()));
  try {
    if (FromArchive) {
      std::unique_ptr<TKAMemoryStream> Entry = LoadFromArchive(Archive, Item);
      ReadBMP(*Entry);
    } else {
      std::ifstream File = OpenFileForReading(Item);
      if (!File) throw Exception("BMP file cannot be opened");
      ReadBMP(File);
    }
  } catch (const std::exception&) {
    if (FromArchive)
      CheckResult(1, Item + Jp(" ＠ ") + DisplayName(Archive) + Jp("からの、読み込みエラー"));
    else
      CheckResult(1, DisplayName(Item) + Jp("からの、読み込みエラー"));
  }
  if (FromArchive) {
    FSource = tsArchive;
    FArchiveName = Archive;
    FArchiveID = Item;
  } else {
    FSource = tsFile;
    FFileName = Item;
  }
}

void TDGTexture::LoadFromStream(std::istream& Stream) {
  WriteDetail(DGFormat(Jp("ID %d のテクスチャに、ストリームから読み込みます"), FResourceID));
  try {
    ReadBMP(Stream);
    FSource = tsMemory;
  } catch (const std::exception&) {
    CheckResult(1, Jp("ストリームからの、読み込みエラー"));
  }
}

void TDGTexture::LoadFromBitmap(const TRasterBitmap& Bitmap) {
  WriteDetail(DGFormat(Jp("ID %d のテクスチャに、TBitmapから読み込みます"), FResourceID));
  std::stringstream Image(std::ios::in | std::ios::out | std::ios::binary);
  Bitmap.SaveToStream(Image);
  Image.seekg(0);
  LoadFromStream(Image);
  FSource = tsMemory;
}

void TDGTexture::SaveAsBMP(std::ostream& Stream) {
  // An image without rows or columns has no pixel to lock: locking its empty rectangle would be
  // reported as a failure (and halt under dgoHaltOnError) although its size is all there is to save.
  const bool EmptyImage = FWidth == 0 || FHeight == 0;
  const D3DLOCKED_RECT Lock = EmptyImage
                                  ? D3DLOCKED_RECT{0, nullptr}
                                  : LockRect(0, MakeRect(0, 0, int32_t(FWidth), int32_t(FHeight)), D3DLOCK_READONLY);
  // Without pixels to read (no texture) the image written is empty rather than made up.
  const bool Readable = EmptyImage ? FTexture != nullptr : Lock.pBits != nullptr;
  const uint32_t Width = Readable ? FWidth : 0;
  const uint32_t Height = Readable ? FHeight : 0;
  const uint32_t ImageSize = Width * Height * 4;

  Put16(Stream, BMPSignature);
  Put32(Stream, ImageSize + BMPFileHeaderSize + BMPInfoHeaderSize);
  Put16(Stream, 0);
  Put16(Stream, 0);
  Put32(Stream, BMPFileHeaderSize + BMPInfoHeaderSize);
  Put32(Stream, BMPInfoHeaderSize);
  Put32(Stream, Width);
  Put32(Stream, Height);
  Put16(Stream, 1);
  Put16(Stream, 32);
  Put32(Stream, 0);
  Put32(Stream, ImageSize);
  for (int i = 0; i < 4; ++i) Put32(Stream, 0);

  if (Lock.pBits != nullptr) {
    std::string Row(size_t(Width) * 4, '\0');
    const uint8_t* const First = static_cast<const uint8_t*>(Lock.pBits);
    for (uint32_t y = Height; y-- > 0;) {
      const uint8_t* Source = First + ptrdiff_t(y) * Lock.Pitch;
      for (uint32_t x = 0; x < Width; ++x, Source += FBytesPerPixel) {
        const uint32_t ARGB = PixelToARGB(ReadPixelBytes(Source, FBytesPerPixel), FFormat);
        WritePixelBytes(reinterpret_cast<uint8_t*>(&Row[x * 4]), ARGB, 4);
      }
      Stream.write(Row.data(), std::streamsize(Row.size()));
    }
  }
  if (!EmptyImage) UnlockRect();
}

void TDGTexture::SaveBackup() {
  FBackup = std::make_unique<std::stringstream>(std::ios::in | std::ios::out | std::ios::binary);
  SaveAsBMP(*FBackup);
  FBackup->seekg(0);
}
