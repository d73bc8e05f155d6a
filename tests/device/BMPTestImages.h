// BMP images assembled byte by byte for the texture and decoder tests, so a test can make any
// header field lie or cut the file anywhere.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace bmptest {

inline void Put16(std::string& Out, size_t At, uint16_t Value) {
  Out[At] = char(Value & 0xFF);
  Out[At + 1] = char(Value >> 8);
}
inline void Put32(std::string& Out, size_t At, uint32_t Value) {
  for (int i = 0; i < 4; ++i) Out[At + size_t(i)] = char((Value >> (8 * i)) & 0xFF);
}

// Headers for a Width x Height image of BitCount bits (plus a 1024-byte palette for 8 bits), with the
// pixel offset right after them; pixel rows are appended by the caller.
inline std::string Headers(uint32_t Width, uint32_t Height, uint16_t BitCount) {
  const uint32_t palette = BitCount == 8 ? 1024 : 0;
  std::string out(54 + palette, '\0');
  out[0] = 'B';
  out[1] = 'M';
  const uint32_t rowSize = ((Width * BitCount / 8) + 3) & ~3u;
  Put32(out, 2, 54 + palette + rowSize * Height);
  Put32(out, 10, 54 + palette);
  Put32(out, 14, 40);
  Put32(out, 18, Width);
  Put32(out, 22, Height);
  Put16(out, 26, 1);
  Put16(out, 28, BitCount);
  return out;
}

// A 24-bit image from rows of 0xRRGGBB given top row first; rows are stored bottom-up, padded to 4.
inline std::string Image24(const std::vector<std::vector<uint32_t>>& RowsTopDown) {
  const uint32_t height = uint32_t(RowsTopDown.size());
  const uint32_t width = height ? uint32_t(RowsTopDown[0].size()) : 0;
  std::string out = Headers(width, height, 24);
  for (uint32_t r = height; r-- > 0;) {
    std::string row;
    for (uint32_t rgb : RowsTopDown[r]) {
      row += char(rgb & 0xFF);
      row += char((rgb >> 8) & 0xFF);
      row += char((rgb >> 16) & 0xFF);
    }
    while (row.size() % 4) row += '\0';
    out += row;
  }
  return out;
}

// A 16-bit (A1R5G5B5) image from rows of 16-bit values, top row first.
inline std::string Image16(const std::vector<std::vector<uint16_t>>& RowsTopDown) {
  const uint32_t height = uint32_t(RowsTopDown.size());
  const uint32_t width = height ? uint32_t(RowsTopDown[0].size()) : 0;
  std::string out = Headers(width, height, 16);
  for (uint32_t r = height; r-- > 0;) {
    std::string row;
    for (uint16_t v : RowsTopDown[r]) {
      row += char(v & 0xFF);
      row += char(v >> 8);
    }
    while (row.size() % 4) row += '\0';
    out += row;
  }
  return out;
}

// A 32-bit image from rows of ARGB values, top row first.
inline std::string Image32(const std::vector<std::vector<uint32_t>>& RowsTopDown) {
  const uint32_t height = uint32_t(RowsTopDown.size());
  const uint32_t width = height ? uint32_t(RowsTopDown[0].size()) : 0;
  std::string out = Headers(width, height, 32);
  for (uint32_t r = height; r-- > 0;)
    for (uint32_t argb : RowsTopDown[r])
      for (int b = 0; b < 4; ++b) out += char((argb >> (8 * b)) & 0xFF);
  return out;
}

// An 8-bit image: palette entries as (blue, green, red, reserved) words 0x00RRGGBB, index rows top first.
inline std::string Image8(const std::vector<uint32_t>& Palette, const std::vector<std::vector<uint8_t>>& RowsTopDown) {
  const uint32_t height = uint32_t(RowsTopDown.size());
  const uint32_t width = height ? uint32_t(RowsTopDown[0].size()) : 0;
  std::string out = Headers(width, height, 8);
  for (size_t i = 0; i < Palette.size() && i < 256; ++i) Put32(out, 54 + i * 4, Palette[i]);
  for (uint32_t r = height; r-- > 0;) {
    std::string row(RowsTopDown[r].begin(), RowsTopDown[r].end());
    while (row.size() % 4) row += '\0';
    out += row;
  }
  return out;
}

// A run-length compressed image: RLE8 for 8 bits, RLE4 for 4, with the palette's entries (0x00RRGGBB) and the
// codes as given.
inline std::string RleImage(uint32_t Width, uint32_t Height, uint16_t BitCount, const std::vector<uint32_t>& Palette,
                            const std::string& Codes) {
  std::string out = Headers(Width, Height, 24).substr(0, 54);
  const uint32_t offset = uint32_t(54 + Palette.size() * 4);
  Put32(out, 2, offset + uint32_t(Codes.size()));
  Put32(out, 10, offset);
  Put16(out, 28, BitCount);
  Put32(out, 30, BitCount == 8 ? 1 : 2);
  Put32(out, 34, uint32_t(Codes.size()));
  Put32(out, 46, uint32_t(Palette.size()));
  out.resize(offset, '\0');
  for (size_t i = 0; i < Palette.size(); ++i) Put32(out, 54 + i * 4, Palette[i]);
  return out + Codes;
}

}  // namespace bmptest
