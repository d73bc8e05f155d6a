// Test support for the definition loaders: a fresh temporary folder, file writing and BMP images built
// in code (fixture skins are made by the tests themselves).
#pragma once
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace datatest {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ =
        std::filesystem::temp_directory_path() / ("morvanth-data-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  // With a trailing delimiter, as the game's folder strings are.
  std::string Dir() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The whole file; "" when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  std::copy(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), std::back_inserter(bytes));
  return bytes;
}

inline void PutU16(std::string& s, uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void PutU32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A bottom-up BMP with the given bit count. Pixels are given top row first: up to 8 bits palette indices,
// for 16 bits raw X1R5G5B5 values, for 24/32 bits 0x(AA)RRGGBB values.
inline std::string MakeBmp(int width, int height, int bits, const std::vector<uint32_t>& pixels,
                           const std::vector<uint32_t>& palette = {}) {
  size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  size_t paletteBytes = bits <= 8 ? palette.size() * 4 : 0;
  size_t offset = 54 + paletteBytes;
  std::string s = "BM";
  PutU32(s, static_cast<uint32_t>(offset + stride * height));
  PutU32(s, 0);
  PutU32(s, static_cast<uint32_t>(offset));
  PutU32(s, 40);
  PutU32(s, static_cast<uint32_t>(width));
  PutU32(s, static_cast<uint32_t>(height));
  PutU16(s, 1);
  PutU16(s, static_cast<uint32_t>(bits));
  PutU32(s, 0);
  PutU32(s, static_cast<uint32_t>(stride * height));
  PutU32(s, 0);
  PutU32(s, 0);
  PutU32(s, bits <= 8 ? static_cast<uint32_t>(palette.size()) : 0);
  PutU32(s, 0);
  if (bits <= 8) {
    for (uint32_t c : palette) PutU32(s, c);  // B, G, R, reserved
  }
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    if (bits < 8) row.assign(stride, '\0');
    for (int x = 0; x < width; ++x) {
      uint32_t v = pixels[static_cast<size_t>(y) * width + x];
      if (bits < 8) {
        size_t bit = static_cast<size_t>(x) * bits;
        row[bit / 8] = static_cast<char>(row[bit / 8] | (v << (8 - bits - bit % 8)));
      }
      if (bits == 8) row.push_back(static_cast<char>(v));
      if (bits == 16) PutU16(row, v);
      if (bits == 24) {
        row.push_back(static_cast<char>(v & 0xFF));
        row.push_back(static_cast<char>((v >> 8) & 0xFF));
        row.push_back(static_cast<char>((v >> 16) & 0xFF));
      }
      if (bits == 32) PutU32(row, v);
    }
    row.resize(stride, '\0');
    s += row;
  }
  return s;
}

// A 24-bit picture of one colour.
inline std::string MakeSolidBmp(int width, int height, uint32_t rgb) {
  return MakeBmp(width, height, 24, std::vector<uint32_t>(static_cast<size_t>(width) * height, rgb));
}

}  // namespace datatest
