// Hand-assembled archive files for the reader's tests: every field is written explicitly, so a test
// can state exactly which header, directory or data bytes are wrong.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tka_test {

inline void PutUInt32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  if (out.size() < at + 4) out.resize(at + 4, 0);
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> out;
  for (int v : values) out.push_back(static_cast<uint8_t>(v));
  return out;
}

inline std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

struct RawEntry {
  uint32_t Offset;
  uint32_t StoredSize;
  uint32_t ItemSize;
  std::string ID;  // written into the 256-byte field; longer text is cut at 256 bytes
};

// Header with `flag` and `count`, then the directory entries, then nothing: data is appended by the test.
inline std::vector<uint8_t> Archive(uint32_t flag, uint32_t count, const std::vector<RawEntry>& entries) {
  std::vector<uint8_t> out(256 + entries.size() * 268, 0);
  PutUInt32(out, 0, flag);
  std::memcpy(out.data() + 4, "TKA0", 4);
  PutUInt32(out, 8, count);
  for (size_t i = 0; i < entries.size(); ++i) {
    const size_t at = 256 + i * 268;
    PutUInt32(out, at, entries[i].Offset);
    PutUInt32(out, at + 4, entries[i].StoredSize);
    PutUInt32(out, at + 8, entries[i].ItemSize);
    std::memcpy(out.data() + at + 12, entries[i].ID.data(), std::min<size_t>(entries[i].ID.size(), 256));
  }
  return out;
}

inline void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) {
  out.insert(out.end(), more.begin(), more.end());
}

// One packed block that is a pair bomb: code 0 is a literal and code k = (k-1, k-1) for k = 1..levels,
// so the single packed byte `levels` stands for 2^levels zero bytes.
inline std::vector<uint8_t> DoublingChainBlock(int levels) {
  std::vector<uint8_t> out = {0x80, 0x00, 0x00, static_cast<uint8_t>(levels - 2)};
  for (int c = 2; c <= levels; ++c) out.insert(out.end(), {static_cast<uint8_t>(c - 1), static_cast<uint8_t>(c - 1)});
  for (int c = levels + 1; c < 256;) {  // the other codes stay literals: skips, each followed by one entry
    const int skip = std::min(128, 256 - c);
    out.push_back(static_cast<uint8_t>(127 + skip));
    c += skip;
    if (c < 256) out.push_back(static_cast<uint8_t>(c++));
  }
  PutUInt32(out, out.size(), 1);
  out.push_back(static_cast<uint8_t>(levels));
  return out;
}

}  // namespace tka_test
