#include "RasterBitmap.h"

#include <gtest/gtest.h>

#include "Exception.h"
#include "TextEncoding.h"
#include "data/DataTestSupport.h"
#include "device/BMPTestImages.h"

using datatest::MakeBmp;

namespace {

TRasterBitmap Decode(const std::string& Bytes) {
  TRasterBitmap bitmap;
  bitmap.LoadFromBytes(Bytes, "test.bmp");
  return bitmap;
}

}  // namespace

TEST(RasterBitmapTest, ReadsEveryDepthTopRowFirst) {
  // 3 x 2: top row red, green, blue; bottom row white, black, magenta.
  std::vector<uint32_t> rgb = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xFF00FF};
  TRasterBitmap b24 = Decode(MakeBmp(3, 2, 24, rgb));
  ASSERT_EQ(b24.Width(), 3);
  ASSERT_EQ(b24.Height(), 2);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(b24.Pixel(i % 3, i / 3), rgb[i]) << i;

  std::vector<uint32_t> argb = {0x80FF0000, 0xFF00FF00, 0x000000FF, 0xFFFFFFFF, 0, 0x12FF00FF};
  TRasterBitmap b32 = Decode(MakeBmp(3, 2, 32, argb));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(b32.Pixel(i % 3, i / 3), rgb[i]) << i;  // alpha dropped

  // X1R5G5B5: 31 widens to 255.
  std::vector<uint32_t> x555 = {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x7C1F};
  TRasterBitmap b16 = Decode(MakeBmp(3, 2, 16, x555));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(b16.Pixel(i % 3, i / 3), rgb[i]) << i;
}

TEST(RasterBitmapTest, EightBitPaletteKeepsColours) {
  std::vector<uint32_t> palette(6, 0);
  palette[5] = 0x00302010;  // bytes B=0x10, G=0x20, R=0x30
  palette[1] = 0x00FF00FF;
  TRasterBitmap b = Decode(MakeBmp(2, 1, 8, {5, 1}, palette));
  EXPECT_EQ(b.Pixel(0, 0), 0x302010u);
  EXPECT_EQ(b.Pixel(1, 0), 0xFF00FFu);
  // An index past the stored palette reads black instead of reading past the table.
  EXPECT_EQ(Decode(MakeBmp(1, 1, 8, {200}, palette)).Pixel(0, 0), 0u);
}

TEST(RasterBitmapTest, OneAndFourBitPicturesAreReadToo) {
  std::vector<uint32_t> palette = {0x00000000, 0x00FF00FF, 0x00112233};
  TRasterBitmap mono = Decode(MakeBmp(10, 2, 1, {1, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}, palette));
  EXPECT_EQ(mono.Pixel(0, 0), 0xFF00FFu);
  EXPECT_EQ(mono.Pixel(1, 0), 0u);
  EXPECT_EQ(mono.Pixel(9, 0), 0xFF00FFu);
  EXPECT_EQ(mono.Pixel(8, 1), 0xFF00FFu);
  TRasterBitmap nibbles = Decode(MakeBmp(3, 1, 4, {2, 1, 2}, palette));
  EXPECT_EQ(nibbles.Pixel(0, 0), 0x112233u);
  EXPECT_EQ(nibbles.Pixel(1, 0), 0xFF00FFu);
  EXPECT_EQ(nibbles.Pixel(2, 0), 0x112233u);
}

TEST(RasterBitmapTest, RunLengthPicturesAreDecodedWithinTheirBounds) {
  const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  // 5 x 2, bottom row first. RLE8: a run of 5; a delta one right, an absolute block of 3, the end.
  TRasterBitmap rle8 = Decode(bmptest::RleImage(
      5, 2, 8, palette, std::string("\x05\x01\x00\x00\x00\x02\x01\x00\x00\x03\x02\x03\x02\x00\x00\x01", 16)));
  // RLE4: a run alternating two indices; an absolute block of 3 nibbles, then an end of line.
  TRasterBitmap rle4 =
      Decode(bmptest::RleImage(5, 2, 4, palette, std::string("\x05\x12\x00\x00\x00\x03\x32\x30\x00\x00\x00\x01", 12)));
  const uint32_t top8[5] = {0, 0x00FF00, 0x0000FF, 0x00FF00, 0};
  const uint32_t top4[5] = {0x0000FF, 0x00FF00, 0x0000FF, 0, 0};
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(rle8.Pixel(x, 1), 0xFF0000u) << x;
    EXPECT_EQ(rle8.Pixel(x, 0), top8[x]) << x;
    EXPECT_EQ(rle4.Pixel(x, 1), x % 2 == 0 ? 0xFF0000u : 0x00FF00u) << x;
    EXPECT_EQ(rle4.Pixel(x, 0), top4[x]) << x;
  }
  const std::string damaged[] = {
      std::string("\x06\x01\x00\x01", 4),                  // a run past the row
      std::string("\x00\x02\x06\x00\x00\x01", 6),          // a delta past the row
      std::string("\x00\x00\x00\x00\x00\x00\x00\x01", 8),  // lines past the top
      std::string("\x00\x05\x01\x01", 4),                  // an absolute block cut off
      std::string("\x05\x01", 2),                          // no end mark
  };
  for (const std::string& codes : damaged) {
    EXPECT_THROW(Decode(bmptest::RleImage(5, 2, 8, palette, codes)), Exception) << codes.size();
  }
}

