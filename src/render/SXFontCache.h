// Recently used glyphs, already packed as white pixels with the coverage as alpha in the pixel format
// of the textures they are written to. 256 buckets (by the low byte of the character code) of `Ways`
// slots each, least recently used replacement within a bucket.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "GlyphSource.h"
#include "TextFont.h"
#include "d3d9types.h"

// One cached glyph.
struct TSXFontCacheData {
  // Height rows of Pitch bytes; absent for a glyph without pixels. Copies of the record share it.
  std::shared_ptr<std::vector<uint8_t>> Pixels;
  int32_t Code = 0;        // the byte, or lead byte * 256 + trail byte
  std::string FontName;    // face name of the font the glyph was made with
  int32_t FontHeight = 0;  // that font's height
  TFontStyles FontStyle = 0;
  int32_t Width = 0;  // black box
  int32_t Height = 0;
  int32_t Pitch = 0;     // (bytes per pixel * Width + 3) rounded down to a multiple of 4
  int32_t OriginX = 0;   // left edge of the black box relative to the pen
  int32_t OriginY = 0;   // top edge of the black box below the top of the text line
  int32_t CellIncX = 0;  // pen advance
  int32_t CellIncY = 0;

  bool HasPixels() const { return Pixels && !Pixels->empty(); }
};

class TSXFontCache {
 public:
  static constexpr int kBucketCount = 256;

  // Glyphs come from Source and are packed for PixelFormat. Ways below 1 is taken as 1.
  TSXFontCache(TGlyphSource& Source, D3DFORMAT PixelFormat, int32_t Ways);
  ~TSXFontCache();
  TSXFontCache(const TSXFontCache&) = delete;
  TSXFontCache& operator=(const TSXFontCache&) = delete;

  // Empties the cache and gives every bucket Ways slots.
  void SetWays(int32_t Ways);
  // The glyph of Code in Font, rendered on a miss. The record stays valid until the next GetGlyph,
  // SetWays or Clear; a copy keeps its pixels alive for as long as it lives.
  const TSXFontCacheData& GetGlyph(int32_t Code, const TFont& Font);
  // Drops every glyph; the buckets keep their Ways slots.
  void Clear();

  int32_t Ways() const { return ways_; }
  int32_t Count(int Bucket) const { return counts_[Bucket]; }
  // Slot `Slot` of a bucket; slot 0 is the most recently used.
  const TSXFontCacheData& Slot(int Bucket, int Slot) const { return buckets_[Bucket][Slot]; }
  D3DFORMAT PixelFormat() const { return pixelFormat_; }
  int32_t BytesPerPixel() const { return bytesPerPixel_; }

 private:
  void MoveToFront(int Bucket, int Slot);
  void RenderGlyph(TSXFontCacheData& Slot, int32_t Code, const TFont& Font);

  TGlyphSource& source_;
  D3DFORMAT pixelFormat_;
  int32_t bytesPerPixel_;
  std::array<uint32_t, kGlyphCoverageLevels + 1> packed_;  // pixel value per coverage level
  std::array<int32_t, kBucketCount> counts_{};
  std::array<std::vector<TSXFontCacheData>, kBucketCount> buckets_;
  int32_t ways_ = 0;
  std::vector<uint8_t> coverage_;  // grey bitmap of the glyph being rendered, reused
};
