#include "TKAPairEncoder.h"

#include <algorithm>

std::vector<uint8_t> TKAPairEncoder::Pack(std::span<const uint8_t> Data) {
  TKAPairEncoder encoder;
  std::vector<uint8_t> out;
  out.reserve(Data.size() + Data.size() / 16 + 16);
  size_t position = 0;
  while (position < Data.size()) {
    std::array<bool, 256> present{};
    int distinct = 0;
    const size_t start = position;
    while (position < Data.size() && position - start < kMaxBlockSize) {
      const uint8_t b = Data[position];
      if (!present[b]) {
        if (distinct == kMaxDistinct) break;
        present[b] = true;
        ++distinct;
      }
      ++position;
    }
    encoder.PackBlock(Data.subspan(start, position - start), present, out);
  }
  return out;
}

void TKAPairEncoder::PackBlock(std::span<const uint8_t> Block, const std::array<bool, 256>& Present,
                               std::vector<uint8_t>& Out) {
  block_.assign(Block.begin(), Block.end());
  std::array<bool, 256> used = Present;
  // Stack bytes the expansion of each code needs (see TKAPairExpander::CheckPair); kept within 256.
  std::array<int, 256> depth{};
  for (int c = 0; c < 256; ++c) left_[c] = static_cast<uint8_t>(c);

  int freeCode = 0;
  while (true) {
    while (freeCode < 256 && used[freeCode]) ++freeCode;
    if (freeCode == 256) break;
    uint8_t a = 0;
    uint8_t b = 0;
    if (MostFrequentPair(a, b) < kMinPairCount) break;
    const int need = std::max({2, depth[a] + 1, depth[b]});
    if (need > 256) break;
    const uint8_t code = static_cast<uint8_t>(freeCode);
    ReplacePair(a, b, code);
    left_[code] = a;
    right_[code] = b;
    depth[code] = need;
    used[code] = true;
  }

  WritePairTable(Out);
  const uint32_t length = static_cast<uint32_t>(block_.size());
  for (int shift = 0; shift < 32; shift += 8) Out.push_back(static_cast<uint8_t>(length >> shift));
  Out.insert(Out.end(), block_.begin(), block_.end());
}

uint32_t TKAPairEncoder::MostFrequentPair(uint8_t& A, uint8_t& B) {
  uint32_t best = 0;
  size_t bestKey = 0;
  bool previousCounted = false;
  for (size_t i = 0; i + 1 < block_.size(); ++i) {
    const uint8_t x = block_[i];
    const uint8_t y = block_[i + 1];
    // In a run "xxx" the replacement takes the first two, so the overlapping second pair does not count.
    if (x == y && previousCounted && block_[i - 1] == x) {
      previousCounted = false;
      continue;
    }
    const size_t key = static_cast<size_t>(x) << 8 | y;
    const uint32_t n = ++counts_[key];
    if (n > best) {
      best = n;
      bestKey = key;
    }
    previousCounted = true;
  }
  for (size_t i = 0; i + 1 < block_.size(); ++i) counts_[static_cast<size_t>(block_[i]) << 8 | block_[i + 1]] = 0;
  A = static_cast<uint8_t>(bestKey >> 8);
  B = static_cast<uint8_t>(bestKey);
  return best;
}

void TKAPairEncoder::ReplacePair(uint8_t A, uint8_t B, uint8_t Code) {
  size_t write = 0;
  size_t read = 0;
  while (read < block_.size()) {
    if (read + 1 < block_.size() && block_[read] == A && block_[read + 1] == B) {
      block_[write++] = Code;
      read += 2;
    } else {
      block_[write++] = block_[read++];
    }
  }
  block_.resize(write);
}

void TKAPairEncoder::WriteEntry(int Code, std::vector<uint8_t>& Out) const {
  Out.push_back(left_[Code]);
  if (left_[Code] != Code) Out.push_back(right_[Code]);
}

// The reader starts at code 0 and takes a count byte: above 127 it skips count - 127 literal codes and
// then reads one entry; otherwise it reads count + 1 entries. Runs of literals are skipped (up to 128 at
// a time), runs of pairs listed (up to 128 at a time).
void TKAPairEncoder::WritePairTable(std::vector<uint8_t>& Out) const {
  auto isLiteral = [this](int C) { return left_[C] == C; };
  int c = 0;
  while (c < 256) {
    if (isLiteral(c)) {
      int run = 0;
      while (c + run < 256 && run < 128 && isLiteral(c + run)) ++run;
      Out.push_back(static_cast<uint8_t>(127 + run));
      c += run;
      if (c == 256) break;
      WriteEntry(c, Out);  // the one entry that follows a skip
      ++c;
    } else {
      int run = 0;
      while (c + run < 256 && run < 128 && !isLiteral(c + run)) ++run;
      Out.push_back(static_cast<uint8_t>(run - 1));
      for (int i = 0; i < run; ++i) WriteEntry(c + i, Out);
      c += run;
    }
  }
}
