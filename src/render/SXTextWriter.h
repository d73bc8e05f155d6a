// Writes lines of CP932 text into textures: white glyphs with their coverage as alpha, fetched
// through the glyph cache and copied into the texture one locked glyph rectangle at a time. Text is
// drawn once into a texture and then shown as a sprite.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "GlyphSource.h"
#include "SXFontCache.h"
#include "TextFont.h"
#include "d3d9types.h"

class TVUDader;
class TDGTexture;

class TSXTextWriter {
 public:
  // Glyphs come from the platform's rasteriser (FreeType); a face that is not installed is reported
  // once in the debug log.
  TSXTextWriter(TVUDader* Device, D3DFORMAT PixelFormat, int32_t Ways);
  // With another glyph source (tests).
  TSXTextWriter(TVUDader* Device, D3DFORMAT PixelFormat, int32_t Ways, std::unique_ptr<TGlyphSource> Source);
  ~TSXTextWriter();
  TSXTextWriter(const TSXTextWriter&) = delete;
  TSXTextWriter& operator=(const TSXTextWriter&) = delete;

  // The font of the following measurements and drawing: set its Name and Size before use.
  TFont Font;

  // Width and height in pixels of Text in Font: the sum of the pen advances, and the line height.
  int32_t TextWidth(std::string_view Text);
  int32_t TextHeight(std::string_view Text);

  // Writes Text into Texture with the pen starting at pixel (X, Y); X and Y may be negative, and
  // whatever falls outside the texture is cut off. Glyph pixels replace the texture's pixels in
  // their black boxes (nothing is blended). No line breaks; the pen stops at the texture's width.
  void DrawText(int32_t X, int32_t Y, TDGTexture& Texture, std::string_view Text);

  // Sizes Texture to exactly TextWidth(Text) x TextHeight(Text) and draws Text at (0, 0): the body
  // of a scene's text texture.
  void DrawTextTexture(TDGTexture& Texture, std::string_view Text);

  TVUDader* Device() const { return device_; }
  D3DFORMAT PixelFormat() const { return pixelFormat_; }
  TSXFontCache& FontCache() { return *fontCache_; }
  TGlyphSource& GlyphSource() { return *source_; }

 private:
  TVUDader* device_;
  D3DFORMAT pixelFormat_;
  std::unique_ptr<TGlyphSource> source_;
  std::unique_ptr<TSXFontCache> fontCache_;
};
