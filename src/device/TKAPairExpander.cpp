#include "TKAPairExpander.h"

#include <algorithm>
#include <cstring>

#include "TKADirectory.h"
#include "TKAError.h"

std::vector<uint8_t> TKAPairExpander::Expand(std::span<const uint8_t> Packed, uint32_t ItemSize) {
  if (ItemSize > TKAFormat::kMaxItemSize) throw ETKAError(TKAMessage::NotAnArchive());
  TKAPairExpander expander(Packed, ItemSize);
  while (expander.position_ < Packed.size()) expander.ExpandBlock();
  expander.output_.resize(ItemSize);
  return std::move(expander.output_);
}

TKAPairExpander::TKAPairExpander(std::span<const uint8_t> Packed, uint32_t ItemSize)
    : packed_(Packed), itemSize_(ItemSize) {
  // Reserve what the packed bytes can honestly promise; an exaggerated item size costs nothing until
  // the output really grows (or is padded at the end).
  output_.reserve(std::min<uint64_t>(ItemSize, Packed.size() * 16 + 4096));
}

void TKAPairExpander::ExpandBlock() {
  ReadPairTable();
  if (packed_.size() - position_ < 4) throw ETKAError(TKAMessage::BlockLengthCutShort());
  const uint8_t* p = packed_.data() + position_;
  const uint32_t length = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                          static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
  position_ += 4;
  const uint64_t remaining = packed_.size() - position_;
  if (length > remaining) throw ETKAError(TKAMessage::BlockCutShort(length, remaining));
  const size_t end = position_ + length;
  for (; position_ < end; ++position_) ExpandCode(packed_[position_]);
}

uint8_t TKAPairExpander::NextTableByte() {
  if (position_ >= packed_.size()) throw ETKAError(TKAMessage::PairTableCutShort());
  return packed_[position_++];
}

void TKAPairExpander::ReadPairTable() {
  for (int c = 0; c < 256; ++c) left_[c] = static_cast<uint8_t>(c);
  check_.fill(TCheck::Unknown);
  writtenLength_.fill(0);
  int code = 0;
  while (true) {
    int count = NextTableByte();
    if (count > 127) {
      code += count - 127;
      count = 0;
    }
    if (code == 256) return;
    // A skip or a run that reaches past the last code would write outside the tables.
    if (code > 256 || code + count > 255) throw ETKAError(TKAMessage::PairTablePastLastCode());
    for (int i = 0; i <= count; ++i, ++code) {
      left_[code] = NextTableByte();
      if (left_[code] != code) right_[code] = NextTableByte();
    }
    if (code == 256) return;
  }
}

// Works out, before the first use of a pair code in a block, whether its expansion ends and how much
// of the 256-byte stack it needs: a pair pushes its right and left byte and then expands the left one,
// so it needs max(2, 1 + need(left), need(right)). Without this a pair that contains itself would
// grow the stack without end or emit bytes forever.
void TKAPairExpander::CheckPair(uint8_t Code) {
  check_[Code] = TCheck::InProgress;
  int need = 2;
  const uint8_t parts[2] = {left_[Code], right_[Code]};
  for (int side = 0; side < 2; ++side) {
    const uint8_t part = parts[side];
    if (left_[part] == part) continue;  // a literal needs no stack
    if (check_[part] == TCheck::InProgress) throw ETKAError(TKAMessage::PairCycle(part));
    if (check_[part] == TCheck::Unknown) CheckPair(part);
    need = std::max(need, depth_[part] + (side == 0 ? 1 : 0));
  }
  if (need > kStackSize) throw ETKAError(TKAMessage::PairNestingTooDeep(Code));
  depth_[Code] = static_cast<uint16_t>(need);
  check_[Code] = TCheck::Done;
}

void TKAPairExpander::Emit(uint8_t Byte) {
  if (output_.size() >= itemSize_) throw ETKAError(TKAMessage::ExpansionTooLong(itemSize_));
  output_.push_back(Byte);
}

void TKAPairExpander::CopyWritten(size_t Offset, uint32_t Length) {
  const size_t at = output_.size();
  if (Length > itemSize_ - at) throw ETKAError(TKAMessage::ExpansionTooLong(itemSize_));
  // Grow before resizing, so the old buffer is gone before the new one's tail is touched.
  if (output_.capacity() < at + Length) output_.reserve(std::min<size_t>(itemSize_, std::max(at + Length, 2 * at)));
  output_.resize(at + Length);
  std::memcpy(output_.data() + at, output_.data() + Offset, Length);
}

void TKAPairExpander::ExpandCode(uint8_t Code) {
  if (left_[Code] == Code) {
    Emit(Code);
    return;
  }
  if (check_[Code] != TCheck::Done) CheckPair(Code);
  ExpandPair(Code);
}

// Left before right, as the format's stack pops them. CheckPair has ruled out cycles, so the recursion
// is at most 256 calls deep. The first expansion of a pair in a block is walked and remembered; every
// later one copies it, which keeps a doubling chain of pairs linear in the bytes it writes.
void TKAPairExpander::ExpandPair(uint8_t Code) {
  if (writtenLength_[Code] != 0) {
    CopyWritten(writtenAt_[Code], writtenLength_[Code]);
    return;
  }
  const size_t start = output_.size();
  for (const uint8_t part : {left_[Code], right_[Code]}) {
    if (left_[part] == part) {
      Emit(part);
    } else {
      ExpandPair(part);
    }
  }
  writtenAt_[Code] = start;
  writtenLength_[Code] = static_cast<uint32_t>(output_.size() - start);
}
