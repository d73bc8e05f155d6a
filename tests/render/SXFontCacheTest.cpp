#include "SXFontCache.h"

#include <gtest/gtest.h>

#include "CountingGlyphSource.h"
#include "PixelFormats.h"
#include "TextEncoding.h"

namespace {

TFont MakeFont(const char* Utf8Name, int32_t Points) {
  TFont font;
  font.Name = ToCP932(Utf8Name);
  font.SetSize(Points);
  return font;
}

uint32_t PixelAt(const TSXFontCacheData& Glyph, int32_t X, int32_t Y, int32_t BytesPerPixel) {
  return ReadPixelBytes(Glyph.Pixels->data() + Y * Glyph.Pitch + X * BytesPerPixel, BytesPerPixel);
}

TEST(SXFontCacheTest, RepeatedLookupsMakeNoRasteriserCall) {
  TCountingGlyphSource source;
  TSXFontCache cache(source, D3DFMT_A8R8G8B8, 16);
  const TFont font = MakeFont("ＭＳ ゴシック", 20);
  cache.GetGlyph('A', font);
  EXPECT_EQ(source.OutlineCalls, 2);  // size and metrics, then the bitmap
  EXPECT_EQ(source.BitmapCalls, 1);
  cache.GetGlyph('A', font);
  cache.GetGlyph('A', font);
  EXPECT_EQ(source.OutlineCalls, 2);
  EXPECT_EQ(cache.Count('A'), 1);

  // A glyph without pixels costs one call and keeps no pixels.
  const TSXFontCacheData& space = cache.GetGlyph(' ', font);
  EXPECT_EQ(source.OutlineCalls, 3);
  EXPECT_FALSE(space.HasPixels());
  EXPECT_EQ(space.CellIncX, 4);
}

TEST(SXFontCacheTest, SeventeenthGlyphOfABucketReplacesTheLeastRecentlyUsed) {
  TCountingGlyphSource source;
  TSXFontCache cache(source, D3DFMT_A8R8G8B8, 16);
  const TFont font = MakeFont("ＭＳ ゴシック", 20);
  // Codes k * 256 + 0x41 all fall into bucket 0x41 (the trail byte).
  auto code = [](int K) { return K * 256 + 0x41; };
  for (int k = 0; k < 16; ++k) cache.GetGlyph(code(k), font);
  EXPECT_EQ(cache.Count(0x41), 16);
  EXPECT_EQ(cache.Slot(0x41, 0).Code, code(15));
  EXPECT_EQ(cache.Slot(0x41, 15).Code, code(0));

  // A hit moves the glyph to the front: code(0) is now the most recent, code(1) the least.
  cache.GetGlyph(code(0), font);
  EXPECT_EQ(cache.Slot(0x41, 0).Code, code(0));
  EXPECT_EQ(cache.Slot(0x41, 1).Code, code(15));
  EXPECT_EQ(cache.Slot(0x41, 15).Code, code(1));
  const int calls = source.OutlineCalls;

  cache.GetGlyph(code(16), font);
  EXPECT_EQ(cache.Count(0x41), 16);
  EXPECT_EQ(cache.Slot(0x41, 0).Code, code(16));
  EXPECT_EQ(cache.Slot(0x41, 1).Code, code(0));
  EXPECT_EQ(cache.Slot(0x41, 15).Code, code(2));
  EXPECT_EQ(source.OutlineCalls, calls + 2);

  cache.GetGlyph(code(0), font);  // still cached
  EXPECT_EQ(source.OutlineCalls, calls + 2);
  cache.GetGlyph(code(1), font);  // was replaced
  EXPECT_EQ(source.OutlineCalls, calls + 4);
  // Other buckets are untouched.
  EXPECT_EQ(cache.Count(0x42), 0);
}

TEST(SXFontCacheTest, NameHeightAndStyleArePartOfTheKey) {
  TCountingGlyphSource source;
  TSXFontCache cache(source, D3DFMT_A8R8G8B8, 16);
  TFont font = MakeFont("ＭＳ ゴシック", 20);
  cache.GetGlyph(0x8341, font);  // "ア"
  font.SetSize(40);
  cache.GetGlyph(0x8341, font);
  EXPECT_EQ(cache.Count(0x41), 2);
  EXPECT_EQ(cache.Slot(0x41, 0).FontHeight, -53);
  EXPECT_EQ(cache.Slot(0x41, 1).FontHeight, -27);

  font.Style = fsBold;
  cache.GetGlyph(0x8341, font);
  font.Style = 0;
  font.Name = ToCP932("ＭＳ Ｐゴシック");
  cache.GetGlyph(0x8341, font);
  // Face names compare case-sensitively.
  font.Name = "times new roman";
  cache.GetGlyph(0x8341, font);
  font.Name = "Times New Roman";
  cache.GetGlyph(0x8341, font);
  EXPECT_EQ(cache.Count(0x41), 6);
  EXPECT_EQ(source.RenderedCodes[0x8341], 6);

  // Changing the font does not empty the cache: the first glyph is still there.
  cache.GetGlyph(0x8341, MakeFont("ＭＳ ゴシック", 20));
  EXPECT_EQ(source.RenderedCodes[0x8341], 6);
}

TEST(SXFontCacheTest, GlyphsAreWhiteWithTheCoverageAsAlpha) {
  TCountingGlyphSource source;
  source.GlyphWidth = 5;
  const TFont font = MakeFont("ＭＳ ゴシック", 20);
  {
    TSXFontCache cache(source, D3DFMT_A8R8G8B8, 16);
    const TSXFontCacheData& glyph = cache.GetGlyph('B', font);
    EXPECT_EQ(glyph.Width, 5);
    EXPECT_EQ(glyph.Height, 6);
    EXPECT_EQ(glyph.Pitch, 20);
    EXPECT_EQ(glyph.OriginX, 1);
    EXPECT_EQ(glyph.OriginY, 2);  // ascent 10 - 8
    EXPECT_EQ(glyph.CellIncX, 6);
    ASSERT_EQ(glyph.Pixels->size(), 120u);
    EXPECT_EQ(PixelAt(glyph, 0, 0, 4), 0x04FFFFFFu);  // coverage 1 -> alpha 4
    EXPECT_EQ(PixelAt(glyph, 3, 5, 4), 0x78FFFFFFu);  // coverage 30 -> alpha 120
    EXPECT_EQ(PixelAt(glyph, 4, 2, 4), 0xFFFFFFFFu);  // coverage 64 -> alpha 255
  }
  {
    // 16-bit pixels: rows of (2 * 5 + 3) rounded down to 4 = 12 bytes.
    TSXFontCache cache(source, D3DFMT_A4R4G4B4, 16);
    const TSXFontCacheData& glyph = cache.GetGlyph('B', font);
    EXPECT_EQ(glyph.Pitch, 12);
    ASSERT_EQ(glyph.Pixels->size(), 72u);
    EXPECT_EQ(PixelAt(glyph, 1, 0, 2), 0x2FFFu);  // coverage 9 -> alpha 36 -> top bits 2
    EXPECT_EQ(PixelAt(glyph, 4, 0, 2), 0xFFFFu);
    EXPECT_EQ((*glyph.Pixels)[10], 0);  // padding
  }
}

TEST(SXFontCacheTest, CopiesShareThePixelsAndOutliveTheSlot) {
  TCountingGlyphSource source;
  TSXFontCache cache(source, D3DFMT_A8R8G8B8, 1);
  const TFont font = MakeFont("ＭＳ ゴシック", 20);
  const TSXFontCacheData copy = cache.GetGlyph('C', font);
  EXPECT_EQ(copy.Pixels.get(), cache.Slot('C', 0).Pixels.get());
  // With one way, the next glyph of the bucket replaces it; the copy keeps its pixels.
  cache.GetGlyph('C' + 256, font);
  EXPECT_EQ(cache.Slot('C', 0).Code, 'C' + 256);
  ASSERT_TRUE(copy.HasPixels());
  EXPECT_NE(copy.Pixels.get(), cache.Slot('C', 0).Pixels.get());
  EXPECT_EQ(PixelAt(copy, 3, 0, 4), 0xFFFFFFFFu);
}

TEST(SXFontCacheTest, SetWaysEmptiesTheCacheAndWaysBelowOneMeanOne) {
  TCountingGlyphSource source;
  TSXFontCache cache(source, D3DFMT_A8R8G8B8, 0);
  EXPECT_EQ(cache.Ways(), 1);
  const TFont font = MakeFont("ＭＳ ゴシック", 20);
  cache.GetGlyph('D', font);
  cache.GetGlyph('D' + 256, font);
  EXPECT_EQ(cache.Count('D'), 1);
  cache.SetWays(4);
  EXPECT_EQ(cache.Count('D'), 0);
  cache.GetGlyph('D', font);
  EXPECT_EQ(source.RenderedCodes['D'], 2);
}

TEST(SXFontCacheTest, ClearDropsTheGlyphsButKeepsTheSlots) {
  TCountingGlyphSource source;
  TSXFontCache cache(source, D3DFMT_A8R8G8B8, 2);
  const TFont font = MakeFont("ＭＳ ゴシック", 20);
  cache.GetGlyph('E', font);
  cache.Clear();
  EXPECT_EQ(cache.Count('E'), 0);
  EXPECT_EQ(cache.Ways(), 2);
  // The cache goes on working: the glyph is rendered again into a slot of its own.
  const TSXFontCacheData& glyph = cache.GetGlyph('E', font);
  EXPECT_EQ(glyph.Code, 'E');
  EXPECT_TRUE(glyph.HasPixels());
  cache.GetGlyph('E' + 256, font);
  EXPECT_EQ(cache.Count('E'), 2);
  EXPECT_EQ(source.RenderedCodes['E'], 2);
}

}  // namespace
