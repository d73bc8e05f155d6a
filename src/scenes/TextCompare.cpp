#include "TextCompare.h"

namespace {
bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
unsigned char UpperAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }
}  // namespace

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const unsigned char ca = a[i], cb = b[i];
    if (IsLeadByte(ca) && i + 1 < a.size()) {
      if (ca != cb || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (UpperAscii(ca) != UpperAscii(cb)) return false;
  }
  return true;
}
