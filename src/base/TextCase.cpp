#include "TextCase.h"

namespace {
bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
}  // namespace

std::string UpperCaseText(const std::string& text) {
  std::string upper = text;
  for (size_t i = 0; i < upper.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(upper[i]);
    if (IsLeadByte(c)) {
      ++i;  // the trail byte may look like a letter; it is part of the character
    } else if (c >= 'a' && c <= 'z') {
      upper[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return upper;
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && UpperCaseText(a) == UpperCaseText(b);
}
