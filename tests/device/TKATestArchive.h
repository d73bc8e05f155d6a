// Hand-assembled archive files for the reader's tests: every field is written explicitly, so a test
// can state exactly which header, directory or data bytes are wrong.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tka_test {

inline void PutUInt32(std::vector<uint8_t>& Out, size_t At, uint32_t Value) {
  if (Out.size() < At + 4) Out.resize(At + 4, 0);
  for (int i = 0; i < 4; ++i) Out[At + i] = static_cast<uint8_t>(Value >> (8 * i));
}

inline std::vector<uint8_t> Bytes(std::initializer_list<int> Values) {
  std::vector<uint8_t> out;
  for (int v : Values) out.push_back(static_cast<uint8_t>(v));
  return out;
}

inline std::vector<uint8_t> Bytes(const std::string& Text) { return std::vector<uint8_t>(Text.begin(), Text.end()); }

struct TRawEntry {
  uint32_t Offset;
  uint32_t StoredSize;
  uint32_t ItemSize;
  std::string ID;  // written into the 256-byte field; longer text is cut at 256 bytes
};

// Header with `Flag` and `Count`, then the directory entries, then nothing: data is appended by the test.
inline std::vector<uint8_t> Archive(uint32_t Flag, uint32_t Count, const std::vector<TRawEntry>& Entries) {
  std::vector<uint8_t> out(256 + Entries.size() * 268, 0);
  PutUInt32(out, 0, Flag);
  std::memcpy(out.data() + 4, "TKA0", 4);
  PutUInt32(out, 8, Count);
  for (size_t i = 0; i < Entries.size(); ++i) {
    const size_t at = 256 + i * 268;
    PutUInt32(out, at, Entries[i].Offset);
    PutUInt32(out, at + 4, Entries[i].StoredSize);
    PutUInt32(out, at + 8, Entries[i].ItemSize);
    std::memcpy(out.data() + at + 12, Entries[i].ID.data(), std::min<size_t>(Entries[i].ID.size(), 256));
  }
  return out;
}

inline void Append(std::vector<uint8_t>& Out, const std::vector<uint8_t>& More) {
  Out.insert(Out.end(), More.begin(), More.end());
}

// One packed block that is a pair bomb: code 0 is a literal and code k = (k-1, k-1) for k = 1..levels,
// so the single packed byte `Levels` stands for 2^Levels zero bytes.
inline std::vector<uint8_t> DoublingChainBlock(int Levels) {
  std::vector<uint8_t> out = {0x80, 0x00, 0x00, static_cast<uint8_t>(Levels - 2)};
  for (int c = 2; c <= Levels; ++c) out.insert(out.end(), {static_cast<uint8_t>(c - 1), static_cast<uint8_t>(c - 1)});
  for (int c = Levels + 1; c < 256;) {  // the other codes stay literals: skips, each followed by one entry
    const int skip = std::min(128, 256 - c);
    out.push_back(static_cast<uint8_t>(127 + skip));
    c += skip;
    if (c < 256) out.push_back(static_cast<uint8_t>(c++));
  }
  PutUInt32(out, out.size(), 1);
  out.push_back(static_cast<uint8_t>(Levels));
  return out;
}

}  // namespace tka_test
