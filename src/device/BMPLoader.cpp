#include "BMPLoader.h"

#include <algorithm>
#include <istream>
#include <string>
#include <vector>

#include "BmpRle.h"
#include "DGTexture.h"
#include "DebugLog.h"
#include "Exception.h"
#include "PixelFormats.h"
#include "TextEncoding.h"

namespace {

uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

bool ReadBytes(std::istream& Stream, void* Buffer, uint64_t Count) {
  if (Count == 0) return true;
  Stream.read(static_cast<char*>(Buffer), std::streamsize(Count));
  return Stream.good() && uint64_t(Stream.gcount()) == Count;
}

uint64_t RoundUp4(uint64_t Bytes) { return (Bytes + 3) & ~uint64_t(3); }

// One decode of one image into an already locked level.
class TBMPDecoder {
 public:
  TBMPDecoder(std::istream& Stream, const D3DSURFACE_DESC& Level, const D3DLOCKED_RECT& Locked)
      : FStream(Stream), FLevel(Level), FLocked(Locked) {}

  void Run();

 private:
  // The bytes left between the stream's position and its end; bounds every buffer and skip, so a
  // header that lies about the image size cannot make the decoder allocate or seek without limit.
  uint64_t Remaining();
  void ReadError() { WriteLog(Jp("LoadBMP中に、読み込みエラーが発生しました")); }
  void ConvertRow(const uint8_t* Source, uint8_t* Converted, uint32_t Pixels) const;
  // The pixel data as RLE8 codes; written only when it decodes whole, else a read error.
  void DecodeRle8(uint32_t Rows, uint32_t Pixels, uint64_t CopyBytes, uint64_t Pitch);

