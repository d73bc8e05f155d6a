#include "RasterBitmap.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <sstream>

#include "BmpRle.h"
#include "Exception.h"
#include "FileSystem.h"
#include "TextEncoding.h"

namespace {

// Bounds for untrusted pictures: no allocation beyond these, whatever the header claims.
constexpr int32_t kMaxSide = 32768;
constexpr int64_t kMaxPixels = int64_t{1} << 25;
constexpr std::streamsize kMaxFileBytes = int64_t{256} << 20;

class TByteReader {
 public:
  explicit TByteReader(std::string_view Bytes) : bytes_(Bytes) {}
  bool Has(size_t Offset, size_t Count) const { return Offset <= bytes_.size() && Count <= bytes_.size() - Offset; }
  uint8_t U8(size_t At) const { return static_cast<uint8_t>(bytes_[At]); }
  uint16_t U16(size_t At) const { return static_cast<uint16_t>(U8(At) | U8(At + 1) << 8); }
  uint32_t U32(size_t At) const {
    return static_cast<uint32_t>(U8(At)) | static_cast<uint32_t>(U8(At + 1)) << 8 |
           static_cast<uint32_t>(U8(At + 2)) << 16 | static_cast<uint32_t>(U8(At + 3)) << 24;
  }
  int32_t I32(size_t At) const { return static_cast<int32_t>(U32(At)); }

 private:
  std::string_view bytes_;
};

// One colour channel given by a bit mask, widened to 8 bits.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;
  explicit TChannel(uint32_t ChannelMask) : Mask(ChannelMask) {
    if (Mask == 0) return;
    while (((Mask >> Shift) & 1) == 0) ++Shift;
    Max = Mask >> Shift;
  }
  uint32_t Read(uint32_t Value) const {
    if (Max == 0) return 0;
    return static_cast<uint32_t>((static_cast<uint64_t>((Value & Mask) >> Shift) * 255) / Max);
  }
};

void PutU16(std::string& Out, uint16_t V) {
  Out.push_back(static_cast<char>(V & 0xFF));
  Out.push_back(static_cast<char>(V >> 8));
}
void PutU32(std::string& Out, uint32_t V) {
  for (int i = 0; i < 4; ++i) Out.push_back(static_cast<char>((V >> (8 * i)) & 0xFF));
}

}  // namespace

TRasterBitmap::TRasterBitmap(int32_t Width, int32_t Height) { SetSize(Width, Height); }

void TRasterBitmap::SetSize(int32_t Width, int32_t Height) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width > kMaxSide || Height > kMaxSide || int64_t{Width} * Height > kMaxPixels) {
    throw Exception(Jp("ビットマップが大きすぎます (") + std::to_string(Width) + " x " + std::to_string(Height) + ")");
  }
  width_ = Width;
  height_ = Height;
  pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
}

uint32_t TRasterBitmap::Pixel(int32_t X, int32_t Y) const {
  if (X < 0 || Y < 0 || X >= width_ || Y >= height_) return 0;
  return pixels_[static_cast<size_t>(Y) * width_ + X];
}

void TRasterBitmap::SetPixel(int32_t X, int32_t Y, uint32_t Rgb) {
  if (X < 0 || Y < 0 || X >= width_ || Y >= height_) return;
  pixels_[static_cast<size_t>(Y) * width_ + X] = Rgb & 0xFFFFFF;
}

void TRasterBitmap::LoadFromFile(const std::string& FileName) {
  std::ifstream in = OpenFileForReading(FileName);
  if (!in) throw Exception(Jp("ビットマップファイルを開けません (") + DisplayName(FileName) + ")");
  in.seekg(0, std::ios::end);
  std::streamsize size = in.tellg();
  if (size < 0) throw Exception(Jp("ビットマップ画像として読み込めません (") + DisplayName(FileName) + ")");
  if (size > kMaxFileBytes) throw Exception(Jp("ビットマップが大きすぎます (") + DisplayName(FileName) + ")");
  in.seekg(0, std::ios::beg);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (size > 0 && !in.read(bytes.data(), size)) {
    throw Exception(Jp("ビットマップファイルを読み込めません (") + DisplayName(FileName) + ")");
  }
  LoadFromBytes(bytes, DisplayName(FileName));
}

