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
  const std::string Name = File.string();
  if (Width <= 0 || Height <= 0) throw Exception("cannot write an empty image as PNG: " + Name);
  std::unique_ptr<FILE, TFileCloser> Out(std::fopen(Name.c_str(), "wb"));
  if (!Out) throw Exception("cannot create PNG file: " + Name);
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!Png) throw Exception("cannot start PNG writing: " + Name);
  png_infop Info = png_create_info_struct(Png);
  const int Channels = KeepAlpha ? 4 : 3;
  // Row buffer allocated before the jump point so that a libpng error cannot leak it.
  std::vector<png_byte> Packed(size_t(Width) * Channels);
  if (!Info || setjmp(png_jmpbuf(Png))) {
    png_destroy_write_struct(&Png, &Info);
    throw Exception("cannot write PNG file: " + Name);
  }
  png_init_io(Png, Out.get());
  png_set_IHDR(Png, Info, png_uint_32(Width), png_uint_32(Height), 8,
               KeepAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(Png, Info);
  for (int32_t Y = 0; Y < Height; ++Y) {
    const uint32_t* Source = nullptr;
    try {
      Source = Row(Y);
    } catch (...) {
      // The row maker failed (the picture could not be drawn): no half-written structures are left behind.
      png_destroy_write_struct(&Png, &Info);
      throw;
    }
    for (int32_t X = 0; X < Width; ++X) {
      uint32_t C = Source[X];
      png_byte* P = Packed.data() + size_t(X) * Channels;
      P[0] = png_byte(C >> 16);
      P[1] = png_byte(C >> 8);
      P[2] = png_byte(C);
      if (KeepAlpha) P[3] = png_byte(C >> 24);
    }
    png_write_row(Png, Packed.data());
  }
  png_write_end(Png, Info);
  png_destroy_write_struct(&Png, &Info);
  if (std::fflush(Out.get()) != 0) throw Exception("cannot write PNG file: " + Name);
}
