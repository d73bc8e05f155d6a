// The header and directory of an archive file (kind TKA), read from a seekable stream.
#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace TKAFormat {
constexpr uint32_t HeaderSize = 256;
constexpr uint32_t EntrySize = 268;
constexpr uint32_t IdFieldSize = 256;
constexpr uint32_t CompressedFlag = 1;
constexpr char Signature[4] = {'T', 'K', 'A', '0'};
// Largest item a compressed entry may expand to. Plain items are bounded by the file itself; packed
// ones could claim any size, so the claim is capped well above any texture the device can hold.
constexpr uint32_t MaxExpandedSize = 256u * 1024 * 1024;
}  // namespace TKAFormat

struct TKAEntry {
  uint32_t Offset = 0;      // of the entry's data, from the start of the file
  uint32_t StoredSize = 0;  // packed bytes; meaningful only in a compressed archive
  uint32_t ItemSize = 0;    // bytes of the item itself
  std::string ID;           // CP932, at most 255 bytes
};

struct TKADirectory {
  bool Compressed = false;
  uint64_t FileSize = 0;  // of the stream the directory was read from
  std::vector<TKAEntry> Entries;

  // The first entry whose id equals `id` apart from letter case, or nullptr.
  const TKAEntry* Find(const std::string& id) const;
};

// Reads and checks the header and the whole directory. Raises ETKAError when the stream is not an
// archive or its directory runs past the end of the stream.
TKADirectory ReadArchiveDirectory(std::istream& stream);

// Ids compare case-insensitively over CP932: ASCII letters fold to lower case, the second byte of a
// double-byte character is left alone (it may fall in A-Z).
bool TKAIdEquals(const std::string& a, const std::string& b);

// Reads `count` bytes at `offset`; raises ETKAError(ReadFailed) when the stream delivers fewer.
std::vector<uint8_t> TKAReadAt(std::istream& stream, uint64_t offset, uint64_t count);

// Size of a seekable stream; leaves the position at 0.
uint64_t TKAStreamSize(std::istream& stream);
