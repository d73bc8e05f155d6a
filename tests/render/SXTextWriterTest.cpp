#include "SXTextWriter.h"

#include <gtest/gtest.h>

#include "CountingGlyphSource.h"
#include "DebugLog.h"
#include "TextEncoding.h"
#include "TextTestDevice.h"
#include "device/TexturePixel.h"

namespace {

// The counting source's glyph: a 4 x 6 black box one pixel right of the pen, its top 2 pixels below
// the top of the line (ascent 10 - 8); coverage 8 * x + y + 1 with the last column full; advance 6.
class SXTextWriterTest : public ::testing::Test {
 protected:
  SXTextWriterTest() {
    auto source = std::make_unique<TCountingGlyphSource>();
    source_ = source.get();
    writer_ = std::make_unique<TSXTextWriter>(&device_.DG, D3DFMT_A8R8G8B8, 16, std::move(source));
    writer_->Font.Name = Jp("ＭＳ ゴシック");
    writer_->Font.SetSize(20);
  }

  uint32_t Pixel(TDGTexture& Texture, int32_t X, int32_t Y) { return TexturePixel(Texture, X, Y); }
  // The texture pixel glyph pixel (Gx, Gy) becomes: white with alpha 4 * coverage, or 255.
  static uint32_t GlyphPixel(int32_t Gx, int32_t Gy) {
    const uint32_t coverage = TCountingGlyphSource::Coverage(Gx, Gy, 4);
    return (coverage == 64 ? 0xFF000000u : (coverage * 4) << 24) | 0xFFFFFFu;
  }

