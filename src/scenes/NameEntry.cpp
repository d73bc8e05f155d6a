#include "NameEntry.h"

#include <algorithm>

void TNameEntry::Start(const std::string& Name) {
  cells_.fill(kBlank);
  const std::string name = CleanName(Name);
  std::copy(name.begin(), name.end(), cells_.begin());
  cursor_ = std::min(static_cast<int32_t>(name.size()), static_cast<int32_t>(kMaxNameLength) - 1);
}

void TNameEntry::Step(int32_t Delta) {
  // Position 0 is the blank, 1 onwards the letters.
  const int32_t count = static_cast<int32_t>(kNameLetters.size()) + 1;
  char& cell = cells_[static_cast<size_t>(cursor_)];
  const size_t letter = kNameLetters.find(cell);
  const int32_t at = letter == std::string_view::npos ? 0 : static_cast<int32_t>(letter) + 1;
  const int32_t next = ((at + Delta) % count + count) % count;
  cell = next == 0 ? kBlank : kNameLetters[static_cast<size_t>(next - 1)];
}

void TNameEntry::Move(int32_t Delta) {
  cursor_ = std::clamp(cursor_ + Delta, 0, static_cast<int32_t>(kMaxNameLength) - 1);
}

std::string TNameEntry::Name() const {
  std::string name;
  for (const char c : cells_) {
    if (c != kBlank) name += c;
  }
  return name;
}
