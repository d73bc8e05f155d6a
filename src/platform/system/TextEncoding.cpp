#include "TextEncoding.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <stdexcept>

namespace {

// Length of the UTF-8 sequence introduced by a lead byte (1 for stray bytes, so they are skipped singly).
size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// The bytes of the character iconv could not take at `in`: its lead byte and the continuation bytes
// that really follow it. A sequence broken off early ends there, so the text after it is kept.
size_t Utf8PieceLength(const char* in, size_t inLeft) {
  const size_t expected = Utf8SequenceLength(static_cast<unsigned char>(in[0]));
  size_t length = 1;
  while (length < expected && length < inLeft && (static_cast<unsigned char>(in[length]) & 0xC0) == 0x80) ++length;
  return length;
}

class IconvConverter {
 public:
  IconvConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  ~IconvConverter() { iconv_close(cd_); }
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  // Converts the whole input; an unconvertible piece of `skip(in, inLeft)` bytes is replaced by
  // `replacement`. With `stopAt`, the conversion ends at the first such piece instead and reports its
  // offset there (the input's size when there is none).
  template <typename SkipLength>
  std::string Convert(std::string_view input, std::string_view replacement, SkipLength skip, size_t* stopAt = nullptr) {
    if (stopAt != nullptr) *stopAt = input.size();
    std::string out;
    out.reserve(input.size() * 2 + 4);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      size_t rc = iconv(cd_, &in, &inLeft, &dst, &dstLeft);
      out.append(buffer, dst - buffer);
      if (rc != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: an invalid, unrepresentable or cut-off character.
      if (stopAt != nullptr) {
        *stopAt = static_cast<size_t>(in - input.data());
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return out;
      }
      size_t n = std::min(inLeft, skip(in, inLeft));
      in += n;
      inLeft -= n;
      out.append(replacement);
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

std::string ToCP932(std::string_view utf8) {
  static IconvConverter converter("CP932", "UTF-8");
  return converter.Convert(utf8, "?", Utf8PieceLength);
}

std::string ToUTF8(std::string_view cp932) {
  static IconvConverter converter("UTF-8", "CP932");
  return converter.Convert(cp932, "\xEF\xBF\xBD", [](const char*, size_t) { return size_t{1}; });
}

bool StrictCP932ToUTF8(std::string_view cp932, std::string& utf8, size_t& badOffset) {
  static IconvConverter converter("UTF-8", "CP932");
  utf8 = converter.Convert(
      cp932, "", [](const char*, size_t) { return size_t{1}; }, &badOffset);
  return badOffset == cp932.size();
}

const std::string& Jp(const char* utf8Literal) {
  static std::map<std::string, std::string, std::less<>> cache;
  auto found = cache.find(std::string_view(utf8Literal));
  if (found == cache.end()) found = cache.emplace(utf8Literal, ToCP932(utf8Literal)).first;
  return found->second;
}
