#include "TKArc.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "FileSystem.h"
#include "TKAPairExpander.h"
#include "TextEncoding.h"

std::unique_ptr<TKAMemoryStream> LoadFromArchive(const std::string& ArchiveFile, const std::string& Id) {
  std::ifstream file = OpenFileForReading(ArchiveFile);
  if (!file) throw Exception(Jp("ファイル ") + DisplayName(ArchiveFile) + Jp(" を開けません"));
  return ReadArchiveEntry(file, Id);
}

std::unique_ptr<TKAMemoryStream> ReadArchiveEntry(std::istream& Stream, const std::string& Id) {
  const TKADirectory directory = ReadArchiveDirectory(Stream);
  const TKAEntry* entry = directory.Find(Id);
  // Offset 0 is the header, never an item: such an entry counts as absent.
  if (entry == nullptr || entry->Offset == 0) throw ETKAError(TKAMessage::IdNotFound(Id));

  // No picture the game can use is larger: such a claim is refused before anything is read or allocated.
  const bool claimTooLarge = entry->ItemSize > TKAFormat::kMaxItemSize;
  const uint64_t available = directory.FileSize - std::min<uint64_t>(entry->Offset, directory.FileSize);
  if (!directory.Compressed) {
    if (entry->Offset > directory.FileSize || entry->ItemSize > available) {
      throw ETKAError(TKAMessage::DataPastEnd(entry->ID));
    }
    if (claimTooLarge) throw ETKAError(TKAMessage::NotAnArchive());
    return std::make_unique<TKAMemoryStream>(TKAReadAt(Stream, entry->Offset, entry->ItemSize));
  }
  if (claimTooLarge) throw ETKAError(TKAMessage::NotAnArchive());
  if (entry->Offset > directory.FileSize || entry->StoredSize > available) {
    throw ETKAError(TKAMessage::DataPastEnd(entry->ID));
  }
  const std::vector<uint8_t> packed = TKAReadAt(Stream, entry->Offset, entry->StoredSize);
  return std::make_unique<TKAMemoryStream>(TKAPairExpander::Expand(packed, entry->ItemSize));
}

bool IsArchiveHeader(std::span<const uint8_t> Header) {
  return Header.size() >= 8 && std::memcmp(Header.data() + 4, TKAFormat::kSignature, 4) == 0;
}

std::unique_ptr<TKAMemoryStream> ExpandPairs(std::istream& Packed, uint32_t ItemSize) {
  Packed.clear();
  const std::streamoff start = Packed.tellg();
  Packed.seekg(0, std::ios::end);
  const std::streamoff end = Packed.tellg();
  if (start < 0 || end < start) throw ETKAError(TKAMessage::ReadFailed());
  const std::vector<uint8_t> bytes =
      TKAReadAt(Packed, static_cast<uint64_t>(start), static_cast<uint64_t>(end - start));
  return std::make_unique<TKAMemoryStream>(TKAPairExpander::Expand(bytes, ItemSize));
}
