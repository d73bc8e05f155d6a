// libFuzzer target: the raster bitmap's BMP reader, and the write-read round trip of what it accepts; and
// the run-length decoder on its own, which must never hand out a pixel outside the picture it was given.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "BmpRle.h"
#include "Exception.h"
#include "RasterBitmap.h"

namespace {

// The first two bytes give the bits per index and the picture's size; the rest are the codes.
void FuzzRle(const uint8_t* Data, size_t Size) {
  if (Size < 2) return;
  const int bits = (Data[0] & 1) ? 4 : 8;
  const uint32_t width = 1u + ((Data[0] >> 1) & 63u);
  const uint32_t height = 1u + (Data[1] & 63u);
  DecodeBmpRle(std::string_view(reinterpret_cast<const char*>(Data + 2), Size - 2), bits, width, height,
               [&](uint32_t X, uint32_t Y, uint8_t Index) {
                 if (X >= width || Y >= height || Index >= (1u << bits)) __builtin_trap();
               });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzRle(Data, Size);
  TRasterBitmap bitmap;
  try {
    bitmap.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(Data), Size), "fuzz.bmp");
  } catch (const Exception&) {
    return 0;
  }
  TRasterBitmap copy;
  copy.LoadFromBytes(bitmap.SaveToBytes(), "copy.bmp");
  if (copy.Width() != bitmap.Width() || copy.Height() != bitmap.Height()) __builtin_trap();
  TRasterBitmap cut(3, 3);
  cut.CopyRect(0, 0, bitmap, bitmap.Width() - 2, -1, 3, 3);
  return 0;
}