TEST(RasterBitmapTest, APictureTooLargeToHoldSaysSo) {
  std::string bmp = MakeBmp(1, 1, 24, {0});
  bmp.replace(18, 4, std::string("\x00\x00\x01\x00", 4));  // 65536 pixels wide
  try {
    Decode(bmp);
    ADD_FAILURE() << "accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), Jp("ビットマップが大きすぎます (test.bmp 65536 x 1)"));
  }
}

TEST(RasterBitmapTest, WritesAndReadsBackAndCopiesRectangles) {
  TRasterBitmap source(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) source.SetPixel(x, y, static_cast<uint32_t>(y * 16 + x));
  std::string bytes = source.SaveToBytes();
  // 24-bit rows of 15 bytes are stored as 16.
  EXPECT_EQ(bytes.size(), 54u + 16 * 3);
  TRasterBitmap back = Decode(bytes);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back.Pixel(x, y), static_cast<uint32_t>(y * 16 + x));

  TRasterBitmap cut(2, 2);
  cut.CopyRect(0, 0, source, 3, 1, 2, 2);
  EXPECT_EQ(cut.Pixel(0, 0), 0x13u);
  EXPECT_EQ(cut.Pixel(1, 1), 0x24u);
  // A rectangle reaching past the source copies only what exists.
  TRasterBitmap edge(3, 3);
  edge.CopyRect(0, 0, source, 4, 2, 3, 3);
  EXPECT_EQ(edge.Pixel(0, 0), 0x24u);
  EXPECT_EQ(edge.Pixel(1, 0), 0u);
}

TEST(RasterBitmapTest, BrokenFilesRaiseNamingTheFile) {
  std::string good = MakeBmp(4, 4, 24, std::vector<uint32_t>(16, 0xFFFFFF));
  std::vector<std::string> broken = {
      "",
      "not a bitmap at all, just text",
      good.substr(0, 60),  // pixel rows cut off
      "BM" + good.substr(2, 12),
  };
  std::string hugeHeader = good;
  hugeHeader[18] = '\xFF';  // width 0x7FFFFFFF-ish
  hugeHeader[21] = '\x7F';
  broken.push_back(hugeHeader);
  std::string fourBitRle = good;
  fourBitRle[30] = 2;  // RLE4 compression
  broken.push_back(fourBitRle);
  for (const std::string& bytes : broken) {
    TRasterBitmap b;
    try {
      b.LoadFromBytes(bytes, "pic.bmp");
      ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find("pic.bmp"), std::string::npos);
    }
  }
}

TEST(RasterBitmapTest, PenLinesExcludeTheEndPointAndFillRectsClip) {
  TRasterBitmap b(10, 5);
  b.SetPenColor(0xFFFFFF);
  b.MoveTo(1, 1);
  b.LineTo(5, 1);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(b.Pixel(x, 1), (x >= 1 && x <= 4) ? 0xFFFFFFu : 0u) << x;
  EXPECT_EQ(b.PenX(), 5);
  // A diagonal of width 1 touches one pixel per step.
  b.MoveTo(0, 0);
  b.LineTo(3, 3);
  EXPECT_EQ(b.Pixel(2, 2), 0xFFFFFFu);
  EXPECT_EQ(b.Pixel(3, 3), 0u);
  // Width 2 covers a 2 x 2 block per point.
  TRasterBitmap w(10, 5);
  w.SetPenColor(0x00FF00);
  w.SetPenWidth(2);
  w.MoveTo(3, 3);
  w.LineTo(3, 4);
  EXPECT_EQ(w.Pixel(2, 2), 0x00FF00u);
  EXPECT_EQ(w.Pixel(3, 3), 0x00FF00u);
  EXPECT_EQ(w.Pixel(3, 4), 0u);

  b.FillRect(-5, 3, 3, 99, 0x123456);
  EXPECT_EQ(b.Pixel(0, 4), 0x123456u);
  EXPECT_EQ(b.Pixel(2, 3), 0x123456u);
  EXPECT_EQ(b.Pixel(3, 3), 0u);
}
