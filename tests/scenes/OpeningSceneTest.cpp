#include "UOpening.h"

#include <gtest/gtest.h>

#include "GameKeys.h"
#include "RasterBitmap.h"
#include "SceneHarness.h"

namespace {

// The logo's progressive length (letter outlines' straight segments) is 673 pixels: ceil(673 / 5) frames.
constexpr int kDrawingFrames = 135;

class OpeningSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TSceneHarness::SetSkins({"morv"}, "morv");
    scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  }
  void TearDown() override {
    scene_.reset();
    TSceneHarness::SetSkins({}, "morv");
  }
  void Frames(int N) {
    for (int i = 0; i < N; ++i) h_.Frame(*scene_);
  }
  void Press(uint8_t Key) {
    h_.KeySource().SetKey(Key, true);
    h_.Frame(*scene_);
    h_.KeySource().SetKey(Key, false);
  }

  TSceneHarness h_;
  std::unique_ptr<TOpeningScene> scene_;
};

TEST_F(OpeningSceneTest, StartsDrawingOnABlackBitmap) {
  EXPECT_FALSE(scene_->Complete);
  EXPECT_EQ(scene_->StrokeIndex, 0);
  EXPECT_EQ(scene_->LogoColor, 0xFFFFFFFFu);
  EXPECT_EQ(scene_->LogoBitmap->Width(), 199);
  EXPECT_EQ(scene_->LogoBitmap->Height(), 30);
  EXPECT_EQ(scene_->LogoBitmap->Pixel(0, 0), 0u);
  EXPECT_EQ(TOpeningScene::kLogoX, 101);
  EXPECT_EQ(TOpeningScene::kLogoY, 127);
}

