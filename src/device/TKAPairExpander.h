// Expansion of byte-pair-encoded data: a sequence of blocks, each a pair table, a 32-bit block length
// and that many packed bytes.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

class TKAPairExpander {
 public:
  // Expands every block of `Packed` into exactly `ItemSize` bytes. Output that falls short is padded
  // with zeros (the item size is what callers see); data that expands to more, a pair table or block
  // that is cut short, pairs that refer to themselves and an item size above TKAFormat::MaxItemSize
  // raise ETKAError. Work and memory are bounded by the item size: a pair is walked once per block and
  // its later uses copy the bytes it already wrote.
  static std::vector<uint8_t> Expand(std::span<const uint8_t> Packed, uint32_t ItemSize);

 private:
  TKAPairExpander(std::span<const uint8_t> Packed, uint32_t ItemSize);
  void ExpandBlock();
  void ReadPairTable();
  uint8_t NextTableByte();
  void ExpandCode(uint8_t Code);
  void ExpandPair(uint8_t Code);
  void CheckPair(uint8_t Code);
  void Emit(uint8_t Byte);
  void CopyWritten(size_t Offset, uint32_t Length);

  // The format's expansion stack: data nesting deeper than it could hold is invalid.
  static constexpr int kStackSize = 256;
  enum class TCheck : uint8_t { Unknown, InProgress, Done };

  std::span<const uint8_t> packed_;
  size_t position_ = 0;
  uint32_t itemSize_;
  std::vector<uint8_t> output_;
  std::array<uint8_t, 256> left_{};
  std::array<uint8_t, 256> right_{};
  // Per block: how far each pair code has been checked, and the stack bytes its expansion needs.
  std::array<TCheck, 256> check_{};
  std::array<uint16_t, 256> depth_{};
  // Per block: where each pair's expansion was first written to the output, and its length (0 until then).
  std::array<size_t, 256> writtenAt_{};
  std::array<uint32_t, 256> writtenLength_{};
};