  std::istream& FStream;
  const D3DSURFACE_DESC& FLevel;
  const D3DLOCKED_RECT& FLocked;
  std::streamoff FStart = 0;
  TBMPHeaders FHeaders;
  uint8_t FPalette[1024] = {};
  uint32_t FSrcBytes = 0;
  uint32_t FDstBytes = 0;
  bool FIndexCopy = false;
};

uint64_t TBMPDecoder::Remaining() {
  const std::streampos Here = FStream.tellg();
  if (Here == std::streampos(-1)) return 0;
  FStream.seekg(0, std::ios::end);
  const std::streampos End = FStream.tellg();
  FStream.seekg(Here);
  if (End == std::streampos(-1) || End < Here || !FStream.good()) return 0;
  return uint64_t(End - Here);
}

void TBMPDecoder::ConvertRow(const uint8_t* Source, uint8_t* Converted, uint32_t Pixels) const {
  const D3DFORMAT Format = FLevel.Format;
  for (uint32_t x = 0; x < Pixels; ++x) {
    uint32_t Pixel;
    if (FIndexCopy) {
      Pixel = Source[x];
    } else {
      switch (FSrcBytes) {
        case 1: {
          const uint8_t* Entry = &FPalette[Source[x] * 4u];
          Pixel = ComponentsToPixel(255, Entry[2], Entry[1], Entry[0], Format);
          break;
        }
        case 2: {
          const uint32_t Value = Read16(&Source[x * 2]);
          const uint8_t A = (Value & 0x8000) ? 255 : 0;
          Pixel = ComponentsToPixel(A, uint8_t(ScaleComponent((Value >> 10) & 31, 5)),
                                    uint8_t(ScaleComponent((Value >> 5) & 31, 5)),
                                    uint8_t(ScaleComponent(Value & 31, 5)), Format);
          break;
        }
        case 3: {
          const uint8_t* p = &Source[x * 3];
          Pixel = ComponentsToPixel(255, p[2], p[1], p[0], Format);
          break;
        }
        default: Pixel = ARGBToPixel(Read32(&Source[x * 4]), Format); break;
      }
    }
    WritePixelBytes(&Converted[x * FDstBytes], Pixel, int32_t(FDstBytes));
  }
}

void TBMPDecoder::Run() {
  FStart = FStream.tellg();
  if (FStart < 0 || !ReadBMPFileHeader(FStream, FHeaders)) {
    WriteLog(Jp("ビットマップの読みこみ中に、エラーが発生しました"));
    return;
  }
  if (FHeaders.Signature != BMPSignature) {
    WriteLog(Jp("不正なBMPファイルです"));
    return;
  }
  if (!ReadBMPInfoHeader(FStream, FHeaders)) return ReadError();

  // Only whole-byte depths can be decoded; 1- and 4-bit pictures and odd counts are refused alike.
  const uint16_t BitCount = FHeaders.BitCount;
  if (BitCount != 8 && BitCount != 16 && BitCount != 24 && BitCount != 32) {
    CheckResult(1, Jp("色数が8ビット～32ビットの範囲のビットマップを、LoadBMPには指定してください"));
    return;
  }
  // Run-length compressed 256-colour pictures are decoded; any other compressed form would be read as
  // rows of garbage.
  const bool Rle8 = FHeaders.Compression == BMPCompressionRLE8 && BitCount == 8;
  if (FHeaders.Compression != 0 && !Rle8) return ReadError();
  FDstBytes = uint32_t(FormatBitCount(FLevel.Format)) / 8;
  FSrcBytes = BitCount / 8u;

  if (FLevel.Format == D3DFMT_P8) {
    if (FSrcBytes > 1) {
      CheckResult(1, Jp("8ビットパレット付きテクスチャに対して16ビット以上のBMPをロードする事は出来ません"));
      return;
    }
    FIndexCopy = true;
  }
  if (FSrcBytes == 1 && !ReadBytes(FStream, FPalette, sizeof FPalette)) return ReadError();

  FStream.seekg(FStart + std::streamoff(FHeaders.PixelOffset));
  if (!FStream.good()) return ReadError();

  const uint64_t ImageWidth = FHeaders.Width;
  const uint64_t ImageHeight = FHeaders.Height;
  const uint64_t SourceRowSize = RoundUp4(ImageWidth * FSrcBytes);
  const uint64_t ConvertedRowSize = RoundUp4(ImageWidth * FDstBytes);
  const uint64_t Pitch = FLocked.Pitch > 0 ? uint64_t(FLocked.Pitch) : 0;
  // Never past the level's own row: the bytes beyond it are only the pitch's padding.
  const uint64_t CopyBytes = std::min({ConvertedRowSize, Pitch, uint64_t(FLevel.Width) * FDstBytes});
  const uint32_t Rows = uint32_t(std::min<uint64_t>(FLevel.Height, ImageHeight));
  const uint32_t Pixels = uint32_t(std::min<uint64_t>(FLevel.Width, ImageWidth));

  if (Rle8) return DecodeRle8(Rows, Pixels, CopyBytes, Pitch);

  uint64_t Available = Remaining();
  // Surplus rows are the image's bottom rows: skipped so the top edges meet.
  const uint64_t SurplusRows = ImageHeight - Rows;
  if (SurplusRows > 0) {
    if (SourceRowSize != 0 && SurplusRows > Available / SourceRowSize) return ReadError();
    FStream.seekg(std::streamoff(SurplusRows * SourceRowSize), std::ios::cur);
    if (!FStream.good()) return ReadError();
    Available -= SurplusRows * SourceRowSize;
  }
  if (Rows == 0) return;
  if (SourceRowSize > Available) return ReadError();

  std::vector<uint8_t> SourceRow(static_cast<size_t>(SourceRowSize));
  std::vector<uint8_t> ConvertedRow(size_t(CopyBytes), 0);
  uint8_t* const Bits = static_cast<uint8_t*>(FLocked.pBits);
  for (uint32_t r = 0; r < Rows; ++r) {
    if (!ReadBytes(FStream, SourceRow.data(), SourceRowSize)) return ReadError();
    ConvertRow(SourceRow.data(), ConvertedRow.data(), Pixels);
    const uint64_t y = Rows - 1 - r;
    std::copy(ConvertedRow.begin(), ConvertedRow.end(), Bits + y * Pitch);
  }
}

void TBMPDecoder::DecodeRle8(uint32_t Rows, uint32_t Pixels, uint64_t CopyBytes, uint64_t Pitch) {
  std::string Data(static_cast<size_t>(Remaining()), '\0');
  if (!ReadBytes(FStream, Data.data(), Data.size())) return ReadError();
  // The indices of the area: image rows beyond it (its bottom rows) and columns beyond it are dropped, so
  // that the top-left corners meet as for uncompressed rows.
  std::vector<uint8_t> Indices(size_t(Rows) * Pixels, 0);
  const uint64_t ImageHeight = FHeaders.Height;
  const auto Put = [&](uint32_t x, uint32_t y, uint8_t Index) {
    const uint64_t Row = ImageHeight - 1 - y;
    if (Row < Rows && x < Pixels) Indices[size_t(Row) * Pixels + x] = Index;
  };
  if (!DecodeBmpRle(Data, 8, FHeaders.Width, FHeaders.Height, Put)) return ReadError();
  std::vector<uint8_t> ConvertedRow(size_t(CopyBytes), 0);
  uint8_t* const Bits = static_cast<uint8_t*>(FLocked.pBits);
  for (uint32_t y = 0; y < Rows; ++y) {
    ConvertRow(Indices.data() + size_t(y) * Pixels, ConvertedRow.data(), Pixels);
    std::copy(ConvertedRow.begin(), ConvertedRow.end(), Bits + y * Pitch);
  }
}

}  // namespace