TEST_F(OpeningSceneTest, LogoFlickersWhileDrawingAndCompletesAfterItsProgressiveLength) {
  const uint32_t flicker[] = {0xFF008000, 0xFF00FF00, 0xFFFFFFFF};
  for (int frame = 1; frame < kDrawingFrames; ++frame) {
    h_.Frame(*scene_);
    ASSERT_FALSE(scene_->Complete) << "frame " << frame;
    ASSERT_EQ(scene_->LogoColor, flicker[(frame - 1) % 3]) << "frame " << frame;
  }
  h_.Frame(*scene_);
  EXPECT_TRUE(scene_->Complete);  // the texts show in this frame, the logo still in its flicker colour
  EXPECT_EQ(scene_->LogoColor, flicker[(kDrawingFrames - 1) % 3]);
  EXPECT_EQ(scene_->IdleCount, 590);
  h_.Frame(*scene_);
  EXPECT_EQ(scene_->LogoColor, 0xFFFF0000u);
  // The first outline starts in the bitmap's corner; the inside of the M's left stem stays black.
  EXPECT_EQ(scene_->LogoBitmap->Pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(scene_->LogoBitmap->Pixel(198, 29), 0xFFFFFFu);
  EXPECT_EQ(scene_->LogoBitmap->Pixel(3, 15), 0u);
  // On screen the logo is red and three times enlarged at (101, 127).
  EXPECT_EQ(h_.Screen(101, 127) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(h_.Screen(103, 129) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(h_.Screen(101 + 3 * 3, 127 + 3 * 15) & 0xFFFFFF, 0u);
  EXPECT_EQ(h_.Screen(100, 127) & 0xFFFFFF, 0u);
}

TEST_F(OpeningSceneTest, TheLogoIsDrawnInWholeThreeByThreeBlocks) {
  Frames(kDrawingFrames + 1);
  ASSERT_EQ(scene_->LogoColor, 0xFFFF0000u);
  for (int y = 0; y < 3 * 30; ++y)
    for (int x = 0; x < 3 * 199; ++x) {
      const uint32_t expected = scene_->LogoBitmap->Pixel(x / 3, y / 3) != 0 ? 0xFF0000u : 0u;
      ASSERT_EQ(h_.Screen(101 + x, 127 + y) & 0xFFFFFF, expected) << x << "," << y;
    }
}

TEST_F(OpeningSceneTest, EnterCompletesTheDrawingThenStartsTheGame) {
  Frames(10);
  Press(VK_RETURN);
  EXPECT_TRUE(scene_->Complete);
  EXPECT_FALSE(scene_->Finished());
  EXPECT_EQ(scene_->StrokeIndex, static_cast<int32_t>(scene_->Vectors.size()));  // finished in that Render
  EXPECT_EQ(scene_->LogoBitmap->Pixel(198, 29), 0xFFFFFFu);
  EXPECT_EQ(scene_->LogoColor, 0xFFFF0000u);
  Frames(3);
  Press(VK_RETURN);
  EXPECT_TRUE(scene_->Finished());
  EXPECT_EQ(scene_->NextScene(), 1);
}

TEST_F(OpeningSceneTest, EnterHeldFromTheDrawingDoesNotStartTheGame) {
  Frames(5);
  h_.KeySource().SetKey(VK_RETURN, true);
  Frames(300);
  EXPECT_TRUE(scene_->Complete);
  EXPECT_FALSE(scene_->Finished());
  h_.KeySource().SetKey(VK_RETURN, false);
  Frames(1);
  Press(VK_RETURN);
  EXPECT_TRUE(scene_->Finished());
}

TEST_F(OpeningSceneTest, EscapeQuitsOnlyWhenPressedOnTheTitle) {
  // Held from the scene before (the ending, a game given up): seen down by the previous frame's sample.
  h_.KeySource().SetKey(VK_ESCAPE, true);
  h_.Keys()->Update();
  Frames(20);
  EXPECT_FALSE(scene_->Finished());
  h_.KeySource().SetKey(VK_ESCAPE, false);
  Frames(1);
  Press(VK_ESCAPE);  // still drawing the logo
  EXPECT_TRUE(scene_->Finished());
  EXPECT_TRUE(scene_->EndsProgram());
}

TEST_F(OpeningSceneTest, TheTitleStartsOverAfter590FramesWithoutAKey) {
  Frames(kDrawingFrames);
  ASSERT_TRUE(scene_->Complete);
  Frames(589);
  EXPECT_TRUE(scene_->Complete);
  EXPECT_EQ(scene_->IdleCount, 1);
  Frames(1);
  EXPECT_FALSE(scene_->Complete);
  EXPECT_EQ(scene_->FrameCounter, 0u);
  EXPECT_EQ(scene_->StrokeIndex, 0);
  EXPECT_EQ(scene_->LogoColor, 0xFF008000u);  // restarted in Update, first flicker step in Render
  // The logo is drawn anew from a black bitmap.
  EXPECT_EQ(scene_->LogoBitmap->Pixel(198, 29), 0u);
}

TEST_F(OpeningSceneTest, AnyKeyRestartsTheCountdown) {
  Frames(kDrawingFrames);
  Frames(500);
  Press(90);  // Z
  EXPECT_EQ(scene_->IdleCount, 589);
  Frames(588);
  EXPECT_TRUE(scene_->Complete);
  Frames(1);
  EXPECT_FALSE(scene_->Complete);
}

TEST_F(OpeningSceneTest, ArrowsDoNothingWhileDrawingOrWithOneSkin) {
  Press(VK_RIGHT);
  EXPECT_EQ(CurrentSkin, "morv");
  Press(VK_RETURN);
  Press(VK_LEFT);
  Press(VK_RIGHT);
  EXPECT_EQ(CurrentSkin, "morv");
}

TEST_F(OpeningSceneTest, SkinSelectionWrapsBothWays) {
  scene_.reset();
  TSceneHarness::SetSkins({"A", "B", "C"}, "a");  // the current name may differ in letter case
  scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  EXPECT_EQ(CurrentSkin, "A");
  Press(VK_LEFT);  // still drawing: ignored
  EXPECT_EQ(CurrentSkin, "A");
  Press(VK_RETURN);
  Press(VK_LEFT);
  EXPECT_EQ(CurrentSkin, "C");
  Press(VK_RIGHT);
  EXPECT_EQ(CurrentSkin, "A");
  Frames(1);  // released
  Press(VK_RIGHT);
  EXPECT_EQ(CurrentSkin, "B");
  // Both arrows in one frame: Left wins.
  Frames(1);
  h_.KeySource().SetKey(VK_LEFT, true);
  h_.KeySource().SetKey(VK_RIGHT, true);
  Frames(1);
  EXPECT_EQ(CurrentSkin, "A");
}

TEST_F(OpeningSceneTest, AnUnlistedSkinFallsBackToTheFirstAndAnEmptyListIsNotIndexed) {
  scene_.reset();
  TSceneHarness::SetSkins({"A", "B"}, "gone");
  scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  EXPECT_EQ(CurrentSkin, "A");
  scene_.reset();
  TSceneHarness::SetSkins({}, "morv");
  scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  EXPECT_EQ(CurrentSkin, "morv");
  ASSERT_NE(scene_->SkinTexture, nullptr);
}

TEST_F(OpeningSceneTest, TextsAreCentredEvenWhenWiderThanTheScreen) {
  scene_.reset();
  const std::string wide(120, 'W');
  TSceneHarness::SetSkins({wide}, wide);
  scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  ASSERT_GT(scene_->SkinTexture->Width(), 800u);
  Press(VK_RETURN);
  h_.Frame(*scene_);  // queue and draw; then look at what the last frame queued
  h_.Keys()->Update();
  scene_->Update();
  scene_->Render();
  TSXRenderingQueue& queue = h_.Sprites()->TranslucentQueue();
  bool found = false;
  for (int i = 0; i < queue.QuadCount(); ++i) {
    if (queue.Quad(i).Texture != scene_->SkinTexture.get()) continue;
    found = true;
    EXPECT_EQ(queue.Quad(i).X, static_cast<float>((800 - static_cast<int32_t>(scene_->SkinTexture->Width())) / 2));
    EXPECT_LT(queue.Quad(i).X, 0.0f);
    EXPECT_EQ(queue.Quad(i).Y, 375.0f);
  }
  EXPECT_TRUE(found);
  h_.Sprites()->Render(true);
}

}  // namespace

namespace {

// The help line names the pad's buttons from the frame a pad is connected, and only while one is.
TEST_F(OpeningSceneTest, TheHelpLineNamesThePadButtonsWhileAPadIsConnected) {
  EXPECT_FALSE(scene_->ControlsNamePad);
  const uint32_t keyboardWidth = scene_->ControlsTexture->Width();
  h_.KeySource().SetGamepadConnected(true);
  h_.Frame(*scene_);
  EXPECT_TRUE(scene_->ControlsNamePad);
  EXPECT_GT(scene_->ControlsTexture->Width(), keyboardWidth);
  EXPECT_FALSE(scene_->Complete);  // connecting is no key press

  // A title made while the pad is connected names it from the start.
  scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  EXPECT_TRUE(scene_->ControlsNamePad);
  h_.KeySource().SetGamepadConnected(false);
  h_.Frame(*scene_);
  EXPECT_FALSE(scene_->ControlsNamePad);
  EXPECT_EQ(scene_->ControlsTexture->Width(), keyboardWidth);
}

}  // namespace
