// A read-only, seekable std::istream over bytes it owns: what the archive reader hands out for an entry.
// A texture loader can read a BMP from it like from a file, or take the bytes directly.
#pragma once
#include <cstdint>
#include <istream>
#include <streambuf>
#include <vector>

class TKAByteBuffer : public std::streambuf {
 public:
  explicit TKAByteBuffer(std::vector<uint8_t> Bytes);
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 protected:
  pos_type seekoff(off_type Off, std::ios_base::seekdir Dir, std::ios_base::openmode Which) override;
  pos_type seekpos(pos_type Pos, std::ios_base::openmode Which) override;

 private:
  std::vector<uint8_t> bytes_;
};

namespace tka_detail {
// Holds the buffer so that it is built before the std::istream base that reads from it.
struct TKAByteBufferHolder {
  explicit TKAByteBufferHolder(std::vector<uint8_t> Bytes) : Buffer(std::move(Bytes)) {}
  TKAByteBuffer Buffer;
};
}  // namespace tka_detail

class TKAMemoryStream : private tka_detail::TKAByteBufferHolder, public std::istream {
 public:
  // Positioned at 0.
  explicit TKAMemoryStream(std::vector<uint8_t> Bytes);
  TKAMemoryStream(const TKAMemoryStream&) = delete;
  TKAMemoryStream& operator=(const TKAMemoryStream&) = delete;

  const std::vector<uint8_t>& Bytes() const { return Buffer.Bytes(); }
  size_t Size() const { return Buffer.Bytes().size(); }
};
