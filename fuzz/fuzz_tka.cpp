// Fuzzes the archive reader with arbitrary files, the pair expander with arbitrary packed data, and the
// encoder with arbitrary items (which must come back unchanged). The first byte picks the mode.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "TKAPairEncoder.h"
#include "TKAPairExpander.h"
#include "TKArc.h"

namespace {

void ReadArchive(const uint8_t* Data, size_t Size) {
  std::stringstream in(std::string(reinterpret_cast<const char*>(Data), Size), std::ios::in | std::ios::binary);
  TKADirectory directory;
  try {
    directory = ReadArchiveDirectory(in);
  } catch (const ETKAError&) {
    return;
  }
  size_t tried = 0;
  for (const TKAEntry& entry : directory.Entries) {
    if (++tried > 8) break;
    try {
      const auto stream = ReadArchiveEntry(in, entry.ID);
      // The id may also name an earlier entry (ids match regardless of case); check only the first.
      if (directory.Find(entry.ID) == &entry && stream->Size() != entry.ItemSize) std::abort();
    } catch (const ETKAError&) {
    }
  }
}

void Expand(const uint8_t* Data, size_t Size) {
  if (Size < 2) return;
  const uint32_t itemSize = static_cast<uint32_t>(Data[0]) << 8 | Data[1];
  try {
    if (TKAPairExpander::Expand({Data + 2, Size - 2}, itemSize).size() != itemSize) std::abort();
  } catch (const ETKAError&) {
  }
}

void RoundTrip(const uint8_t* Data, size_t Size) {
  const std::span<const uint8_t> item(Data, Size);
  const std::vector<uint8_t> packed = TKAPairEncoder::Pack(item);
  const std::vector<uint8_t> back = TKAPairExpander::Expand(packed, static_cast<uint32_t>(Size));
  if (!std::equal(back.begin(), back.end(), item.begin(), item.end())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  switch (Data[0] % 3) {
    case 0: ReadArchive(Data + 1, Size - 1); break;
    case 1: Expand(Data + 1, Size - 1); break;
    default: RoundTrip(Data + 1, Size - 1); break;
  }
  return 0;
}
