#include "TKADirectory.h"

#include <cstring>

#include "TKAError.h"

namespace {

uint32_t ReadUInt32LE(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

bool IsLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

uint8_t FoldAscii(uint8_t b) { return (b >= 'A' && b <= 'Z') ? static_cast<uint8_t>(b + ('a' - 'A')) : b; }

}  // namespace

uint64_t TKAStreamSize(std::istream& stream) {
  stream.clear();
  stream.seekg(0, std::ios::end);
  const std::streamoff end = stream.tellg();
  stream.seekg(0, std::ios::beg);
  if (end < 0 || !stream) throw ETKAError(TKAMessage::ReadFailed());
  return static_cast<uint64_t>(end);
}

std::vector<uint8_t> TKAReadAt(std::istream& stream, uint64_t offset, uint64_t count) {
  stream.clear();
  stream.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
  if (!stream) throw ETKAError(TKAMessage::ReadFailed());
  std::vector<uint8_t> bytes(count);
  if (count > 0) {
    stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    if (static_cast<uint64_t>(stream.gcount()) != count) throw ETKAError(TKAMessage::ReadFailed());
  }
  return bytes;
}

bool TKAIdEquals(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  bool trail = false;
  for (size_t i = 0; i < a.size(); ++i) {
    const uint8_t x = static_cast<uint8_t>(a[i]);
    const uint8_t y = static_cast<uint8_t>(b[i]);
    if (trail) {
      if (x != y) return false;
      trail = false;
      continue;
    }
    // Both strings agree on every byte so far, so a lead byte here is a lead byte in both.
    if (FoldAscii(x) != FoldAscii(y)) return false;
    trail = IsLeadByte(x);
  }
  return true;
}

const TKAEntry* TKADirectory::Find(const std::string& id) const {
  for (const TKAEntry& entry : Entries) {
    if (TKAIdEquals(entry.ID, id)) return &entry;
  }
  return nullptr;
}

TKADirectory ReadArchiveDirectory(std::istream& stream) {
  TKADirectory directory;
  directory.FileSize = TKAStreamSize(stream);
  if (directory.FileSize < 8) throw ETKAError(TKAMessage::NotAnArchive());
  const std::vector<uint8_t> start = TKAReadAt(stream, 0, 8);
  if (std::memcmp(start.data() + 4, TKAFormat::Signature, 4) != 0) throw ETKAError(TKAMessage::NotAnArchive());
  if (directory.FileSize < TKAFormat::HeaderSize) throw ETKAError(TKAMessage::HeaderCutShort());

  const std::vector<uint8_t> header = TKAReadAt(stream, 0, TKAFormat::HeaderSize);
  directory.Compressed = ReadUInt32LE(header.data()) == TKAFormat::CompressedFlag;
  const uint32_t count = ReadUInt32LE(header.data() + 8);
  // The count is checked against the file before anything is allocated for it.
  const uint64_t directoryBytes = static_cast<uint64_t>(count) * TKAFormat::EntrySize;
  if (directoryBytes > directory.FileSize - TKAFormat::HeaderSize) {
    throw ETKAError(TKAMessage::DirectoryPastEnd(count));
  }

  const std::vector<uint8_t> raw = TKAReadAt(stream, TKAFormat::HeaderSize, directoryBytes);
  directory.Entries.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* p = raw.data() + static_cast<size_t>(i) * TKAFormat::EntrySize;
    TKAEntry& entry = directory.Entries[i];
    entry.Offset = ReadUInt32LE(p);
    entry.StoredSize = ReadUInt32LE(p + 4);
    entry.ItemSize = ReadUInt32LE(p + 8);
    // An id without its terminating zero ends at its field, not in the next entry.
    const char* id = reinterpret_cast<const char*>(p + 12);
    entry.ID.assign(id, strnlen(id, TKAFormat::IdFieldSize));
  }
  stream.clear();
  stream.seekg(0, std::ios::beg);
  return directory;
}
