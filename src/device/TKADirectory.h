// The header and directory of an archive file (kind TKA), read from a seekable stream.
#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace TKAFormat {
constexpr uint32_t kHeaderSize = 256;
constexpr uint32_t kEntrySize = 268;
constexpr uint32_t kIdFieldSize = 256;
constexpr uint32_t kCompressedFlag = 1;
constexpr char kSignature[4] = {'T', 'K', 'A', '0'};
// Largest item an entry may claim: the largest file the game can use, a 4096 x 4096 32-bit picture
// with the longest BMP headers and a full colour table. A packed item could otherwise claim any size
// and cost that much memory and time to expand.
constexpr uint32_t kMaxItemSize = 4096u * 4096 * 4 + 14 + 124 + 256 * 4;
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

  // The first entry whose id equals `Id` apart from letter case, or nullptr.
  const TKAEntry* Find(const std::string& Id) const;
};

// Reads and checks the header and the whole directory. Raises ETKAError when the stream is not an
// archive or its directory runs past the end of the stream.
TKADirectory ReadArchiveDirectory(std::istream& Stream);

// Ids compare case-insensitively over CP932: ASCII letters fold to lower case, the second byte of a
// double-byte character is left alone (it may fall in A-Z).
bool TKAIdEquals(const std::string& A, const std::string& B);

// Reads `Count` bytes at `Offset`; raises ETKAError(ReadFailed) when the stream delivers fewer.
std::vector<uint8_t> TKAReadAt(std::istream& Stream, uint64_t Offset, uint64_t Count);

// Size of a seekable stream; leaves the position at 0.
uint64_t TKAStreamSize(std::istream& Stream);
