#include "TextCase.h"

namespace {
bool IsLeadByte(unsigned char C) { return (C >= 0x81 && C <= 0x9F) || (C >= 0xE0 && C <= 0xFC); }
}  // namespace

std::string UpperCaseText(const std::string& Text) {
  std::string upper = Text;
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

bool SameText(const std::string& A, const std::string& B) {
  return A.size() == B.size() && UpperCaseText(A) == UpperCaseText(B);
}
