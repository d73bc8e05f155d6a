// libFuzzer target: the raster bitmap's BMP reader, and the write-read round trip of what it accepts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Exception.h"
#include "RasterBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TRasterBitmap bitmap;
  try {
    bitmap.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.bmp");
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
