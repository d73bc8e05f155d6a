#include "TKAMemoryStream.h"

#include <utility>

TKAByteBuffer::TKAByteBuffer(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
  char* begin = reinterpret_cast<char*>(bytes_.data());
  setg(begin, begin, begin + bytes_.size());
}

TKAByteBuffer::pos_type TKAByteBuffer::seekoff(off_type off, std::ios_base::seekdir dir,
                                               std::ios_base::openmode which) {
  if (!(which & std::ios_base::in)) return pos_type(off_type(-1));
  off_type base = 0;
  if (dir == std::ios_base::cur) {
    base = gptr() - eback();
  } else if (dir == std::ios_base::end) {
    base = static_cast<off_type>(bytes_.size());
  }
  return seekpos(pos_type(base + off), which);
}

TKAByteBuffer::pos_type TKAByteBuffer::seekpos(pos_type pos, std::ios_base::openmode which) {
  const off_type target = off_type(pos);
  if (!(which & std::ios_base::in) || target < 0 || target > static_cast<off_type>(bytes_.size())) {
    return pos_type(off_type(-1));
  }
  setg(eback(), eback() + target, egptr());
  return pos;
}

TKAMemoryStream::TKAMemoryStream(std::vector<uint8_t> bytes)
    : tka_detail::TKAByteBufferHolder(std::move(bytes)), std::istream(&Buffer) {}
