#include "TextEncoding.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <stdexcept>

namespace {

// Length of the UTF-8 sequence introduced by a lead byte (1 for stray bytes, so they are skipped singly).
size_t Utf8SequenceLength(unsigned char Lead) {
  if (Lead >= 0xF0 && Lead <= 0xF4) return 4;
  if (Lead >= 0xE0) return Lead <= 0xEF ? 3 : 1;
  if (Lead >= 0xC2) return 2;
  return 1;
}

// The bytes of the character iconv could not take at `In`: its lead byte and the continuation bytes
// that really follow it. A sequence broken off early ends there, so the text after it is kept.
size_t Utf8PieceLength(const char* In, size_t InLeft) {
  const size_t expected = Utf8SequenceLength(static_cast<unsigned char>(In[0]));
  size_t length = 1;
  while (length < expected && length < InLeft && (static_cast<unsigned char>(In[length]) & 0xC0) == 0x80) ++length;
  return length;
}

class TIconvConverter {
 public:
  TIconvConverter(const char* To, const char* From) : cd_(iconv_open(To, From)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + From + " to " + To);
    }
  }
  ~TIconvConverter() { iconv_close(cd_); }
  TIconvConverter(const TIconvConverter&) = delete;
  TIconvConverter& operator=(const TIconvConverter&) = delete;

  // Converts the whole input; an unconvertible piece of `skip(In, InLeft)` bytes is replaced by
  // `Replacement`. With `StopAt`, the conversion ends at the first such piece instead and reports its
  // offset there (the input's size when there is none).
  template <typename SkipLength>
  std::string Convert(std::string_view Input, std::string_view Replacement, SkipLength Skip, size_t* StopAt = nullptr) {
    if (StopAt != nullptr) *StopAt = Input.size();
    std::string out;
    out.reserve(Input.size() * 2 + 4);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(Input.data());
    size_t inLeft = Input.size();
    char buffer[256];
    while (inLeft > 0) {
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      size_t rc = iconv(cd_, &in, &inLeft, &dst, &dstLeft);
      out.append(buffer, dst - buffer);
      if (rc != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: an invalid, unrepresentable or cut-off character.
      if (StopAt != nullptr) {
        *StopAt = static_cast<size_t>(in - Input.data());
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return out;
      }
      size_t n = std::min(inLeft, Skip(in, inLeft));
      in += n;
      inLeft -= n;
      out.append(Replacement);
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, dst - buffer);
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string ToCP932(std::string_view Utf8) {
  static TIconvConverter converter("CP932", "UTF-8");
  return converter.Convert(Utf8, "?", Utf8PieceLength);
}

std::string ToUTF8(std::string_view Cp932) {
  static TIconvConverter converter("UTF-8", "CP932");
  return converter.Convert(Cp932, "\xEF\xBF\xBD", [](const char*, size_t) { return size_t{1}; });
}

bool StrictCP932ToUTF8(std::string_view Cp932, std::string& Utf8, size_t& BadOffset) {
  static TIconvConverter converter("UTF-8", "CP932");
  Utf8 = converter.Convert(
      Cp932, "", [](const char*, size_t) { return size_t{1}; }, &BadOffset);
  return BadOffset == Cp932.size();
}

const std::string& Jp(const char* Utf8Literal) {
  static std::map<std::string, std::string, std::less<>> cache;
  auto found = cache.find(std::string_view(Utf8Literal));
  if (found == cache.end()) found = cache.emplace(Utf8Literal, ToCP932(Utf8Literal)).first;
  return found->second;
}