  TTextTestDevice device_;
  TCountingGlyphSource* source_ = nullptr;
  std::unique_ptr<TSXTextWriter> writer_;
};

TEST_F(SXTextWriterTest, GlyphsReplaceThePixelsOfTheirBlackBoxes) {
  auto texture = device_.MakeTexture(32, 16, 0xFFFF0000);
  writer_->DrawText(0, 0, *texture, "AB");
  // The last lock (before the reads below) was exactly B's black box.
  EXPECT_EQ(texture->LockArea().left, 7);
  EXPECT_EQ(texture->LockArea().top, 2);
  EXPECT_EQ(texture->LockArea().right, 11);
  EXPECT_EQ(texture->LockArea().bottom, 8);
  EXPECT_FALSE(texture->Locked());
  for (int32_t gy = 0; gy < 6; ++gy) {
    for (int32_t gx = 0; gx < 4; ++gx) {
      EXPECT_EQ(Pixel(*texture, 1 + gx, 2 + gy), GlyphPixel(gx, gy)) << gx << "," << gy;
      EXPECT_EQ(Pixel(*texture, 7 + gx, 2 + gy), GlyphPixel(gx, gy)) << gx << "," << gy;
    }
  }
  // Outside the black boxes the texture is untouched.
  EXPECT_EQ(Pixel(*texture, 0, 2), 0xFFFF0000u);
  EXPECT_EQ(Pixel(*texture, 5, 2), 0xFFFF0000u);
  EXPECT_EQ(Pixel(*texture, 1, 1), 0xFFFF0000u);
  EXPECT_EQ(Pixel(*texture, 1, 8), 0xFFFF0000u);
}

TEST_F(SXTextWriterTest, DrawingTheSameTextAgainMakesNoRasteriserCall) {
  auto texture = device_.MakeTexture(64, 16);
  writer_->DrawText(0, 0, *texture, Jp("ABAステージ"));
  const int calls = source_->OutlineCalls;
  EXPECT_EQ(calls, 2 * 6);  // six different glyphs, each with pixels
  writer_->DrawText(3, 1, *texture, Jp("ABAステージ"));
  EXPECT_EQ(source_->OutlineCalls, calls);
  // Another size is another font.
  writer_->Font.SetSize(21);
  writer_->DrawText(0, 0, *texture, "A");
  EXPECT_EQ(source_->OutlineCalls, calls + 2);
}

TEST_F(SXTextWriterTest, ShiftJisLeadBytesJoinTheNextByteUnlessTheyEndTheText) {
  auto texture = device_.MakeTexture(64, 16);
  writer_->DrawText(0, 0, *texture,
                    "\x83\x58"
                    "A\x83");
  EXPECT_EQ(source_->RenderedCodes[0x8358], 1);
  EXPECT_EQ(source_->RenderedCodes['A'], 1);
  EXPECT_EQ(source_->RenderedCodes[0x83], 1);  // the lead byte at the end stands alone
  EXPECT_EQ(source_->RenderedCodes.size(), 3u);
  // Bytes 0xA0-0xDF (half-width katakana) and 0x80 are single characters.
  writer_->DrawText(0, 0, *texture, "\xB1\x80\x41");
  EXPECT_EQ(source_->RenderedCodes[0xB1], 1);
  EXPECT_EQ(source_->RenderedCodes[0x80], 1);
  EXPECT_EQ(source_->RenderedCodes['A'], 1);
  // The width follows the same rule.
  source_->AdvanceOf[0x8358] = 20;
  source_->AdvanceOf[0x83] = 3;
  EXPECT_EQ(writer_->TextWidth("\x83\x58"
                               "A\x83"),
            20 + 6 + 3);
}

TEST_F(SXTextWriterTest, ASpaceAdvancesThePenWithoutLocking) {
  auto texture = device_.MakeTexture(32, 16);
  const RECT sized = texture->LockArea();  // the fill of SetSize
  writer_->DrawText(0, 0, *texture, "  ");
  EXPECT_EQ(texture->LockArea().right, sized.right);
  EXPECT_EQ(texture->LockArea().bottom, sized.bottom);
  writer_->DrawText(0, 0, *texture, " A");
  EXPECT_EQ(texture->LockArea().left, 4 + 1);  // space advance 4, then A's origin
  EXPECT_EQ(Pixel(*texture, 5, 2), GlyphPixel(0, 0));
}

TEST_F(SXTextWriterTest, TextLeftOrAboveTheTextureIsCutOff) {
  auto texture = device_.MakeTexture(32, 16, 0xFF0000FF);
  // Pen at -3: A's box starts at -2, so its columns 0 and 1 are cut; B's box starts at 4.
  writer_->DrawText(-3, 0, *texture, "AB");
  EXPECT_EQ(Pixel(*texture, 0, 2), GlyphPixel(2, 0));
  EXPECT_EQ(Pixel(*texture, 1, 5), GlyphPixel(3, 3));
  EXPECT_EQ(Pixel(*texture, 2, 2), 0xFF0000FFu);
  EXPECT_EQ(Pixel(*texture, 4, 2), GlyphPixel(0, 0));
  // Pen at y -4: the boxes start 2 above the texture, so rows 0 and 1 are cut.
  auto upper = device_.MakeTexture(32, 16, 0xFF0000FF);
  writer_->DrawText(0, -4, *upper, "A");
  EXPECT_EQ(upper->LockArea().top, 0);
  EXPECT_EQ(upper->LockArea().bottom, 4);
  EXPECT_EQ(Pixel(*upper, 1, 0), GlyphPixel(0, 2));
  EXPECT_EQ(Pixel(*upper, 4, 3), GlyphPixel(3, 5));
  EXPECT_EQ(Pixel(*upper, 1, 4), 0xFF0000FFu);
  // Entirely outside: nothing is locked.
  auto outside = device_.MakeTexture(32, 16);
  const RECT sized = outside->LockArea();
  writer_->DrawText(-40, 0, *outside, "AB");
  writer_->DrawText(0, -20, *outside, "AB");
  EXPECT_EQ(outside->LockArea().right, sized.right);
}

TEST_F(SXTextWriterTest, ThePenStopsAtTheTextureWidth) {
  auto texture = device_.MakeTexture(20, 16);
  // Pens at 0, 6, 12, 18: D is drawn (its first column at 19), then the pen reaches 24 and E is never
  // fetched.
  writer_->DrawText(0, 0, *texture, "ABCDEFG");
  EXPECT_EQ(source_->RenderedCodes.count('D'), 1u);
  EXPECT_EQ(source_->RenderedCodes.count('E'), 0u);
  EXPECT_EQ(Pixel(*texture, 19, 2), GlyphPixel(0, 0));
  // A pen starting at or right of the width, or a top at or below the height, draws nothing.
  writer_->DrawText(20, 0, *texture, "H");
  writer_->DrawText(0, 16, *texture, "I");
  EXPECT_EQ(source_->RenderedCodes.count('H'), 0u);
  EXPECT_EQ(source_->RenderedCodes.count('I'), 0u);
}

TEST_F(SXTextWriterTest, TextTexturesAreExactlyAsLargeAsTheMeasuredText) {
  auto texture = device_.MakeTexture(0, 0);
  writer_->DrawTextTexture(*texture, "AB C");
  EXPECT_EQ(texture->Width(), 6u + 6u + 4u + 6u);
  EXPECT_EQ(texture->Height(), 12u);  // ascent 10 + descent 2
  EXPECT_EQ(writer_->TextWidth("AB C"), 22);
  EXPECT_EQ(writer_->TextHeight("AB C"), 12);
  EXPECT_EQ(Pixel(*texture, 17 + 3, 7), 0xFFFFFFFFu);  // C's full column
}

TEST_F(SXTextWriterTest, AGlyphWhoseLockFailsIsSkippedWithoutAnUnlock) {
  // A default-pool texture that is not dynamic cannot be locked. The failed lock is reported (and halts) once; an
  // unlock of the lock never obtained would report and halt a second time.
  TDGTexture texture(&device_.DG, "", {D3DFMT_A8R8G8B8}, 0, D3DPOOL_DEFAULT, 0);
  texture.SetSize(16, 16);
  int halts = 0;
  SetHaltHandler([&halts] { ++halts; });
  device_.DG.SetDebugOption({dgoHaltOnError});
  writer_->DrawText(0, 0, texture, "A");
  device_.DG.SetDebugOption({});
  SetHaltHandler({});
  EXPECT_EQ(halts, 1);
}

TEST_F(SXTextWriterTest, ATextureOfAnotherFormatGetsConvertedPixels) {
  // Only 16 bits available: the writer's 32-bit glyphs are converted, not copied byte for byte.
  auto texture = device_.MakeTexture(16, 16, 0xFF00FF00, {D3DFMT_A4R4G4B4});
  ASSERT_EQ(texture->Format(), D3DFMT_A4R4G4B4);
  writer_->DrawText(0, 0, *texture, "A");
  EXPECT_EQ(Pixel(*texture, 1, 2), 0x0FFFu);  // alpha 4 keeps no bit of 4
  EXPECT_EQ(Pixel(*texture, 3, 2), 0x4FFFu);  // coverage 17: alpha 68
  EXPECT_EQ(Pixel(*texture, 4, 7), 0xFFFFu);
  EXPECT_EQ(Pixel(*texture, 5, 2), 0xF0F0u);  // right of the box: untouched
}

}  // namespace
