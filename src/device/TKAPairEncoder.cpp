#include "TKAPairEncoder.h"

#include <algorithm>

std::vector<uint8_t> TKAPairEncoder::Pack(std::span<const uint8_t> data) {
  TKAPairEncoder encoder;
  std::vector<uint8_t> out;
  out.reserve(data.size() + data.size() / 16 + 16);
  size_t position = 0;
  while (position < data.size()) {
    std::array<bool, 256> present{};
    int distinct = 0;
    const size_t start = position;
    while (position < data.size() && position - start < MaxBlockSize) {
      const uint8_t b = data[position];
      if (!present[b]) {
        if (distinct == MaxDistinct) break;
        present[b] = true;
        ++distinct;
      }
      ++position;
    }
    encoder.PackBlock(data.subspan(start, position - start), present, out);
  }
  return out;
}

void TKAPairEncoder::PackBlock(std::span<const uint8_t> block, const std::array<bool, 256>& present,
                               std::vector<uint8_t>& out) {
  block_.assign(block.begin(), block.end());
  std::array<bool, 256> used = present;
  // Stack bytes the expansion of each code needs (see TKAPairExpander::CheckPair); kept within 256.
  std::array<int, 256> depth{};
  for (int c = 0; c < 256; ++c) left_[c] = static_cast<uint8_t>(c);

  int freeCode = 0;
  while (true) {
    while (freeCode < 256 && used[freeCode]) ++freeCode;
    if (freeCode == 256) break;
    uint8_t a = 0;
    uint8_t b = 0;
    if (MostFrequentPair(a, b) < MinPairCount) break;
    const int need = std::max({2, depth[a] + 1, depth[b]});
    if (need > 256) break;
    const uint8_t code = static_cast<uint8_t>(freeCode);
    ReplacePair(a, b, code);
    left_[code] = a;
    right_[code] = b;
    depth[code] = need;
    used[code] = true;
  }

  WritePairTable(out);
  const uint32_t length = static_cast<uint32_t>(block_.size());
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(length >> shift));
  out.insert(out.end(), block_.begin(), block_.end());
}

uint32_t TKAPairEncoder::MostFrequentPair(uint8_t& a, uint8_t& b) {
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
  a = static_cast<uint8_t>(bestKey >> 8);
  b = static_cast<uint8_t>(bestKey);
  return best;
}

void TKAPairEncoder::ReplacePair(uint8_t a, uint8_t b, uint8_t code) {
  size_t write = 0;
  size_t read = 0;
  while (read < block_.size()) {
    if (read + 1 < block_.size() && block_[read] == a && block_[read + 1] == b) {
      block_[write++] = code;
      read += 2;
    } else {
      block_[write++] = block_[read++];
    }
  }
  block_.resize(write);
}

void TKAPairEncoder::WriteEntry(int code, std::vector<uint8_t>& out) const {
  out.push_back(left_[code]);
  if (left_[code] != code) out.push_back(right_[code]);
}

// The reader starts at code 0 and takes a count byte: above 127 it skips count - 127 literal codes and
// then reads one entry; otherwise it reads count + 1 entries. Runs of literals are skipped (up to 128 at
// a time), runs of pairs listed (up to 128 at a time).
void TKAPairEncoder::WritePairTable(std::vector<uint8_t>& out) const {
  auto isLiteral = [this](int c) { return left_[c] == c; };
  int c = 0;
  while (c < 256) {
    if (isLiteral(c)) {
      int run = 0;
      while (c + run < 256 && run < 128 && isLiteral(c + run)) ++run;
      out.push_back(static_cast<uint8_t>(127 + run));
      c += run;
      if (c == 256) break;
      WriteEntry(c, out);  // the one entry that follows a skip
      ++c;
    } else {
      int run = 0;
      while (c + run < 256 && run < 128 && !isLiteral(c + run)) ++run;
      out.push_back(static_cast<uint8_t>(run - 1));
      for (int i = 0; i < run; ++i) WriteEntry(c + i, out);
      c += run;
    }
  }
}
