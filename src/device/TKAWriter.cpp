#include "TKAWriter.h"

#include <cstring>
#include <limits>

#include "TKADirectory.h"
#include "TKAError.h"
#include "TKAPairEncoder.h"

namespace {

void PutUInt32LE(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void CheckIds(const std::vector<TKAItem>& items) {
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string& id = items[i].ID;
    if (id.empty() || id.size() >= TKAFormat::IdFieldSize || id.find('\0') != std::string::npos) {
      throw ETKAError(TKAMessage::BadId(id));
    }
    for (size_t j = 0; j < i; ++j) {
      if (TKAIdEquals(items[j].ID, id)) throw ETKAError(TKAMessage::DuplicateId(id));
    }
  }
}

}  // namespace

std::vector<uint8_t> TKAWriter::Build(const std::vector<TKAItem>& items, bool compress) {
  CheckIds(items);
  const uint64_t directoryEnd = TKAFormat::HeaderSize + static_cast<uint64_t>(items.size()) * TKAFormat::EntrySize;
  if (directoryEnd > std::numeric_limits<uint32_t>::max())
    throw ETKAError(TKAMessage::ArchiveTooLarge(items.back().ID));

  std::vector<uint8_t> out(directoryEnd, 0);
  PutUInt32LE(out, 0, compress ? TKAFormat::CompressedFlag : 0);
  std::memcpy(out.data() + 4, TKAFormat::Signature, 4);
  PutUInt32LE(out, 8, static_cast<uint32_t>(items.size()));

  for (size_t i = 0; i < items.size(); ++i) {
    const TKAItem& item = items[i];
    if (item.Bytes.size() > TKAFormat::MaxItemSize) {
      throw ETKAError(TKAMessage::ArchiveTooLarge(item.ID));
    }
    const uint64_t offset = out.size();
    if (compress) {
      const std::vector<uint8_t> packed = TKAPairEncoder::Pack(item.Bytes);
      out.insert(out.end(), packed.begin(), packed.end());
    } else {
      out.insert(out.end(), item.Bytes.begin(), item.Bytes.end());
    }
    const uint64_t stored = out.size() - offset;
    if (out.size() > std::numeric_limits<uint32_t>::max()) throw ETKAError(TKAMessage::ArchiveTooLarge(item.ID));

    const size_t entry = TKAFormat::HeaderSize + i * TKAFormat::EntrySize;
    PutUInt32LE(out, entry, static_cast<uint32_t>(offset));
    PutUInt32LE(out, entry + 4, static_cast<uint32_t>(stored));
    PutUInt32LE(out, entry + 8, static_cast<uint32_t>(item.Bytes.size()));
    std::memcpy(out.data() + entry + 12, item.ID.data(), item.ID.size());
  }
  return out;
}