void TRasterBitmap::LoadFromBytes(std::string_view Bytes, const std::string& Name) {
  auto invalid = [&Name]() { return Exception(Jp("ビットマップ画像として読み込めません (") + Name + ")"); };
  TByteReader r(Bytes);
  if (!r.Has(0, 18) || Bytes[0] != 'B' || Bytes[1] != 'M') throw invalid();
  uint32_t dataOffset = r.U32(10);
  uint32_t headerSize = r.U32(14);
  if (headerSize != 12 && (headerSize < 40 || headerSize > 1024)) throw invalid();
  if (!r.Has(14, headerSize)) throw invalid();

  int64_t width = 0;
  int64_t height = 0;
  uint32_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  size_t paletteEntrySize = 4;
  if (headerSize == 12) {  // OS/2 core header
    width = r.U16(18);
    height = r.U16(20);
    bitCount = r.U16(24);
    paletteEntrySize = 3;
  } else {
    width = r.I32(18);
    height = r.I32(22);
    bitCount = r.U16(28);
    compression = r.U32(30);
    colorsUsed = r.U32(46);
  }
  bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0) throw invalid();
  if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
    throw Exception(Jp("ビットマップが大きすぎます (") + Name + " " + std::to_string(width) + " x " +
                    std::to_string(height) + ")");
  }
  bool bitFields = compression == 3 || compression == 6;
  bool rle =
      (compression == kBMPCompressionRLE8 && bitCount == 8) || (compression == kBMPCompressionRLE4 && bitCount == 4);
  if (compression != 0 && !bitFields && !rle) throw invalid();  // embedded JPEG/PNG are not read
  if (rle && topDown) throw invalid();                          // compressed data is stored bottom-up only
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    throw invalid();
  }
  if (bitFields && bitCount != 16 && bitCount != 32) throw invalid();

  // Colour masks: in a long header, or right after a 40-byte one.
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (bitCount == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  }
  size_t afterHeader = 14 + static_cast<size_t>(headerSize);
  if (bitFields) {
    size_t at = headerSize >= 52 ? 54 : afterHeader;
    if (!r.Has(at, 12)) throw invalid();
    for (int i = 0; i < 3; ++i) masks[i] = r.U32(at + 4 * i);
    if (headerSize < 52) afterHeader += compression == 6 ? 16 : 12;
  }
  TChannel red(masks[0]), green(masks[1]), blue(masks[2]);

  std::vector<uint32_t> palette;
  if (bitCount <= 8) {
    size_t maxEntries = size_t{1} << bitCount;
    size_t entries = colorsUsed == 0 ? maxEntries : std::min<size_t>(colorsUsed, maxEntries);
    if (!r.Has(afterHeader, entries * paletteEntrySize)) throw invalid();
    palette.resize(maxEntries, 0);  // indices past the stored palette read black
    for (size_t i = 0; i < entries; ++i) {
      size_t at = afterHeader + i * paletteEntrySize;
      palette[i] = static_cast<uint32_t>(r.U8(at + 2)) << 16 | static_cast<uint32_t>(r.U8(at + 1)) << 8 | r.U8(at);
    }
  }

  TRasterBitmap result(static_cast<int32_t>(width), static_cast<int32_t>(height));
  if (rle) {
    if (!r.Has(dataOffset, 0)) throw invalid();
    // Pixels the data skips keep the first palette colour, as a zeroed index would give.
    std::fill(result.pixels_.begin(), result.pixels_.end(), palette[0]);
    const auto put = [&](uint32_t X, uint32_t Y, uint8_t Index) {
      result.pixels_[static_cast<size_t>(height - 1 - Y) * result.width_ + X] = palette[Index];
    };
    if (!DecodeBmpRle(Bytes.substr(dataOffset), static_cast<int>(bitCount), static_cast<uint32_t>(width),
                      static_cast<uint32_t>(height), put)) {
      throw invalid();
    }
    width_ = result.width_;
    height_ = result.height_;
    pixels_ = std::move(result.pixels_);
    return;
  }

  size_t stride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
  if (!r.Has(dataOffset, stride * static_cast<size_t>(height))) throw invalid();

  for (int64_t row = 0; row < height; ++row) {
    size_t rowStart = dataOffset + stride * static_cast<size_t>(row);
    int32_t y = static_cast<int32_t>(topDown ? row : height - 1 - row);
    uint32_t* dst = &result.pixels_[static_cast<size_t>(y) * result.width_];
    for (int64_t x = 0; x < width; ++x) {
      uint32_t rgb = 0;
      switch (bitCount) {
        case 1:
        case 4:
        case 8: {
          size_t bit = static_cast<size_t>(x) * bitCount;
          uint8_t byte = r.U8(rowStart + bit / 8);
          unsigned shift = 8 - bitCount - (bit % 8);
          rgb = palette[(byte >> shift) & ((1u << bitCount) - 1)];
          break;
        }
        case 16: {
          uint32_t v = r.U16(rowStart + 2 * x);
          rgb = red.Read(v) << 16 | green.Read(v) << 8 | blue.Read(v);
          break;
        }
        case 24: {
          size_t at = rowStart + 3 * x;
          rgb = static_cast<uint32_t>(r.U8(at + 2)) << 16 | static_cast<uint32_t>(r.U8(at + 1)) << 8 | r.U8(at);
          break;
        }
        case 32: {
          uint32_t v = r.U32(rowStart + 4 * x);
          rgb = red.Read(v) << 16 | green.Read(v) << 8 | blue.Read(v);
          break;
        }
      }
      dst[x] = rgb;
    }
  }
  width_ = result.width_;
  height_ = result.height_;
  pixels_ = std::move(result.pixels_);
}

