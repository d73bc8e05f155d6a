// Builds archive files (kind TKA) that the reader accepts: header, directory, then each item's data,
// plain or byte-pair encoded. Used by the morvanth-tka tool and by tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct TKAItem {
  std::string ID;  // CP932, 1 to 255 bytes, no zero byte; unique regardless of letter case
  std::vector<uint8_t> Bytes;
};

class TKAWriter {
 public:
  // The whole archive file. Raises ETKAError for an id that cannot be stored or is repeated, and for
  // contents that would not fit the format's 32-bit offsets or the reader's expansion limit.
  static std::vector<uint8_t> Build(const std::vector<TKAItem>& Items, bool Compress);
};
