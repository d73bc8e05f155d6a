// What the text writer needs of the platform's text rasteriser, shaped after the grey-level glyph
// outline, text metrics and text extent calls of a Windows drawing context. The font is passed with
// every call instead of being selected into a context.
#pragma once
#include <cstdint>
#include <string_view>

#include "TextFont.h"

// Metrics of one glyph as the Windows glyph metrics define them.
struct TGlyphMetrics {
  int32_t BlackBoxX = 0;  // width of the smallest box around the inked pixels (1 for a blank glyph)
  int32_t BlackBoxY = 0;  // its height (1 for a blank glyph)
  int32_t OriginX = 0;    // left edge of the black box relative to the pen
  int32_t OriginY = 0;    // top edge of the black box above the baseline (upwards positive)
  int32_t CellIncX = 0;   // pen advance
  int32_t CellIncY = 0;
};

// Line metrics of a font.
struct TTextMetrics {
  int32_t Ascent = 0;   // baseline below the top of the line
  int32_t Descent = 0;  // bottom of the line below the baseline
  int32_t Height = 0;   // Ascent + Descent
};

struct TTextExtent {
  int32_t Width = 0;
  int32_t Height = 0;
};

// Full coverage in a grey-level glyph bitmap.
constexpr uint8_t kGlyphCoverageLevels = 64;

// Bytes per row of a grey-level glyph bitmap BlackBoxX wide: rows are padded to 4 bytes.
constexpr uint32_t GlyphBitmapPitch(int32_t BlackBoxX) { return (uint32_t(BlackBoxX) + 3u) & ~3u; }

class TGlyphSource {
 public:
  virtual ~TGlyphSource() = default;

  // The glyph of a character code (a byte, or lead byte * 256 + trail byte of CP932) in the font.
  // Fills metrics and returns the size in bytes of its grey bitmap: BlackBoxY rows of
  // GlyphBitmapPitch(BlackBoxX) bytes, one byte per pixel with coverage 0..64. Returns 0 for a glyph
  // without pixels. The bitmap is written to buffer only when BufferSize is at least that size.
  // A character the font lacks gives the font's missing-character glyph.
  virtual uint32_t GlyphOutline(const TFont& Font, int32_t Code, TGlyphMetrics& Metrics, uint32_t BufferSize,
                                uint8_t* Buffer) = 0;

  virtual TTextMetrics TextMetrics(const TFont& Font) = 0;

  // Size of a line of CP932 text: the sum of the pen advances and the line height.
  virtual TTextExtent TextExtent(const TFont& Font, std::string_view Text) = 0;
};

// CP932 lead bytes: 0x81-0x9F and 0xE0-0xFF.
constexpr bool IsLeadByte(uint8_t B) { return (B >= 0x81 && B <= 0x9F) || B >= 0xE0; }

// The character code at Text[Index] and the index after it. A lead byte that ends the text is a
// character of its own.
inline int32_t NextCharCode(std::string_view Text, size_t& Index) {
  const uint8_t b = static_cast<uint8_t>(Text[Index]);
  if (IsLeadByte(b) && Index + 1 < Text.size()) {
    const int32_t code = b * 256 + static_cast<uint8_t>(Text[Index + 1]);
    Index += 2;
    return code;
  }
  Index += 1;
  return b;
}
