#include "SXTextWriter.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "DGTexture.h"
#include "DebugLog.h"
#include "FreeTypeGlyphSource.h"
#include "PixelFormats.h"
#include "TextEncoding.h"
#include "d3d9.h"

namespace {

// A substituted face goes to the debug log, and to standard error so that it is never silent.
void ReportFontSubstitution(const std::string& Message) {
  std::cerr << "morvanth: " << ToUTF8(Message) << '\n';
  WriteLog(Message);
}

}  // namespace

TSXTextWriter::TSXTextWriter(TVUDader* Device, D3DFORMAT PixelFormat, int32_t Ways)
    : TSXTextWriter(Device, PixelFormat, Ways, std::make_unique<TFreeTypeGlyphSource>(ReportFontSubstitution)) {}

TSXTextWriter::TSXTextWriter(TVUDader* Device, D3DFORMAT PixelFormat, int32_t Ways,
                             std::unique_ptr<TGlyphSource> Source)
    : device_(Device),
      pixelFormat_(PixelFormat),
      source_(std::move(Source)),
      fontCache_(std::make_unique<TSXFontCache>(*source_, PixelFormat, Ways)) {}

TSXTextWriter::~TSXTextWriter() = default;

int32_t TSXTextWriter::TextWidth(std::string_view Text) { return source_->TextExtent(Font, Text).Width; }

int32_t TSXTextWriter::TextHeight(std::string_view Text) { return source_->TextExtent(Font, Text).Height; }

void TSXTextWriter::DrawText(int32_t X, int32_t Y, TDGTexture& Texture, std::string_view Text) {
  const int64_t imageWidth = Texture.Width();
  if (X >= imageWidth || Y >= int64_t(Texture.Height())) return;
  IDirect3DTexture9* d3dTexture = Texture.Texture();
  if (!d3dTexture) return;
  D3DSURFACE_DESC desc{};
  if (FAILED(d3dTexture->GetLevelDesc(0, &desc))) return;
  const int64_t surfaceWidth = desc.Width;
  const int64_t surfaceHeight = desc.Height;
  const int32_t bytesPerPixel = fontCache_->BytesPerPixel();
  // Glyphs are packed for PixelFormat; a texture that ended up in another format gets them
  // converted pixel by pixel rather than overrun with bytes of the wrong size.
  const D3DFORMAT textureFormat = desc.Format;
  const int32_t textureBytes = FormatBitCount(textureFormat) / 8;
  if (bytesPerPixel == 0 || textureBytes == 0) return;
  const bool sameFormat = textureFormat == pixelFormat_;

  int64_t penX = X;
  for (size_t i = 0; i < Text.size();) {
    const int32_t code = NextCharCode(Text, i);
    const TSXFontCacheData& glyph = fontCache_->GetGlyph(code, Font);

    const int64_t left = penX + glyph.OriginX;
    const int64_t top = int64_t(Y) + glyph.OriginY;
    const int64_t clipLeft = std::max<int64_t>(left, 0);
    const int64_t clipTop = std::max<int64_t>(top, 0);
    const int64_t clipRight = std::min<int64_t>(left + glyph.Width, surfaceWidth);
    const int64_t clipBottom = std::min<int64_t>(top + glyph.Height, surfaceHeight);
    if (clipLeft < clipRight && clipTop < clipBottom && glyph.HasPixels()) {
      const RECT area{int32_t(clipLeft), int32_t(clipTop), int32_t(clipRight), int32_t(clipBottom)};
      const D3DLOCKED_RECT lock = Texture.LockRect(0, area, 0);
      if (lock.pBits) {
        const size_t columns = size_t(clipRight - clipLeft);
        const uint8_t* src = glyph.Pixels->data() + size_t(clipTop - top) * size_t(glyph.Pitch) +
                             size_t(clipLeft - left) * size_t(bytesPerPixel);
        uint8_t* dst = static_cast<uint8_t*>(lock.pBits);
        for (int64_t y = clipTop; y < clipBottom; ++y, src += glyph.Pitch, dst += lock.Pitch) {
          if (sameFormat) {
            std::memcpy(dst, src, columns * size_t(bytesPerPixel));
          } else {
            for (size_t x = 0; x < columns; ++x) {
              const uint32_t argb = PixelToARGB(ReadPixelBytes(src + x * bytesPerPixel, bytesPerPixel), pixelFormat_);
              WritePixelBytes(dst + x * textureBytes, ARGBToPixel(argb, textureFormat), textureBytes);
            }
          }
        }
        Texture.UnlockRect();
      }
    }

    penX += glyph.CellIncX;
    if (penX >= imageWidth) break;
  }
}

void TSXTextWriter::DrawTextTexture(TDGTexture& Texture, std::string_view Text) {
  const TTextExtent extent = source_->TextExtent(Font, Text);
  Texture.SetSize(uint32_t(std::max(extent.Width, 0)), uint32_t(std::max(extent.Height, 0)));
  DrawText(0, 0, Texture, Text);
}
