// The glyph source of the game on FreeType, with faces found through TFontResolver. Glyphs are the
// hinted outlines rendered in 8-bit grey and reduced to 65 levels; metrics follow the Windows
// definitions (black box, glyph origin, cell increment, ascent from the font's Windows metrics).
// Sizes: a negative font height is the em size in pixels, a positive one the cell height.
// Bold and italic are synthesised when the face found has no such style. Underline and strike-out
// are not part of glyphs, as with the Windows glyph outlines.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "GlyphSource.h"

class TFontResolver;

class TFreeTypeGlyphSource : public TGlyphSource {
 public:
  // Receives one CP932 line when a face is not installed and another one stands in for it (once
  // per face name and run) or when no font exists at all.
  using TNotice = std::function<void(const std::string& Message)>;

  explicit TFreeTypeGlyphSource(TNotice Notice = {});
  TFreeTypeGlyphSource(std::shared_ptr<TFontResolver> Resolver, TNotice Notice);
  ~TFreeTypeGlyphSource() override;
  TFreeTypeGlyphSource(const TFreeTypeGlyphSource&) = delete;
  TFreeTypeGlyphSource& operator=(const TFreeTypeGlyphSource&) = delete;

  uint32_t GlyphOutline(const TFont& Font, int32_t Code, TGlyphMetrics& Metrics, uint32_t BufferSize,
                        uint8_t* Buffer) override;
  TTextMetrics TextMetrics(const TFont& Font) override;
  TTextExtent TextExtent(const TFont& Font, std::string_view Text) override;

  // UTF-8 family of the face that draws the font (empty when no font exists).
  std::string FamilyOf(const TFont& Font);

 private:
  struct TImpl;
  std::unique_ptr<TImpl> impl_;
};
