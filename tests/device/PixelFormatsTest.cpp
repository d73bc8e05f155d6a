#include "PixelFormats.h"

#include <gtest/gtest.h>

namespace {

TEST(PixelFormatsTest, BitCountsAndNames) {
  EXPECT_EQ(FormatBitCount(D3DFMT_R5G6B5), 16);
  EXPECT_EQ(FormatBitCount(D3DFMT_R8G8B8), 24);
  EXPECT_EQ(FormatBitCount(D3DFMT_A8R8G8B8), 32);
  EXPECT_EQ(FormatBitCount(D3DFMT_P8), 8);
  EXPECT_EQ(FormatBitCount(D3DFMT_A8P8), 16);
  EXPECT_EQ(FormatBitCount(D3DFMT_A4L4), 8);
  EXPECT_EQ(FormatBitCount(D3DFMT_V16U16), 32);
  EXPECT_EQ(FormatBitCount(D3DFMT_D15S1), 16);
  EXPECT_EQ(FormatBitCount(D3DFMT_D24X4S4), 32);
  EXPECT_EQ(FormatBitCount(D3DFMT_D16), 16);
  EXPECT_EQ(FormatBitCount(D3DFORMAT(31)), 0);
  EXPECT_EQ(FormatBitCount(D3DFMT_DXT1), 0);

  EXPECT_EQ(FormatName(D3DFMT_A8R8G8B8), "A8R8G8B8");
  EXPECT_EQ(FormatName(D3DFORMAT(31)), "UNKNOWN");
  EXPECT_EQ(FormatName(D3DFMT_UNKNOWN), "UNKNOWN");
  EXPECT_EQ(FormatName(D3DFMT_L6V5U5), "L6V5U5");
  EXPECT_EQ(FormatName(D3DFMT_D16_LOCKABLE), "D16_LOCKABLE");
  EXPECT_EQ(FormatName(D3DFORMAT(100)), "VERTEXDATA");
  EXPECT_EQ(FormatName(D3DFORMAT(102)), "INDEX32");
  EXPECT_EQ(FormatName(D3DFORMAT(0x31545844)), "DXT1");  // 'D','X','T','1' little-endian
  EXPECT_EQ(FormatName(D3DFMT_UYVY), "UYVY");
}

TEST(PixelFormatsTest, ScaleComponentWidensToFullRange) {
  EXPECT_EQ(ScaleComponent(31, 5), 255u);
  EXPECT_EQ(ScaleComponent(15, 4), 255u);
  EXPECT_EQ(ScaleComponent(16, 5), 131u);  // 4080 / 31
  EXPECT_EQ(ScaleComponent(1, 2), 85u);
  EXPECT_EQ(ScaleComponent(0xFFFFFFFFu, 32), 255u);  // needs the 64-bit intermediate
  EXPECT_EQ(ScaleComponent(7, 0), 0u);
}

TEST(PixelFormatsTest, R5G6B5KeepsSixBitsOfGreen) {
  EXPECT_EQ(PixelToARGB(0xF800, D3DFMT_R5G6B5), 0xFFFF0000u);
  EXPECT_EQ(ARGBToPixel(0xFFFF0000u, D3DFMT_R5G6B5), 0xF800u);
  // Green 0x84 = 100001 00: six bits 33 -> 33 * 255 / 63 = 133
  EXPECT_EQ(ARGBToPixel(0x00008400u, D3DFMT_R5G6B5), 33u << 5);
  EXPECT_EQ(PixelToARGB(33u << 5, D3DFMT_R5G6B5), 0xFF008500u);
  EXPECT_EQ(ComponentsToPixel(0, 0x10, 0xFF, 0x0F, D3DFMT_R5G6B5), (2u << 11) | (63u << 5) | 1u);
}

TEST(PixelFormatsTest, A1R5G5B5AlphaIsOneBit) {
  EXPECT_EQ(PixelToARGB(0x7FFF, D3DFMT_A1R5G5B5), 0x00FFFFFFu);
  EXPECT_EQ(PixelToARGB(0xFFFF, D3DFMT_A1R5G5B5), 0xFFFFFFFFu);
  EXPECT_EQ(ARGBToPixel(0x80000000u, D3DFMT_A1R5G5B5), 0x8000u);
  EXPECT_EQ(ARGBToPixel(0x7FFFFFFFu, D3DFMT_A1R5G5B5), 0x7FFFu);
  EXPECT_EQ(ComponentsToPixel(255, 8, 16, 248, D3DFMT_A1R5G5B5), 0x8000u | (1u << 10) | (2u << 5) | 31u);
  EXPECT_EQ(PixelToARGB(0x8000u | (1u << 10) | (2u << 5) | 31u, D3DFMT_A1R5G5B5), 0xFF0810FFu);
  // X1R5G5B5 ignores bit 15 both ways.
  EXPECT_EQ(PixelToARGB(0x7C00, D3DFMT_X1R5G5B5), 0xFFFF0000u);
  EXPECT_EQ(PixelToARGB(0x8000, D3DFMT_X1R5G5B5), 0xFF000000u);
  EXPECT_EQ(ARGBToPixel(0xFFFFFFFFu, D3DFMT_X1R5G5B5), 0x7FFFu);
}

TEST(PixelFormatsTest, ThirtyTwoAndTwentyFourBitFormats) {
  EXPECT_EQ(ARGBToPixel(0x12345678u, D3DFMT_A8R8G8B8), 0x12345678u);
  EXPECT_EQ(ARGBToPixel(0x12345678u, D3DFMT_R8G8B8), 0x12345678u);
  EXPECT_EQ(ARGBToPixel(0x12345678u, D3DFMT_X8R8G8B8), 0x00345678u);
  EXPECT_EQ(ARGBToPixel(0x12345678u, D3DFMT_X8L8V8U8), 0x00345678u);
  EXPECT_EQ(ARGBToPixel(0x12345678u, D3DFMT_Q8W8V8U8), 0x12345678u);
  EXPECT_EQ(ComponentsToPixel(0x12, 0x34, 0x56, 0x78, D3DFMT_A8R8G8B8), 0x12345678u);
  EXPECT_EQ(ComponentsToPixel(0x12, 0x34, 0x56, 0x78, D3DFMT_Q8W8V8U8), 0x12345678u);
  EXPECT_EQ(ComponentsToPixel(0x12, 0x34, 0x56, 0x78, D3DFMT_R8G8B8), 0x00345678u);
  EXPECT_EQ(ComponentsToPixel(0x12, 0x34, 0x56, 0x78, D3DFMT_X8R8G8B8), 0x00345678u);
  EXPECT_EQ(ComponentsToPixel(0x12, 0x34, 0x56, 0x78, D3DFMT_X8L8V8U8), 0x00345678u);

  EXPECT_EQ(PixelToARGB(0x00345678u, D3DFMT_R8G8B8), 0xFF345678u);
  EXPECT_EQ(PixelToARGB(0x12345678u, D3DFMT_X8R8G8B8), 0xFF345678u);
  EXPECT_EQ(PixelToARGB(0x12345678u, D3DFMT_A8R8G8B8), 0x12345678u);
  EXPECT_EQ(PixelToARGB(0x12345678u, D3DFMT_X8L8V8U8), 0x12345678u);
  EXPECT_EQ(PixelToARGB(0x12345678u, D3DFMT_Q8W8V8U8), 0x12345678u);
}

TEST(PixelFormatsTest, FourAndThreeBitFormats) {
  EXPECT_EQ(ARGBToPixel(0x9ABCDEF0u, D3DFMT_A4R4G4B4), 0x9BDFu);
  EXPECT_EQ(ARGBToPixel(0x9ABCDEF0u, D3DFMT_X4R4G4B4), 0x0BDFu);
  EXPECT_EQ(PixelToARGB(0x9BDFu, D3DFMT_A4R4G4B4), 0x99BBDDFFu);
  EXPECT_EQ(PixelToARGB(0x1BDFu, D3DFMT_X4R4G4B4), 0xFFBBDDFFu);

  // R3G3B2: red 0xE0 -> 7, green 0x40 -> 2, blue 0xC0 -> 3
  EXPECT_EQ(ARGBToPixel(0x55E040C0u, D3DFMT_R3G3B2), (7u << 5) | (2u << 2) | 3u);
  EXPECT_EQ(ARGBToPixel(0x55E040C0u, D3DFMT_A8R3G3B2), 0x5500u | (7u << 5) | (2u << 2) | 3u);
  // 2 of 3 bits -> 72, 1 of 2 bits -> 85
  EXPECT_EQ(PixelToARGB((7u << 5) | (2u << 2) | 1u, D3DFMT_R3G3B2), 0xFFFF4855u);
  EXPECT_EQ(PixelToARGB(0x5500u | (7u << 5) | (2u << 2) | 1u, D3DFMT_A8R3G3B2), 0x55FF4855u);
}

TEST(PixelFormatsTest, LuminanceMapsToRed) {
  EXPECT_EQ(ARGBToPixel(0x80C0FFFFu, D3DFMT_L8), 0xC0u);
  EXPECT_EQ(ARGBToPixel(0x80C0FFFFu, D3DFMT_A8), 0x80u);
  EXPECT_EQ(ARGBToPixel(0x80C0FFFFu, D3DFMT_A8L8), 0x80C0u);
  EXPECT_EQ(ARGBToPixel(0x80C0FFFFu, D3DFMT_A4L4), 0x8Cu);
  EXPECT_EQ(PixelToARGB(0xC0u, D3DFMT_L8), 0x00C00000u);
  EXPECT_EQ(PixelToARGB(0x80u, D3DFMT_A8), 0x80000000u);
  EXPECT_EQ(PixelToARGB(0x80C0u, D3DFMT_A8L8), 0x80C00000u);
  EXPECT_EQ(PixelToARGB(0x8Cu, D3DFMT_A4L4), 0x88CC0000u);
}

TEST(PixelFormatsTest, BumpFormatsMapVToGreenAndUToBlue) {
  EXPECT_EQ(ARGBToPixel(0xFF123456u, D3DFMT_V8U8), 0x3456u);
  EXPECT_EQ(PixelToARGB(0x3456u, D3DFMT_V8U8), 0x3456u);
  // L6V5U5: red 0xFC -> 63, green 0x88 -> 17, blue 0x0F -> 1
  const uint32_t l6v5u5 = (63u << 10) | (17u << 5) | 1u;
  EXPECT_EQ(ARGBToPixel(0xFFFC880Fu, D3DFMT_L6V5U5), l6v5u5);
  EXPECT_EQ(PixelToARGB(l6v5u5, D3DFMT_L6V5U5), 0x00FC8808u);  // shifted, not scaled; no alpha
  EXPECT_EQ(ARGBToPixel(0xFF123456u, D3DFMT_V16U16), 0x34005600u);
  EXPECT_EQ(ComponentsToPixel(0xFF, 0x12, 0x34, 0x56, D3DFMT_V16U16), 0x34005600u);
  EXPECT_EQ(PixelToARGB(0x34005600u, D3DFMT_V16U16), 0x00003456u);
}

TEST(PixelFormatsTest, FormatsWithoutPackingGiveZero) {
  for (D3DFORMAT format : {D3DFMT_P8, D3DFMT_A8P8, D3DFMT_D16, D3DFMT_D24S8, D3DFMT_DXT1, D3DFORMAT(31)}) {
    EXPECT_EQ(ARGBToPixel(0xFFFFFFFFu, format), 0u) << format;
    EXPECT_EQ(ComponentsToPixel(255, 255, 255, 255, format), 0u) << format;
    EXPECT_EQ(PixelToARGB(0xFFFFFFFFu, format), 0u) << format;
  }
}

TEST(PixelFormatsTest, PackingThenUnpackingKeepsTheTopBits) {
  // Every packed field keeps the top bits of its channel, so full-intensity channels survive the round trip.
  const D3DFORMAT formats[] = {D3DFMT_R5G6B5,   D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4,
                               D3DFMT_X4R4G4B4, D3DFMT_R3G3B2,   D3DFMT_A8R3G3B2};
  for (D3DFORMAT format : formats) {
    for (uint32_t argb : {0xFFFFFFFFu, 0xFF000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}) {
      EXPECT_EQ(PixelToARGB(ARGBToPixel(argb, format), format), argb) << FormatName(format) << std::hex << argb;
    }
  }
}

}  // namespace
