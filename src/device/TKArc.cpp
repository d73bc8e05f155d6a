#include "TKArc.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "FileSystem.h"
#include "TKAPairExpander.h"
#include "TextEncoding.h"

std::unique_ptr<TKAMemoryStream> LoadFromArchive(const std::string& archiveFile, const std::string& id) {
  std::ifstream file = OpenFileForReading(archiveFile);
  if (!file) throw Exception(Jp("ファイル ") + DisplayName(archiveFile) + Jp(" を開けません"));
  return ReadArchiveEntry(file, id);
}

std::unique_ptr<TKAMemoryStream> ReadArchiveEntry(std::istream& stream, const std::string& id) {
  const TKADirectory directory = ReadArchiveDirectory(stream);
  const TKAEntry* entry = directory.Find(id);
  // Offset 0 is the header, never an item: such an entry counts as absent.
  if (entry == nullptr || entry->Offset == 0) throw ETKAError(TKAMessage::IdNotFound(id));

  // No picture the game can use is larger: such a claim is refused before anything is read or allocated.
  const bool claimTooLarge = entry->ItemSize > TKAFormat::MaxItemSize;
  const uint64_t available = directory.FileSize - std::min<uint64_t>(entry->Offset, directory.FileSize);
  if (!directory.Compressed) {
    if (entry->Offset > directory.FileSize || entry->ItemSize > available) {
      throw ETKAError(TKAMessage::DataPastEnd(entry->ID));
    }
    if (claimTooLarge) throw ETKAError(TKAMessage::NotAnArchive());
    return std::make_unique<TKAMemoryStream>(TKAReadAt(stream, entry->Offset, entry->ItemSize));
  }
  if (claimTooLarge) throw ETKAError(TKAMessage::NotAnArchive());
  if (entry->Offset > directory.FileSize || entry->StoredSize > available) {
    throw ETKAError(TKAMessage::DataPastEnd(entry->ID));
  }
  const std::vector<uint8_t> packed = TKAReadAt(stream, entry->Offset, entry->StoredSize);
  return std::make_unique<TKAMemoryStream>(TKAPairExpander::Expand(packed, entry->ItemSize));
}

bool IsArchiveHeader(std::span<const uint8_t> header) {
  return header.size() >= 8 && std::memcmp(header.data() + 4, TKAFormat::Signature, 4) == 0;
}

std::unique_ptr<TKAMemoryStream> ExpandPairs(std::istream& packed, uint32_t itemSize) {
  packed.clear();
  const std::streamoff start = packed.tellg();
  packed.seekg(0, std::ios::end);
  const std::streamoff end = packed.tellg();
  if (start < 0 || end < start) throw ETKAError(TKAMessage::ReadFailed());
  const std::vector<uint8_t> bytes =
      TKAReadAt(packed, static_cast<uint64_t>(start), static_cast<uint64_t>(end - start));
  return std::make_unique<TKAMemoryStream>(TKAPairExpander::Expand(bytes, itemSize));
}
