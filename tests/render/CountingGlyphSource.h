// A glyph source for tests: predictable glyphs and a count of the rasteriser calls.
#pragma once
#include <map>

#include "GlyphSource.h"

class TCountingGlyphSource : public TGlyphSource {
 public:
  // Every glyph but the space has this black box, placed and advanced as below; the space is blank.
  // Coverage of pixel (X, Y) is 8 * X + Y + 1 (all distinct, below 64), so a test can tell which glyph
  // pixel landed where; the rightmost column is fully covered.
  int32_t GlyphWidth = 4, GlyphHeight = 6;
  int32_t OriginX = 1, OriginYUp = 8;  // black box top 8 above the baseline
  int32_t Advance = 6, SpaceAdvance = 4;
  int32_t Ascent = 10, Descent = 2;
  std::map<int32_t, int32_t> AdvanceOf;  // overrides per code

  int OutlineCalls = 0;  // every GlyphOutline call
  int BitmapCalls = 0;   // those that fetched a bitmap
  std::map<int32_t, int> RenderedCodes;

  static constexpr uint8_t Coverage(int32_t X, int32_t Y, int32_t Width) {
    return X == Width - 1 ? 64 : uint8_t(8 * X + Y + 1);
  }

  uint32_t GlyphOutline(const TFont&, int32_t Code, TGlyphMetrics& Metrics, uint32_t BufferSize,
                        uint8_t* Buffer) override {
    ++OutlineCalls;
    if (Buffer)
      ++BitmapCalls;
    else
      ++RenderedCodes[Code];
    const bool blank = Code == ' ';
    Metrics.BlackBoxX = blank ? 1 : GlyphWidth;
    Metrics.BlackBoxY = blank ? 1 : GlyphHeight;
    Metrics.OriginX = blank ? 0 : OriginX;
    Metrics.OriginY = blank ? 0 : OriginYUp;
    Metrics.CellIncX = AdvanceFor(Code);
    Metrics.CellIncY = 0;
    if (blank) return 0;
    const uint32_t pitch = GlyphBitmapPitch(GlyphWidth);
    const uint32_t size = pitch * uint32_t(GlyphHeight);
    if (Buffer && BufferSize >= size) {
      for (int32_t y = 0; y < GlyphHeight; ++y) {
        for (uint32_t x = 0; x < pitch; ++x) {
          Buffer[y * pitch + x] = int32_t(x) < GlyphWidth ? Coverage(int32_t(x), y, GlyphWidth) : 0;
        }
      }
    }
    return size;
  }

  TTextMetrics TextMetrics(const TFont&) override { return {Ascent, Descent, Ascent + Descent}; }

  TTextExtent TextExtent(const TFont&, std::string_view Text) override {
    TTextExtent extent{0, Ascent + Descent};
    for (size_t i = 0; i < Text.size();) extent.Width += AdvanceFor(NextCharCode(Text, i));
    return extent;
  }

  int32_t AdvanceFor(int32_t Code) const {
    auto found = AdvanceOf.find(Code);
    if (found != AdvanceOf.end()) return found->second;
    return Code == ' ' ? SpaceAdvance : Advance;
  }
};
