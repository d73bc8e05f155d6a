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
  const char bytes[2] = {char(Value & 0xFF), char(Value >> 8)};
  Stream.write(bytes, 2);
}

void Put32(std::ostream& Stream, uint32_t Value) {
  const char bytes[4] = {char(Value & 0xFF), char((Value >> 8) & 0xFF), char((Value >> 16) & 0xFF), char(Value >> 24)};
  Stream.write(bytes, 4);
}

}  // namespace

void TDGTexture::ReadBMP(std::istream& Stream) {
  const std::streampos start = Stream.tellg();
  if (start == std::streampos(-1)) throw Exception("BMP stream is not readable");
  TBMPHeaders headers;
  if (!ReadBMPFileHeader(Stream, headers) || !ReadBMPInfoHeader(Stream, headers))
    throw Exception("BMP header cut short");
  SetSize(headers.Width, headers.Height);
  Stream.clear();
  Stream.seekg(start);
  LoadBMP(*this, Stream);
}

void TDGTexture::LoadFromFile(const std::string& NameOrID, const std::string& ArchiveFile) {
  // The arguments may be this texture's own fields (a rebuild), which are assigned below.
  const std::string item = NameOrID;        // NOLINT(performance-unnecessary-copy-initialization)
  const std::string archive = ArchiveFile;  // NOLINT(performance-unnecessary-copy-initialization)
  const bool fromArchive = !archive.empty();
  if (fromArchive)
    WriteDetail(DGFormat(Jp("ID %d(%s) のテクスチャに、TKAファイル%s から ID %s を読み込みます"), FResourceID,
                         FName.c_str(), DisplayName(archive).c_str(), item.c_str()));
  else
    WriteDetail(DGFormat(Jp("ID %d(%s) のテクスチャに、%s を読み込みます"), FResourceID, FName.c_str(),
                         DisplayName(item).c_str()));
  try {
    if (fromArchive) {
      std::unique_ptr<TKAMemoryStream> entry = LoadFromArchive(archive, item);
      ReadBMP(*entry);
    } else {
      std::ifstream file = OpenFileForReading(item);
      if (!file) throw Exception("BMP file cannot be opened");
      ReadBMP(file);
    }
  } catch (const std::exception&) {
    if (fromArchive)
      CheckResult(1, item + Jp(" ＠ ") + DisplayName(archive) + Jp("からの、読み込みエラー"));
    else
      CheckResult(1, DisplayName(item) + Jp("からの、読み込みエラー"));
  }
  if (fromArchive) {
    FSource = tsArchive;
    FArchiveName = archive;
    FArchiveID = item;
  } else {
    FSource = tsFile;
    FFileName = item;
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
  std::stringstream image(std::ios::in | std::ios::out | std::ios::binary);
  Bitmap.SaveToStream(image);
  image.seekg(0);
  LoadFromStream(image);
  FSource = tsMemory;
}

void TDGTexture::SaveAsBMP(std::ostream& Stream) {
  // An image without rows or columns has no pixel to lock: locking its empty rectangle would be
  // reported as a failure (and halt under dgoHaltOnError) although its size is all there is to save.
  const bool emptyImage = FWidth == 0 || FHeight == 0;
  const D3DLOCKED_RECT lock = emptyImage
                                  ? D3DLOCKED_RECT{0, nullptr}
                                  : LockRect(0, MakeRect(0, 0, int32_t(FWidth), int32_t(FHeight)), D3DLOCK_READONLY);
  // Without pixels to read (no texture) the image written is empty rather than made up.
  const bool readable = emptyImage ? FTexture != nullptr : lock.pBits != nullptr;
  const uint32_t width = readable ? FWidth : 0;
  const uint32_t height = readable ? FHeight : 0;
  const uint32_t imageSize = width * height * 4;

  Put16(Stream, kBMPSignature);
  Put32(Stream, imageSize + kBMPFileHeaderSize + kBMPInfoHeaderSize);
  Put16(Stream, 0);
  Put16(Stream, 0);
  Put32(Stream, kBMPFileHeaderSize + kBMPInfoHeaderSize);
  Put32(Stream, kBMPInfoHeaderSize);
  Put32(Stream, width);
  Put32(Stream, height);
  Put16(Stream, 1);
  Put16(Stream, 32);
  Put32(Stream, 0);
  Put32(Stream, imageSize);
  for (int i = 0; i < 4; ++i) Put32(Stream, 0);

  if (lock.pBits != nullptr) {
    std::string row(size_t(width) * 4, '\0');
    const uint8_t* const first = static_cast<const uint8_t*>(lock.pBits);
    for (uint32_t y = height; y-- > 0;) {
      const uint8_t* source = first + ptrdiff_t(y) * lock.Pitch;
      for (uint32_t x = 0; x < width; ++x, source += FBytesPerPixel) {
        const uint32_t argb = PixelToARGB(ReadPixelBytes(source, FBytesPerPixel), FFormat);
        WritePixelBytes(reinterpret_cast<uint8_t*>(&row[x * 4]), argb, 4);
      }
      Stream.write(row.data(), std::streamsize(row.size()));
    }
  }
  if (!emptyImage) UnlockRect();
}

void TDGTexture::SaveBackup() {
  FBackup = std::make_unique<std::stringstream>(std::ios::in | std::ios::out | std::ios::binary);
  SaveAsBMP(*FBackup);
  FBackup->seekg(0);
}