bool ReadBMPFileHeader(std::istream& Stream, TBMPHeaders& Headers) {
  uint8_t Bytes[BMPFileHeaderSize];
  if (!ReadBytes(Stream, Bytes, sizeof Bytes)) return false;
  Headers.Signature = Read16(&Bytes[0]);
  Headers.FileSize = Read32(&Bytes[2]);
  Headers.PixelOffset = Read32(&Bytes[10]);
  return true;
}

bool ReadBMPInfoHeader(std::istream& Stream, TBMPHeaders& Headers) {
  uint8_t Bytes[BMPInfoHeaderSize];
  if (!ReadBytes(Stream, Bytes, sizeof Bytes)) return false;
  Headers.InfoSize = Read32(&Bytes[0]);
  Headers.Width = Read32(&Bytes[4]);
  Headers.Height = Read32(&Bytes[8]);
  Headers.Planes = Read16(&Bytes[12]);
  Headers.BitCount = Read16(&Bytes[14]);
  Headers.Compression = Read32(&Bytes[16]);
  return true;
}

void LoadBMP(TDGTexture& Texture, std::istream& Stream) {
  IDirect3DTexture9* D3DTexture = Texture.Texture();
  if (D3DTexture == nullptr) throw Exception("LoadBMP: texture not allocated");

  D3DSURFACE_DESC Level{};
  D3DLOCKED_RECT Locked{0, nullptr};
  const HRESULT LockResult = [&] {
    const HRESULT DescResult = D3DTexture->GetLevelDesc(0, &Level);
    if (FAILED(DescResult)) return DescResult;
    return D3DTexture->LockRect(0, &Locked, nullptr, 0);
  }();
  if (FAILED(LockResult) || Locked.pBits == nullptr) {
    CheckResult(FAILED(LockResult) ? LockResult : 1, Jp("LoadBMP中にサーフェスがロックできませんでした"));
    return;
  }
  try {
    try {
      TBMPDecoder(Stream, Level, Locked).Run();
    } catch (const std::ios_base::failure&) {
      // A stream that throws instead of failing (exceptions switched on) is a read error too.
      WriteLog(Jp("LoadBMP中に、読み込みエラーが発生しました"));
    }
  } catch (...) {
    // The log file could not be written: its error goes on to the caller, but the level must not
    // stay locked (nothing could lock or draw the texture afterwards). Unlocked without logging,
    // since the log is what failed.
    D3DTexture->UnlockRect(0);
    throw;
  }
  CheckResult(D3DTexture->UnlockRect(0), Jp("LoadBMP中にサーフェスがアンロックできませんでした"));
}
