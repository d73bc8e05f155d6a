// The text writer with the real glyph source and the installed fonts.
#include <gtest/gtest.h>

#include "SXTextWriter.h"
#include "TextEncoding.h"
#include "TextTestDevice.h"

namespace {

struct TInk {
  int Opaque = 0;    // alpha 255
  int Partial = 0;   // 0 < alpha < 255
  int Coloured = 0;  // inked pixels that are not white
};

TInk InkIn(TDGTexture& Texture, int32_t Left, int32_t Right) {
  TInk ink;
  const D3DLOCKED_RECT lock =
      Texture.LockRect(0, RECT{0, 0, int32_t(Texture.Width()), int32_t(Texture.Height())}, D3DLOCK_READONLY);
  if (!lock.pBits) {
    Texture.UnlockRect();
    return ink;
  }
  for (uint32_t y = 0; y < Texture.Height(); ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(lock.pBits) + y * lock.Pitch);
    for (int32_t x = Left; x < Right; ++x) {
      const uint32_t alpha = row[x] >> 24;
      if (alpha == 255)
        ++ink.Opaque;
      else if (alpha > 0)
        ++ink.Partial;
      if (alpha > 0 && (row[x] & 0xFFFFFF) != 0xFFFFFF) ++ink.Coloured;
    }
  }
  Texture.UnlockRect();
  return ink;
}

// Draws text as a scene's text texture does and checks that every character but the spaces left
// fully covered pixels in its own cell.
void ExpectEveryCharacterInked(const char* FaceUtf8, int32_t Points, const char* TextUtf8) {
  TTextTestDevice device;
  TSXTextWriter writer(&device.DG, D3DFMT_A8R8G8B8, 16);
  writer.Font.Name = ToCP932(FaceUtf8);
  writer.Font.SetSize(Points);
  const std::string text = ToCP932(TextUtf8);
  auto texture = device.MakeTexture(0, 0);
  writer.DrawTextTexture(*texture, text);
  EXPECT_EQ(int32_t(texture->Width()), writer.TextWidth(text));
  EXPECT_EQ(int32_t(texture->Height()), writer.TextHeight(text));
  EXPECT_GT(texture->Height(), uint32_t(Points));  // the line is taller than the point size
  const TInk all = InkIn(*texture, 0, int32_t(texture->Width()));
  EXPECT_EQ(all.Coloured, 0);
  EXPECT_GT(all.Partial, 0);  // antialiased edges

  int32_t pen = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    const int32_t code = NextCharCode(text, i);
    const int32_t advance = writer.TextWidth(std::string_view(text).substr(start, i - start));
    const TInk ink = InkIn(*texture, pen, std::min<int32_t>(pen + advance, int32_t(texture->Width())));
    if (code == ' ') {
      EXPECT_EQ(ink.Opaque + ink.Partial, 0);
    } else {
      EXPECT_GT(ink.Opaque, 0) << "character " << code << " at " << pen;
    }
    pen += advance;
  }
  EXPECT_EQ(pen, int32_t(texture->Width()));
}

TEST(SXTextWriterFontsTest, LatinTextRendersOpaqueWhiteGlyphs) {
  ExpectEveryCharacterInked("ＭＳ ゴシック", 20, "PRESS ENTER");
  ExpectEveryCharacterInked("Times New Roman", 20, "PRESS ENTER");
}

TEST(SXTextWriterFontsTest, JapaneseTextRendersOpaqueWhiteGlyphs) {
  ExpectEveryCharacterInked("ＭＳ ゴシック", 20, "ステージ１");
  ExpectEveryCharacterInked("ＭＳ Ｐゴシック", 16, "ゲームオーバー");
}

TEST(SXTextWriterFontsTest, A40PointTextTextureCanBeCentredByItsWidth) {
  TTextTestDevice device;
  TSXTextWriter writer(&device.DG, D3DFMT_A8R8G8B8, 16);
  writer.Font.Name = Jp("ＭＳ ゴシック");
  writer.Font.SetSize(40);
  // Fixed pitch at an em of 53 pixels: 11 half-width characters of 26 or 27 pixels.
  const int32_t width = writer.TextWidth("PRESS ENTER");
  EXPECT_GE(width, 11 * 26);
  EXPECT_LE(width, 11 * 27);
  auto texture = device.MakeTexture(0, 0);
  writer.DrawTextTexture(*texture, "PRESS ENTER");
  EXPECT_EQ(int32_t(texture->Width()), width);
  EXPECT_EQ(texture->Height(), uint32_t(writer.TextHeight("PRESS ENTER")));
  // Ink reaches the first and the last cell, so (800 - width) / 2 centres what is seen.
  EXPECT_GT(InkIn(*texture, 0, width / 11).Opaque, 0);
  EXPECT_GT(InkIn(*texture, width - width / 11, width).Opaque, 0);
}

}  // namespace
