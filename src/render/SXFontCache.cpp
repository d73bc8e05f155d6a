#include "SXFontCache.h"

#include <algorithm>
#include <cstring>

#include "PixelFormats.h"

TSXFontCache::TSXFontCache(TGlyphSource& Source, D3DFORMAT PixelFormat, int32_t Ways)
    : source_(Source), pixelFormat_(PixelFormat), bytesPerPixel_(FormatBitCount(PixelFormat) / 8) {
  // White with the coverage as alpha; full coverage is opaque, the rest 4 * level (0 to 252).
  for (uint32_t level = 0; level <= kGlyphCoverageLevels; ++level) {
    const uint8_t alpha = level == kGlyphCoverageLevels ? 255 : uint8_t(level * 4);
    packed_[level] = ComponentsToPixel(alpha, 255, 255, 255, pixelFormat_);
  }
  SetWays(Ways);
}

TSXFontCache::~TSXFontCache() = default;

void TSXFontCache::SetWays(int32_t Ways) {
  ways_ = std::max(Ways, 1);
  Clear();
}

void TSXFontCache::Clear() {
  // Every bucket keeps its Ways slots, emptied, so the next lookup has a slot to render into.
  for (auto& bucket : buckets_) {
    bucket.clear();
    bucket.resize(size_t(ways_));
  }
  counts_.fill(0);
}

void TSXFontCache::MoveToFront(int Bucket, int Slot) {
  auto& slots = buckets_[Bucket];
  std::rotate(slots.begin(), slots.begin() + Slot, slots.begin() + Slot + 1);
}

const TSXFontCacheData& TSXFontCache::GetGlyph(int32_t Code, const TFont& Font) {
  const int b = Code & 255;
  auto& slots = buckets_[b];
  for (int i = 0; i < counts_[b]; ++i) {
    const TSXFontCacheData& slot = slots[i];
    if (slot.Code == Code && slot.FontHeight == Font.Height && slot.FontStyle == Font.Style &&
        slot.FontName == Font.Name) {
      MoveToFront(b, i);
      return slots[0];
    }
  }
  if (counts_[b] == ways_) {
    MoveToFront(b, ways_ - 1);
  } else {
    MoveToFront(b, counts_[b]);
    ++counts_[b];
  }
  TSXFontCacheData& slot = slots[0];
  RenderGlyph(slot, Code, Font);
  return slot;
}

void TSXFontCache::RenderGlyph(TSXFontCacheData& Slot, int32_t Code, const TFont& Font) {
  // The slot's pixel array is reused when no copy shares it any more.
  std::shared_ptr<std::vector<uint8_t>> pixels;
  if (Slot.Pixels && Slot.Pixels.use_count() == 1) pixels = std::move(Slot.Pixels);
  Slot.Pixels.reset();
  Slot.Code = Code;
  Slot.FontName = Font.Name;
  Slot.FontHeight = Font.Height;
  Slot.FontStyle = Font.Style;

  TGlyphMetrics metrics;
  const uint32_t size = source_.GlyphOutline(Font, Code, metrics, 0, nullptr);
  const TTextMetrics line = source_.TextMetrics(Font);
  Slot.Width = std::max(metrics.BlackBoxX, 0);
  Slot.Height = std::max(metrics.BlackBoxY, 0);
  Slot.Pitch = (bytesPerPixel_ * Slot.Width + 3) & ~3;
  Slot.OriginX = metrics.OriginX;
  Slot.OriginY = line.Ascent - metrics.OriginY;
  Slot.CellIncX = metrics.CellIncX;
  Slot.CellIncY = metrics.CellIncY;
  if (size == 0) return;

  // The grey bitmap must hold the rows the black box promises; a source that answers less is read
  // as far as it goes.
  const uint32_t greyPitch = GlyphBitmapPitch(Slot.Width);
  coverage_.assign(std::max<size_t>(size, size_t(greyPitch) * Slot.Height), 0);
  source_.GlyphOutline(Font, Code, metrics, size, coverage_.data());

  if (!pixels) pixels = std::make_shared<std::vector<uint8_t>>();
  pixels->assign(size_t(Slot.Pitch) * Slot.Height, 0);
  for (int32_t y = 0; y < Slot.Height; ++y) {
    const uint8_t* src = coverage_.data() + size_t(y) * greyPitch;
    uint8_t* dst = pixels->data() + size_t(y) * Slot.Pitch;
    for (int32_t x = 0; x < Slot.Width; ++x) {
      const uint32_t value = packed_[std::min<uint8_t>(src[x], kGlyphCoverageLevels)];
      for (int32_t k = 0; k < bytesPerPixel_; ++k) *dst++ = uint8_t(value >> (8 * k));
    }
  }
  Slot.Pixels = std::move(pixels);
}
