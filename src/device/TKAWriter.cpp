#include "TKAWriter.h"

#include <cstring>
#include <limits>

#include "TKADirectory.h"
#include "TKAError.h"
#include "TKAPairEncoder.h"

namespace {

void PutUInt32LE(std::vector<uint8_t>& Out, size_t At, uint32_t Value) {
  for (int i = 0; i < 4; ++i) Out[At + i] = static_cast<uint8_t>(Value >> (8 * i));
}

void CheckIds(const std::vector<TKAItem>& Items) {
  for (size_t i = 0; i < Items.size(); ++i) {
    const std::string& id = Items[i].ID;
    if (id.empty() || id.size() >= TKAFormat::kIdFieldSize || id.find('\0') != std::string::npos) {
      throw ETKAError(TKAMessage::BadId(id));
    }
    for (size_t j = 0; j < i; ++j) {
      if (TKAIdEquals(Items[j].ID, id)) throw ETKAError(TKAMessage::DuplicateId(id));
    }
  }
}

}  // namespace

std::vector<uint8_t> TKAWriter::Build(const std::vector<TKAItem>& Items, bool Compress) {
  CheckIds(Items);
  const uint64_t directoryEnd = TKAFormat::kHeaderSize + static_cast<uint64_t>(Items.size()) * TKAFormat::kEntrySize;
  if (directoryEnd > std::numeric_limits<uint32_t>::max())
    throw ETKAError(TKAMessage::ArchiveTooLarge(Items.back().ID));

  std::vector<uint8_t> out(directoryEnd, 0);
  PutUInt32LE(out, 0, Compress ? TKAFormat::kCompressedFlag : 0);
  std::memcpy(out.data() + 4, TKAFormat::kSignature, 4);
  PutUInt32LE(out, 8, static_cast<uint32_t>(Items.size()));

  for (size_t i = 0; i < Items.size(); ++i) {
    const TKAItem& item = Items[i];
    if (item.Bytes.size() > TKAFormat::kMaxItemSize) {
      throw ETKAError(TKAMessage::ArchiveTooLarge(item.ID));
    }
    const uint64_t offset = out.size();
    if (Compress) {
      const std::vector<uint8_t> packed = TKAPairEncoder::Pack(item.Bytes);
      out.insert(out.end(), packed.begin(), packed.end());
    } else {
      out.insert(out.end(), item.Bytes.begin(), item.Bytes.end());
    }
    const uint64_t stored = out.size() - offset;
    if (out.size() > std::numeric_limits<uint32_t>::max()) throw ETKAError(TKAMessage::ArchiveTooLarge(item.ID));

    const size_t entry = TKAFormat::kHeaderSize + i * TKAFormat::kEntrySize;
    PutUInt32LE(out, entry, static_cast<uint32_t>(offset));
    PutUInt32LE(out, entry + 4, static_cast<uint32_t>(stored));
    PutUInt32LE(out, entry + 8, static_cast<uint32_t>(item.Bytes.size()));
    std::memcpy(out.data() + entry + 12, item.ID.data(), item.ID.size());
  }
  return out;
}
