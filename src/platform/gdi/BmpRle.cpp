#include "BmpRle.h"

namespace {

class TRleDecoder {
 public:
  TRleDecoder(std::string_view Data, int BitsPerIndex, uint32_t Width, uint32_t Height, const TRlePixelSink& Put)
      : data_(Data), four_(BitsPerIndex == 4), width_(Width), height_(Height), put_(Put) {}

  bool Run() {
    while (Has(2)) {
      const uint8_t count = Byte(0);
      const uint8_t value = Byte(1);
      at_ += 2;
      if (count > 0) {
        if (!Fits(count)) return false;
        for (uint32_t i = 0; i < count; ++i) Put(four_ ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
        continue;
      }
      switch (value) {
        case 0:  // end of line
          x_ = 0;
          ++y_;
          if (!Inside()) return false;
          break;
        case 1:  // end of picture
          return true;
        case 2:  // delta: move right and up
          if (!Has(2)) return false;
          x_ += Byte(0);
          y_ += Byte(1);
          at_ += 2;
          if (!Inside()) return false;
          break;
        default:  // absolute block of `value` indices, padded to a whole 16-bit word
          if (!Absolute(value)) return false;
          break;
      }
    }
    return false;  // no end-of-picture mark
  }

 private:
  bool Has(size_t Count) const { return Count <= data_.size() - at_; }
  uint8_t Byte(size_t Offset) const { return static_cast<uint8_t>(data_[at_ + Offset]); }

  // A position the data may move to: on a row of the picture, at most just past its last pixel, or at the
  // start of the row above the picture (after the last row's end of line).
  bool Inside() const { return (y_ < height_ && x_ <= width_) || (y_ == height_ && x_ == 0); }
  bool Fits(uint32_t Count) const { return y_ < height_ && x_ <= width_ && Count <= width_ - x_; }

  void Put(unsigned Index) {
    put_(static_cast<uint32_t>(x_), static_cast<uint32_t>(y_), static_cast<uint8_t>(Index));
    ++x_;
  }

  bool Absolute(uint32_t Count) {
    const size_t bytes = four_ ? (Count + 1) / 2 : Count;
    const size_t padded = (bytes + 1) & ~size_t{1};
    if (!Has(padded) || !Fits(Count)) return false;
    for (uint32_t i = 0; i < Count; ++i) {
      const uint8_t byte = Byte(four_ ? i / 2 : i);
      Put(four_ ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte);
    }
    at_ += padded;
    return true;
  }

  std::string_view data_;
  bool four_;
  uint32_t width_;
  uint32_t height_;
  const TRlePixelSink& put_;
  size_t at_ = 0;
  uint64_t x_ = 0;  // wide enough that a delta can never wrap
  uint64_t y_ = 0;
};

}  // namespace

bool DecodeBmpRle(std::string_view Data, int BitsPerIndex, uint32_t Width, uint32_t Height, const TRlePixelSink& Put) {
  if (BitsPerIndex != 4 && BitsPerIndex != 8) return false;
  return TRleDecoder(Data, BitsPerIndex, Width, Height, Put).Run();
}
