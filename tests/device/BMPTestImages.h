// BMP images assembled byte by byte for the texture and decoder tests, so a test can make any
// header field lie or cut the file anywhere.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace bmptest {

inline void Put16(std::string& out, size_t at, uint16_t value) {
  out[at] = char(value & 0xFF);
  out[at + 1] = char(value >> 8);
}
inline void Put32(std::string& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

// Headers for a Width x Height image of BitCount bits (plus a 1024-byte palette for 8 bits), with the
// pixel offset right after them; pixel rows are appended by the caller.
inline std::string Headers(uint32_t width, uint32_t height, uint16_t bitCount) {
  const uint32_t palette = bitCount == 8 ? 1024 : 0;
  std::string out(54 + palette, '\0');
  out[0] = 'B';
  out[1] = 'M';
  const uint32_t rowSize = ((width * bitCount / 8) + 3) & ~3u;
  Put32(out, 2, 54 + palette + rowSize * height);
  Put32(out, 10, 54 + palette);
  Put32(out, 14, 40);
  Put32(out, 18, width);
  Put32(out, 22, height);
  Put16(out, 26, 1);
  Put16(out, 28, bitCount);
  return out;
}

// A 24-bit image from rows of 0xRRGGBB given top row first; rows are stored bottom-up, padded to 4.
inline std::string Image24(const std::vector<std::vector<uint32_t>>& rowsTopDown) {
  const uint32_t height = uint32_t(rowsTopDown.size());
  const uint32_t width = height ? uint32_t(rowsTopDown[0].size()) : 0;
  std::string out = Headers(width, height, 24);
  for (uint32_t r = height; r-- > 0;) {
    std::string row;
    for (uint32_t rgb : rowsTopDown[r]) {
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
inline std::string Image16(const std::vector<std::vector<uint16_t>>& rowsTopDown) {
  const uint32_t height = uint32_t(rowsTopDown.size());
  const uint32_t width = height ? uint32_t(rowsTopDown[0].size()) : 0;
  std::string out = Headers(width, height, 16);
  for (uint32_t r = height; r-- > 0;) {
    std::string row;
    for (uint16_t v : rowsTopDown[r]) {
      row += char(v & 0xFF);
      row += char(v >> 8);
    }
    while (row.size() % 4) row += '\0';
    out += row;
  }
  return out;
}

// A 32-bit image from rows of ARGB values, top row first.
inline std::string Image32(const std::vector<std::vector<uint32_t>>& rowsTopDown) {
  const uint32_t height = uint32_t(rowsTopDown.size());
  const uint32_t width = height ? uint32_t(rowsTopDown[0].size()) : 0;
  std::string out = Headers(width, height, 32);
  for (uint32_t r = height; r-- > 0;)
    for (uint32_t argb : rowsTopDown[r])
      for (int b = 0; b < 4; ++b) out += char((argb >> (8 * b)) & 0xFF);
  return out;
}

// An 8-bit image: palette entries as (blue, green, red, reserved) words 0x00RRGGBB, index rows top first.
inline std::string Image8(const std::vector<uint32_t>& palette, const std::vector<std::vector<uint8_t>>& rowsTopDown) {
  const uint32_t height = uint32_t(rowsTopDown.size());
  const uint32_t width = height ? uint32_t(rowsTopDown[0].size()) : 0;
  std::string out = Headers(width, height, 8);
  for (size_t i = 0; i < palette.size() && i < 256; ++i) Put32(out, 54 + i * 4, palette[i]);
  for (uint32_t r = height; r-- > 0;) {
    std::string row(rowsTopDown[r].begin(), rowsTopDown[r].end());
    while (row.size() % 4) row += '\0';
    out += row;
  }
  return out;
}

// A run-length compressed image: RLE8 for 8 bits, RLE4 for 4, with the palette's entries (0x00RRGGBB) and the
// codes as given.
inline std::string RleImage(uint32_t width, uint32_t height, uint16_t bitCount, const std::vector<uint32_t>& palette,
                            const std::string& codes) {
  std::string out = Headers(width, height, 24).substr(0, 54);
  const uint32_t offset = uint32_t(54 + palette.size() * 4);
  Put32(out, 2, offset + uint32_t(codes.size()));
  Put32(out, 10, offset);
  Put16(out, 28, bitCount);
  Put32(out, 30, bitCount == 8 ? 1 : 2);
  Put32(out, 34, uint32_t(codes.size()));
  Put32(out, 46, uint32_t(palette.size()));
  out.resize(offset, '\0');
  for (size_t i = 0; i < palette.size(); ++i) Put32(out, 54 + i * 4, palette[i]);
  return out + codes;
}

}  // namespace bmptest
