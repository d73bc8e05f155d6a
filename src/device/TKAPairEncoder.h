// Byte-pair encoder producing exactly what TKAPairExpander reads: the data is cut into blocks small
// enough to leave byte values unused, and in each block the most frequent pair of adjacent codes is
// replaced by an unused value again and again while that still saves space.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

class TKAPairEncoder {
 public:
  static std::vector<uint8_t> Pack(std::span<const uint8_t> Data);

  // Block limits: a block ends at kMaxBlockSize bytes or before the byte that would make it use more
  // than kMaxDistinct different values, so at least 256 - kMaxDistinct codes are free for pairs.
  static constexpr size_t kMaxBlockSize = 8192;
  static constexpr int kMaxDistinct = 224;
  // A pair is replaced only when it occurs this often: each replacement costs two or three table bytes.
  static constexpr uint32_t kMinPairCount = 4;

 private:
  TKAPairEncoder() : counts_(65536, 0) {}
  void PackBlock(std::span<const uint8_t> Block, const std::array<bool, 256>& Present, std::vector<uint8_t>& Out);
  // Counts pairs in block_ the way a left-to-right replacement would meet them; returns the best.
  uint32_t MostFrequentPair(uint8_t& A, uint8_t& B);
  void ReplacePair(uint8_t A, uint8_t B, uint8_t Code);
  void WritePairTable(std::vector<uint8_t>& Out) const;
  void WriteEntry(int Code, std::vector<uint8_t>& Out) const;

  std::vector<uint32_t> counts_;
  std::vector<uint8_t> block_;
  std::array<uint8_t, 256> left_{};
  std::array<uint8_t, 256> right_{};
};
