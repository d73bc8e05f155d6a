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

uint16_t Read16(const uint8_t* P) { return uint16_t(P[0] | (P[1] << 8)); }
uint32_t Read32(const uint8_t* P) {
  return uint32_t(P[0]) | (uint32_t(P[1]) << 8) | (uint32_t(P[2]) << 16) | (uint32_t(P[3]) << 24);
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
      : stream_(Stream), level_(Level), locked_(Locked) {}

  void Run();

 private:
  // The bytes left between the stream's position and its end; bounds every buffer and skip, so a
  // header that lies about the image size cannot make the decoder allocate or seek without limit.
  uint64_t Remaining();
  void ReadError() { WriteLog(Jp("LoadBMP中に、読み込みエラーが発生しました")); }
  void ConvertRow(const uint8_t* Source, uint8_t* Converted, uint32_t Pixels) const;
  // The pixel data as RLE8 codes; written only when it decodes whole, else a read error.
  void DecodeRle8(uint32_t Rows, uint32_t Pixels, uint64_t CopyBytes, uint64_t Pitch);

  std::istream& stream_;
  const D3DSURFACE_DESC& level_;
  const D3DLOCKED_RECT& locked_;
  std::streamoff start_ = 0;
  TBMPHeaders headers_;
  uint8_t palette_[1024] = {};
  uint32_t srcBytes_ = 0;
  uint32_t dstBytes_ = 0;
  bool indexCopy_ = false;
};

uint64_t TBMPDecoder::Remaining() {
  const std::streampos here = stream_.tellg();
  if (here == std::streampos(-1)) return 0;
  stream_.seekg(0, std::ios::end);
  const std::streampos end = stream_.tellg();
  stream_.seekg(here);
  if (end == std::streampos(-1) || end < here || !stream_.good()) return 0;
  return uint64_t(end - here);
}

void TBMPDecoder::ConvertRow(const uint8_t* Source, uint8_t* Converted, uint32_t Pixels) const {
  const D3DFORMAT format = level_.Format;
  for (uint32_t x = 0; x < Pixels; ++x) {
    uint32_t pixel;
    if (indexCopy_) {
      pixel = Source[x];
    } else {
      switch (srcBytes_) {
        case 1: {
          const uint8_t* entry = &palette_[Source[x] * 4u];
          pixel = ComponentsToPixel(255, entry[2], entry[1], entry[0], format);
          break;
        }
        case 2: {
          const uint32_t value = Read16(&Source[x * 2]);
          const uint8_t a = (value & 0x8000) ? 255 : 0;
          pixel = ComponentsToPixel(a, uint8_t(ScaleComponent((value >> 10) & 31, 5)),
                                    uint8_t(ScaleComponent((value >> 5) & 31, 5)),
                                    uint8_t(ScaleComponent(value & 31, 5)), format);
          break;
        }
        case 3: {
          const uint8_t* p = &Source[x * 3];
          pixel = ComponentsToPixel(255, p[2], p[1], p[0], format);
          break;
        }
        default: pixel = ARGBToPixel(Read32(&Source[x * 4]), format); break;
      }
    }
    WritePixelBytes(&Converted[x * dstBytes_], pixel, int32_t(dstBytes_));
  }
}

void TBMPDecoder::Run() {
  start_ = stream_.tellg();
  if (start_ < 0 || !ReadBMPFileHeader(stream_, headers_)) {
    WriteLog(Jp("ビットマップの読みこみ中に、エラーが発生しました"));
    return;
  }
  if (headers_.Signature != kBMPSignature) {
    WriteLog(Jp("不正なBMPファイルです"));
    return;
  }
  if (!ReadBMPInfoHeader(stream_, headers_)) return ReadError();

  // Only whole-byte depths can be decoded; 1- and 4-bit pictures and odd counts are refused alike.
  const uint16_t bitCount = headers_.BitCount;
  if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    CheckResult(1, Jp("色数が8ビット～32ビットの範囲のビットマップを、LoadBMPには指定してください"));
    return;
  }
  // Run-length compressed 256-colour pictures are decoded; any other compressed form would be read as
  // rows of garbage.
  const bool rle8 = headers_.Compression == kBMPCompressionRLE8 && bitCount == 8;
  if (headers_.Compression != 0 && !rle8) return ReadError();
  dstBytes_ = uint32_t(FormatBitCount(level_.Format)) / 8;
  srcBytes_ = bitCount / 8u;

  if (level_.Format == D3DFMT_P8) {
    if (srcBytes_ > 1) {
      CheckResult(1, Jp("8ビットパレット付きテクスチャに対して16ビット以上のBMPをロードする事は出来ません"));
      return;
    }
    indexCopy_ = true;
  }
  if (srcBytes_ == 1 && !ReadBytes(stream_, palette_, sizeof palette_)) return ReadError();

  stream_.seekg(start_ + std::streamoff(headers_.PixelOffset));
  if (!stream_.good()) return ReadError();

  const uint64_t imageWidth = headers_.Width;
  const uint64_t imageHeight = headers_.Height;
  const uint64_t sourceRowSize = RoundUp4(imageWidth * srcBytes_);
  const uint64_t convertedRowSize = RoundUp4(imageWidth * dstBytes_);
  const uint64_t pitch = locked_.Pitch > 0 ? uint64_t(locked_.Pitch) : 0;
  // Never past the level's own row: the bytes beyond it are only the pitch's padding.
  const uint64_t copyBytes = std::min({convertedRowSize, pitch, uint64_t(level_.Width) * dstBytes_});
  const uint32_t rows = uint32_t(std::min<uint64_t>(level_.Height, imageHeight));
  const uint32_t pixels = uint32_t(std::min<uint64_t>(level_.Width, imageWidth));

  if (rle8) return DecodeRle8(rows, pixels, copyBytes, pitch);

  uint64_t available = Remaining();
  // Surplus rows are the image's bottom rows: skipped so the top edges meet.
  const uint64_t surplusRows = imageHeight - rows;
  if (surplusRows > 0) {
    if (sourceRowSize != 0 && surplusRows > available / sourceRowSize) return ReadError();
    stream_.seekg(std::streamoff(surplusRows * sourceRowSize), std::ios::cur);
    if (!stream_.good()) return ReadError();
    available -= surplusRows * sourceRowSize;
  }
  if (rows == 0) return;
  if (sourceRowSize > available) return ReadError();

  std::vector<uint8_t> sourceRow(static_cast<size_t>(sourceRowSize));
  std::vector<uint8_t> convertedRow(size_t(copyBytes), 0);
  uint8_t* const bits = static_cast<uint8_t*>(locked_.pBits);
  for (uint32_t r = 0; r < rows; ++r) {
    if (!ReadBytes(stream_, sourceRow.data(), sourceRowSize)) return ReadError();
    ConvertRow(sourceRow.data(), convertedRow.data(), pixels);
    const uint64_t y = rows - 1 - r;
    std::copy(convertedRow.begin(), convertedRow.end(), bits + y * pitch);
  }
}

