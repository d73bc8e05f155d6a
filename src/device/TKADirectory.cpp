#include "TKADirectory.h"

#include <cstring>

#include "TKAError.h"

namespace {

uint32_t ReadUInt32LE(const uint8_t* P) {
  return static_cast<uint32_t>(P[0]) | static_cast<uint32_t>(P[1]) << 8 | static_cast<uint32_t>(P[2]) << 16 |
         static_cast<uint32_t>(P[3]) << 24;
}

bool IsLeadByte(uint8_t B) { return (B >= 0x81 && B <= 0x9F) || (B >= 0xE0 && B <= 0xFC); }

uint8_t FoldAscii(uint8_t B) { return (B >= 'A' && B <= 'Z') ? static_cast<uint8_t>(B + ('a' - 'A')) : B; }

}  // namespace

uint64_t TKAStreamSize(std::istream& Stream) {
  Stream.clear();
  Stream.seekg(0, std::ios::end);
  const std::streamoff end = Stream.tellg();
  Stream.seekg(0, std::ios::beg);
  if (end < 0 || !Stream) throw ETKAError(TKAMessage::ReadFailed());
  return static_cast<uint64_t>(end);
}

std::vector<uint8_t> TKAReadAt(std::istream& Stream, uint64_t Offset, uint64_t Count) {
  Stream.clear();
  Stream.seekg(static_cast<std::streamoff>(Offset), std::ios::beg);
  if (!Stream) throw ETKAError(TKAMessage::ReadFailed());
  std::vector<uint8_t> bytes(Count);
  if (Count > 0) {
    Stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(Count));
    if (static_cast<uint64_t>(Stream.gcount()) != Count) throw ETKAError(TKAMessage::ReadFailed());
  }
  return bytes;
}

bool TKAIdEquals(const std::string& A, const std::string& B) {
  if (A.size() != B.size()) return false;
  bool trail = false;
  for (size_t i = 0; i < A.size(); ++i) {
    const uint8_t x = static_cast<uint8_t>(A[i]);
    const uint8_t y = static_cast<uint8_t>(B[i]);
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

const TKAEntry* TKADirectory::Find(const std::string& Id) const {
  for (const TKAEntry& entry : Entries) {
    if (TKAIdEquals(entry.ID, Id)) return &entry;
  }
  return nullptr;
}

TKADirectory ReadArchiveDirectory(std::istream& Stream) {
  TKADirectory directory;
  directory.FileSize = TKAStreamSize(Stream);
  if (directory.FileSize < 8) throw ETKAError(TKAMessage::NotAnArchive());
  const std::vector<uint8_t> start = TKAReadAt(Stream, 0, 8);
  if (std::memcmp(start.data() + 4, TKAFormat::kSignature, 4) != 0) throw ETKAError(TKAMessage::NotAnArchive());
  if (directory.FileSize < TKAFormat::kHeaderSize) throw ETKAError(TKAMessage::HeaderCutShort());

  const std::vector<uint8_t> header = TKAReadAt(Stream, 0, TKAFormat::kHeaderSize);
  directory.Compressed = ReadUInt32LE(header.data()) == TKAFormat::kCompressedFlag;
  const uint32_t count = ReadUInt32LE(header.data() + 8);
  // The count is checked against the file before anything is allocated for it.
  const uint64_t directoryBytes = static_cast<uint64_t>(count) * TKAFormat::kEntrySize;
  if (directoryBytes > directory.FileSize - TKAFormat::kHeaderSize) {
    throw ETKAError(TKAMessage::DirectoryPastEnd(count));
  }

  const std::vector<uint8_t> raw = TKAReadAt(Stream, TKAFormat::kHeaderSize, directoryBytes);
  directory.Entries.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* p = raw.data() + static_cast<size_t>(i) * TKAFormat::kEntrySize;
    TKAEntry& entry = directory.Entries[i];
    entry.Offset = ReadUInt32LE(p);
    entry.StoredSize = ReadUInt32LE(p + 4);
    entry.ItemSize = ReadUInt32LE(p + 8);
    // An id without its terminating zero ends at its field, not in the next entry.
    const char* id = reinterpret_cast<const char*>(p + 12);
    entry.ID.assign(id, strnlen(id, TKAFormat::kIdFieldSize));
  }
  Stream.clear();
  Stream.seekg(0, std::ios::beg);
  return directory;
}
