#include "PngWriter.h"
#include <png.h>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>
#include "Exception.h"

namespace {

struct TFileCloser {
  void operator()(FILE* F) const { std::fclose(F); }
};

}  // namespace

void WritePng(const std::filesystem::path& File, const uint32_t* Pixels, int32_t Width, int32_t Height,
              int32_t PitchBytes, bool KeepAlpha) {
  if (!Pixels) throw Exception("cannot write an empty image as PNG: " + File.string());
  WritePng(
      File, Width, Height,
      [&](int32_t Y) {
        return reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(Pixels) + size_t(Y) * PitchBytes);
      },
      KeepAlpha);
}

void WritePng(const std::filesystem::path& File, int32_t Width, int32_t Height,
              const std::function<const uint32_t*(int32_t Y)>& Row, bool KeepAlpha) {
  const std::string name = File.string();
  if (Width <= 0 || Height <= 0) throw Exception("cannot write an empty image as PNG: " + name);
  std::unique_ptr<FILE, TFileCloser> out(std::fopen(name.c_str(), "wb"));
  if (!out) throw Exception("cannot create PNG file: " + name);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) throw Exception("cannot start PNG writing: " + name);
  png_infop info = png_create_info_struct(png);
  const int channels = KeepAlpha ? 4 : 3;
  // Row buffer allocated before the jump point so that a libpng error cannot leak it.
  std::vector<png_byte> packed(size_t(Width) * channels);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw Exception("cannot write PNG file: " + name);
  }
  png_init_io(png, out.get());
  png_set_IHDR(png, info, png_uint_32(Width), png_uint_32(Height), 8,
               KeepAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < Height; ++y) {
    const uint32_t* source = nullptr;
    try {
      source = Row(y);
    } catch (...) {
      // The row maker failed (the picture could not be drawn): no half-written structures are left behind.
      png_destroy_write_struct(&png, &info);
      throw;
    }
    for (int32_t x = 0; x < Width; ++x) {
      uint32_t c = source[x];
      png_byte* p = packed.data() + size_t(x) * channels;
      p[0] = png_byte(c >> 16);
      p[1] = png_byte(c >> 8);
      p[2] = png_byte(c);
      if (KeepAlpha) p[3] = png_byte(c >> 24);
    }
    png_write_row(png, packed.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(out.get()) != 0) throw Exception("cannot write PNG file: " + name);
}
