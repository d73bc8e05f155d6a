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
  explicit TByteReader(std::string_view bytes) : bytes_(bytes) {}
  bool Has(size_t offset, size_t count) const { return offset <= bytes_.size() && count <= bytes_.size() - offset; }
  uint8_t U8(size_t at) const { return static_cast<uint8_t>(bytes_[at]); }
  uint16_t U16(size_t at) const { return static_cast<uint16_t>(U8(at) | U8(at + 1) << 8); }
  uint32_t U32(size_t at) const {
    return static_cast<uint32_t>(U8(at)) | static_cast<uint32_t>(U8(at + 1)) << 8 |
           static_cast<uint32_t>(U8(at + 2)) << 16 | static_cast<uint32_t>(U8(at + 3)) << 24;
  }
  int32_t I32(size_t at) const { return static_cast<int32_t>(U32(at)); }

 private:
  std::string_view bytes_;
};

// One colour channel given by a bit mask, widened to 8 bits.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;
  explicit TChannel(uint32_t mask) : Mask(mask) {
    if (mask == 0) return;
    while (((mask >> Shift) & 1) == 0) ++Shift;
    Max = mask >> Shift;
  }
  uint32_t Read(uint32_t value) const {
    if (Max == 0) return 0;
    return static_cast<uint32_t>((static_cast<uint64_t>((value & Mask) >> Shift) * 255) / Max);
  }
};

void PutU16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

TRasterBitmap::TRasterBitmap(int32_t width, int32_t height) { SetSize(width, height); }

void TRasterBitmap::SetSize(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width > kMaxSide || height > kMaxSide || int64_t{width} * height > kMaxPixels) {
    throw Exception(Jp("ビットマップが大きすぎます (") + std::to_string(width) + " x " + std::to_string(height) + ")");
  }
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
}

uint32_t TRasterBitmap::Pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void TRasterBitmap::SetPixel(int32_t x, int32_t y, uint32_t rgb) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = rgb & 0xFFFFFF;
}

void TRasterBitmap::LoadFromFile(const std::string& fileName) {
  std::ifstream in = OpenFileForReading(fileName);
  if (!in) throw Exception(Jp("ビットマップファイルを開けません (") + DisplayName(fileName) + ")");
  in.seekg(0, std::ios::end);
  std::streamsize size = in.tellg();
  if (size < 0) throw Exception(Jp("ビットマップ画像として読み込めません (") + DisplayName(fileName) + ")");
  if (size > kMaxFileBytes) throw Exception(Jp("ビットマップが大きすぎます (") + DisplayName(fileName) + ")");
  in.seekg(0, std::ios::beg);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (size > 0 && !in.read(bytes.data(), size)) {
    throw Exception(Jp("ビットマップファイルを読み込めません (") + DisplayName(fileName) + ")");
  }
  LoadFromBytes(bytes, DisplayName(fileName));
}

void TRasterBitmap::LoadFromBytes(std::string_view bytes, const std::string& name) {
  auto invalid = [&name]() { return Exception(Jp("ビットマップ画像として読み込めません (") + name + ")"); };
  TByteReader r(bytes);
  if (!r.Has(0, 18) || bytes[0] != 'B' || bytes[1] != 'M') throw invalid();
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
    throw Exception(Jp("ビットマップが大きすぎます (") + name + " " + std::to_string(width) + " x " +
                    std::to_string(height) + ")");
  }
  bool bitFields = compression == 3 || compression == 6;
  bool rle =
      (compression == BMPCompressionRLE8 && bitCount == 8) || (compression == BMPCompressionRLE4 && bitCount == 4);
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
    const auto put = [&](uint32_t x, uint32_t y, uint8_t index) {
      result.pixels_[static_cast<size_t>(height - 1 - y) * result.width_ + x] = palette[index];
    };
    if (!DecodeBmpRle(bytes.substr(dataOffset), static_cast<int>(bitCount), static_cast<uint32_t>(width),
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

void TRasterBitmap::CopyRect(int32_t dstX, int32_t dstY, const TRasterBitmap& source, int32_t srcX, int32_t srcY,
                             int32_t width, int32_t height) {
  for (int64_t j = 0; j < height; ++j) {
    int64_t sy = int64_t{srcY} + j;
    int64_t dy = int64_t{dstY} + j;
    if (sy < 0 || sy >= source.height_ || dy < 0 || dy >= height_) continue;
    for (int64_t i = 0; i < width; ++i) {
      int64_t sx = int64_t{srcX} + i;
      int64_t dx = int64_t{dstX} + i;
      if (sx < 0 || sx >= source.width_ || dx < 0 || dx >= width_) continue;
      pixels_[static_cast<size_t>(dy) * width_ + dx] = source.pixels_[static_cast<size_t>(sy) * source.width_ + sx];
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

void TRasterBitmap::SaveToStream(std::ostream& out) const {
  std::string bytes = SaveToBytes();
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TRasterBitmap::SaveToFile(const std::string& fileName) const {
  std::ofstream out(fileName, std::ios::binary);
  SaveToStream(out);
  if (!out) throw Exception(Jp("ビットマップファイルを書き込めません (") + DisplayName(fileName) + ")");
}

void TRasterBitmap::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t rgb) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  for (int32_t y = top; y < bottom; ++y) {
    std::fill_n(&pixels_[static_cast<size_t>(y) * width_ + left], std::max(right - left, 0), rgb & 0xFFFFFF);
  }
}

void TRasterBitmap::MoveTo(int32_t x, int32_t y) {
  penX_ = x;
  penY_ = y;
}

// A pen of width w covers a w x w block around each point of the line (up-left of centre for even widths).
void TRasterBitmap::Stamp(int32_t x, int32_t y) {
  int32_t from = -(penWidth_ / 2);
  for (int32_t dy = from; dy < from + penWidth_; ++dy) {
    for (int32_t dx = from; dx < from + penWidth_; ++dx) SetPixel(x + dx, y + dy, penColor_);
  }
}

void TRasterBitmap::LineTo(int32_t x, int32_t y) {
  // Bresenham from the pen position; the end point itself is not drawn, as the platform's line does.
  int64_t x0 = penX_, y0 = penY_;
  int64_t dx = std::abs(int64_t{x} - x0), dy = -std::abs(int64_t{y} - y0);
  int64_t sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
  int64_t err = dx + dy;
  while (x0 != x || y0 != y) {
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
  MoveTo(x, y);
}