void TRasterBitmap::CopyRect(int32_t DstX, int32_t DstY, const TRasterBitmap& Source, int32_t SrcX, int32_t SrcY,
                             int32_t Width, int32_t Height) {
  for (int64_t j = 0; j < Height; ++j) {
    int64_t sy = int64_t{SrcY} + j;
    int64_t dy = int64_t{DstY} + j;
    if (sy < 0 || sy >= Source.height_ || dy < 0 || dy >= height_) continue;
    for (int64_t i = 0; i < Width; ++i) {
      int64_t sx = int64_t{SrcX} + i;
      int64_t dx = int64_t{DstX} + i;
      if (sx < 0 || sx >= Source.width_ || dx < 0 || dx >= width_) continue;
      pixels_[static_cast<size_t>(dy) * width_ + dx] = Source.pixels_[static_cast<size_t>(sy) * Source.width_ + sx];
    }
  }
}

std::string TRasterBitmap::SaveToBytes() const {
  size_t stride = (static_cast<size_t>(width_) * 3 + 3) / 4 * 4;
  size_t imageSize = stride * height_;
  std::string out;
  out.reserve(54 + imageSize);
  out += "BM";
  PutU32(out, static_cast<uint32_t>(54 + imageSize));
  PutU16(out, 0);
  PutU16(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(width_));
  PutU32(out, static_cast<uint32_t>(height_));
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);
  PutU32(out, static_cast<uint32_t>(imageSize));
  for (int i = 0; i < 4; ++i) PutU32(out, 0);
  for (int32_t y = height_ - 1; y >= 0; --y) {
    const uint32_t* row = &pixels_[static_cast<size_t>(y) * width_];
    for (int32_t x = 0; x < width_; ++x) {
      out.push_back(static_cast<char>(row[x] & 0xFF));
      out.push_back(static_cast<char>((row[x] >> 8) & 0xFF));
      out.push_back(static_cast<char>((row[x] >> 16) & 0xFF));
    }
    out.append(stride - static_cast<size_t>(width_) * 3, '\0');
  }
  return out;
}

void TRasterBitmap::SaveToStream(std::ostream& Out) const {
  std::string bytes = SaveToBytes();
  Out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TRasterBitmap::SaveToFile(const std::string& FileName) const {
  std::ofstream out(FileName, std::ios::binary);
  SaveToStream(out);
  if (!out) throw Exception(Jp("ビットマップファイルを書き込めません (") + DisplayName(FileName) + ")");
}

void TRasterBitmap::FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, uint32_t Rgb) {
  Left = std::max(Left, 0);
  Top = std::max(Top, 0);
  Right = std::min(Right, width_);
  Bottom = std::min(Bottom, height_);
  for (int32_t y = Top; y < Bottom; ++y) {
    std::fill_n(&pixels_[static_cast<size_t>(y) * width_ + Left], std::max(Right - Left, 0), Rgb & 0xFFFFFF);
  }
}

void TRasterBitmap::MoveTo(int32_t X, int32_t Y) {
  penX_ = X;
  penY_ = Y;
}

// A pen of width w covers a w x w block around each point of the line (up-left of centre for even widths).
void TRasterBitmap::Stamp(int32_t X, int32_t Y) {
  int32_t from = -(penWidth_ / 2);
  for (int32_t dy = from; dy < from + penWidth_; ++dy) {
    for (int32_t dx = from; dx < from + penWidth_; ++dx) SetPixel(X + dx, Y + dy, penColor_);
  }
}

void TRasterBitmap::LineTo(int32_t X, int32_t Y) {
  // Bresenham from the pen position; the end point itself is not drawn, as the platform's line does.
  int64_t x0 = penX_, y0 = penY_;
  int64_t dx = std::abs(int64_t{X} - x0), dy = -std::abs(int64_t{Y} - y0);
  int64_t sx = x0 < X ? 1 : -1, sy = y0 < Y ? 1 : -1;
  int64_t err = dx + dy;
  while (x0 != X || y0 != Y) {
    if (x0 >= -penWidth_ && x0 <= width_ + penWidth_ && y0 >= -penWidth_ && y0 <= height_ + penWidth_) {
      Stamp(static_cast<int32_t>(x0), static_cast<int32_t>(y0));
    }
    int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  MoveTo(X, Y);
}
