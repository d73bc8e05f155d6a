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

class TTempDir {
 public:
  TTempDir() {
    std::random_device rd;
    path_ =
        std::filesystem::temp_directory_path() / ("morvanth-data-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  // With a trailing delimiter, as the game's folder strings are.
  std::string Dir() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& Path, const std::string& Bytes) {
  std::filesystem::create_directories(Path.parent_path());
  std::ofstream out(Path, std::ios::binary);
  out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
}

// The whole file; "" when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& Path) {
  std::ifstream in(Path, std::ios::binary);
  std::string bytes;
  std::copy(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), std::back_inserter(bytes));
  return bytes;
}

inline void PutU16(std::string& S, uint32_t V) {
  S.push_back(static_cast<char>(V & 0xFF));
  S.push_back(static_cast<char>((V >> 8) & 0xFF));
}
inline void PutU32(std::string& S, uint32_t V) {
  for (int i = 0; i < 4; ++i) S.push_back(static_cast<char>((V >> (8 * i)) & 0xFF));
}

// A bottom-up BMP with the given bit count. Pixels are given top row first: up to 8 bits palette indices,
// for 16 bits raw X1R5G5B5 values, for 24/32 bits 0x(AA)RRGGBB values.
inline std::string MakeBmp(int Width, int Height, int Bits, const std::vector<uint32_t>& Pixels,
                           const std::vector<uint32_t>& Palette = {}) {
  size_t stride = ((static_cast<size_t>(Width) * Bits + 31) / 32) * 4;
  size_t paletteBytes = Bits <= 8 ? Palette.size() * 4 : 0;
  size_t offset = 54 + paletteBytes;
  std::string s = "BM";
  PutU32(s, static_cast<uint32_t>(offset + stride * Height));
  PutU32(s, 0);
  PutU32(s, static_cast<uint32_t>(offset));
  PutU32(s, 40);
  PutU32(s, static_cast<uint32_t>(Width));
  PutU32(s, static_cast<uint32_t>(Height));
  PutU16(s, 1);
  PutU16(s, static_cast<uint32_t>(Bits));
  PutU32(s, 0);
  PutU32(s, static_cast<uint32_t>(stride * Height));
  PutU32(s, 0);
  PutU32(s, 0);
  PutU32(s, Bits <= 8 ? static_cast<uint32_t>(Palette.size()) : 0);
  PutU32(s, 0);
  if (Bits <= 8) {
    for (uint32_t c : Palette) PutU32(s, c);  // B, G, R, reserved
  }
  for (int y = Height - 1; y >= 0; --y) {
    std::string row;
    if (Bits < 8) row.assign(stride, '\0');
    for (int x = 0; x < Width; ++x) {
      uint32_t v = Pixels[static_cast<size_t>(y) * Width + x];
      if (Bits < 8) {
        size_t bit = static_cast<size_t>(x) * Bits;
        row[bit / 8] = static_cast<char>(row[bit / 8] | (v << (8 - Bits - bit % 8)));
      }
      if (Bits == 8) row.push_back(static_cast<char>(v));
      if (Bits == 16) PutU16(row, v);
      if (Bits == 24) {
        row.push_back(static_cast<char>(v & 0xFF));
        row.push_back(static_cast<char>((v >> 8) & 0xFF));
        row.push_back(static_cast<char>((v >> 16) & 0xFF));
      }
      if (Bits == 32) PutU32(row, v);
    }
    row.resize(stride, '\0');
    s += row;
  }
  return s;
}

// A 24-bit picture of one colour.
inline std::string MakeSolidBmp(int Width, int Height, uint32_t Rgb) {
  return MakeBmp(Width, Height, 24, std::vector<uint32_t>(static_cast<size_t>(Width) * Height, Rgb));
}

}  // namespace datatest