void TBMPDecoder::DecodeRle8(uint32_t Rows, uint32_t Pixels, uint64_t CopyBytes, uint64_t Pitch) {
  std::string data(static_cast<size_t>(Remaining()), '\0');
  if (!ReadBytes(stream_, data.data(), data.size())) return ReadError();
  // The indices of the area: image rows beyond it (its bottom rows) and columns beyond it are dropped, so
  // that the top-left corners meet as for uncompressed rows.
  std::vector<uint8_t> Indices(size_t(Rows) * Pixels, 0);
  const uint64_t imageHeight = headers_.Height;
  const auto put = [&](uint32_t X, uint32_t Y, uint8_t Index) {
    const uint64_t row = imageHeight - 1 - Y;
    if (row < Rows && X < Pixels) Indices[size_t(row) * Pixels + X] = Index;
  };
  if (!DecodeBmpRle(data, 8, headers_.Width, headers_.Height, put)) return ReadError();
  std::vector<uint8_t> convertedRow(size_t(CopyBytes), 0);
  uint8_t* const bits = static_cast<uint8_t*>(locked_.pBits);
  for (uint32_t y = 0; y < Rows; ++y) {
    ConvertRow(Indices.data() + size_t(y) * Pixels, convertedRow.data(), Pixels);
    std::copy(convertedRow.begin(), convertedRow.end(), bits + y * Pitch);
  }
}

}  // namespace

bool ReadBMPFileHeader(std::istream& Stream, TBMPHeaders& Headers) {
  uint8_t bytes[kBMPFileHeaderSize];
  if (!ReadBytes(Stream, bytes, sizeof bytes)) return false;
  Headers.Signature = Read16(&bytes[0]);
  Headers.FileSize = Read32(&bytes[2]);
  Headers.PixelOffset = Read32(&bytes[10]);
  return true;
}

bool ReadBMPInfoHeader(std::istream& Stream, TBMPHeaders& Headers) {
  uint8_t bytes[kBMPInfoHeaderSize];
  if (!ReadBytes(Stream, bytes, sizeof bytes)) return false;
  Headers.InfoSize = Read32(&bytes[0]);
  Headers.Width = Read32(&bytes[4]);
  Headers.Height = Read32(&bytes[8]);
  Headers.Planes = Read16(&bytes[12]);
  Headers.BitCount = Read16(&bytes[14]);
  Headers.Compression = Read32(&bytes[16]);
  return true;
}

void LoadBMP(TDGTexture& Texture, std::istream& Stream) {
  IDirect3DTexture9* d3dTexture = Texture.Texture();
  if (d3dTexture == nullptr) throw Exception("LoadBMP: texture not allocated");

  D3DSURFACE_DESC Level{};
  D3DLOCKED_RECT Locked{0, nullptr};
  const HRESULT lockResult = [&] {
    const HRESULT descResult = d3dTexture->GetLevelDesc(0, &Level);
    if (FAILED(descResult)) return descResult;
    return d3dTexture->LockRect(0, &Locked, nullptr, 0);
  }();
  if (FAILED(lockResult) || Locked.pBits == nullptr) {
    CheckResult(FAILED(lockResult) ? lockResult : 1, Jp("LoadBMP中にサーフェスがロックできませんでした"));
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
    d3dTexture->UnlockRect(0);
    throw;
  }
  CheckResult(d3dTexture->UnlockRect(0), Jp("LoadBMP中にサーフェスがアンロックできませんでした"));
}
