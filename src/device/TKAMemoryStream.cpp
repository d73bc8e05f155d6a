#include "TKAMemoryStream.h"

#include <utility>

TKAByteBuffer::TKAByteBuffer(std::vector<uint8_t> Bytes) : bytes_(std::move(Bytes)) {
  char* begin = reinterpret_cast<char*>(bytes_.data());
  setg(begin, begin, begin + bytes_.size());
}

TKAByteBuffer::pos_type TKAByteBuffer::seekoff(off_type Off, std::ios_base::seekdir Dir,
                                               std::ios_base::openmode Which) {
  if (!(Which & std::ios_base::in)) return pos_type(off_type(-1));
  off_type base = 0;
  if (Dir == std::ios_base::cur) {
    base = gptr() - eback();
  } else if (Dir == std::ios_base::end) {
    base = static_cast<off_type>(bytes_.size());
  }
  return seekpos(pos_type(base + Off), Which);
}

TKAByteBuffer::pos_type TKAByteBuffer::seekpos(pos_type Pos, std::ios_base::openmode Which) {
  const off_type target = off_type(Pos);
  if (!(Which & std::ios_base::in) || target < 0 || target > static_cast<off_type>(bytes_.size())) {
    return pos_type(off_type(-1));
  }
  setg(eback(), eback() + target, egptr());
  return Pos;
}

TKAMemoryStream::TKAMemoryStream(std::vector<uint8_t> Bytes)
    : tka_detail::TKAByteBufferHolder(std::move(Bytes)), std::istream(&Buffer) {}
