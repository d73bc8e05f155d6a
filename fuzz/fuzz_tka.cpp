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

void ReadArchive(const uint8_t* data, size_t size) {
  std::stringstream in(std::string(reinterpret_cast<const char*>(data), size), std::ios::in | std::ios::binary);
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

void Expand(const uint8_t* data, size_t size) {
  if (size < 2) return;
  const uint32_t itemSize = static_cast<uint32_t>(data[0]) << 8 | data[1];
  try {
    if (TKAPairExpander::Expand({data + 2, size - 2}, itemSize).size() != itemSize) std::abort();
  } catch (const ETKAError&) {
  }
}

void RoundTrip(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> item(data, size);
  const std::vector<uint8_t> packed = TKAPairEncoder::Pack(item);
  const std::vector<uint8_t> back = TKAPairExpander::Expand(packed, static_cast<uint32_t>(size));
  if (!std::equal(back.begin(), back.end(), item.begin(), item.end())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  switch (data[0] % 3) {
    case 0: ReadArchive(data + 1, size - 1); break;
    case 1: Expand(data + 1, size - 1); break;
    default: RoundTrip(data + 1, size - 1); break;
  }
  return 0;
}
