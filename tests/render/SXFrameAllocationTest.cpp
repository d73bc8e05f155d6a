// A steady frame allocates nothing: the sprite queues reuse their storage from frame to frame, and
// text drawn again from cached glyphs needs no memory of its own.
#include <gtest/gtest.h>

#include "CountingGlyphSource.h"
#include "SXTestSupport.h"
#include "SXTextWriter.h"
#include "TextEncoding.h"
#include "TextTestDevice.h"
#include "support/AllocationCounter.h"

namespace {

using sxtest::Quad;

class SXFrameAllocationTest : public sxtest::SceneTest {
 protected:
  // A frame of play in miniature: opaque background tiles, translucent sprites at both depths the
  // game uses (and one never drawn), overlay text; more quads than a queue holds at creation.
  void PlayFrame(TDGTexture* Tiles, TDGTexture* Sprites, int Number) {
    for (int i = 0; i < 40; ++i) Sprite(float(i * 20), 0.0f, Quad(20, 20), i % 2 ? Tiles : nullptr, 0);
    for (int i = 0; i < 50; ++i)
      Sprite(float((i * 7 + Number) % 800), float(i * 11 % 600), Quad(8, 8), Sprites, 1 + i % 2, float(i % 2));
    Sprite(5.0f, 5.0f, Quad(8, 8), Sprites, 2, -0.5f);
    for (int i = 0; i < 5; ++i) Sprite(float(i * 40), 580.0f, Quad(30, 10), Sprites, 2, 0.7f, true);
    Frame(0x000010);
  }
};

TEST_F(SXFrameAllocationTest, SteadyFramesAllocateNothing) {
  TDGTexture* tiles = SolidTexture(16, 16, 0xFF204060);
  TDGTexture* sprites = SolidTexture(8, 8, 0x80FFFFFF);
  {
    // The first frame grows the translucent queue from 32 to 64 quads: the counter does see it.
    TAllocationCounter growth;
    PlayFrame(tiles, sprites, 0);
    EXPECT_GT(growth.Count(), 0u);
  }
  ASSERT_EQ(scene_->TranslucentQueue().QuadCapacity(), 64);
  for (int frame = 1; frame < 3; ++frame) PlayFrame(tiles, sprites, frame);

  TAllocationCounter counter;
  for (int frame = 3; frame < 8; ++frame) PlayFrame(tiles, sprites, frame);
  EXPECT_EQ(counter.Count(), 0u);
  EXPECT_EQ(scene_->OpaqueQueue().QuadCount(), 0);
}

TEST(SXTextAllocationTest, TextFromCachedGlyphsAllocatesNothing) {
  TTextTestDevice device;
  TSXTextWriter writer(&device.DG, D3DFMT_A8R8G8B8, 16, std::make_unique<TCountingGlyphSource>());
  writer.Font.Name = Jp("ＭＳ ゴシック");
  writer.Font.SetSize(20);
  auto texture = device.MakeTexture(128, 16);
  const std::string text = Jp("SCORE 12ステージ");
  {
    TAllocationCounter firstDraw;  // glyphs rendered into the cache
    writer.DrawText(0, 0, *texture, text);
    EXPECT_GT(firstDraw.Count(), 0u);
  }

  TAllocationCounter counter;
  writer.DrawText(-3, 1, *texture, text);
  EXPECT_EQ(counter.Count(), 0u);
}

}  // namespace
