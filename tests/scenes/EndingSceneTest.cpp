#include "UScene.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "GameKeys.h"
#include "SceneHarness.h"

namespace {

class EndingSceneTest : public ::testing::Test {
 protected:
  void SetUp() override { scene_ = std::make_unique<TEndingScene>(h_.Sprites(), h_.Keys()); }
  void Frames(int N) {
    for (int i = 0; i < N && !scene_->Finished(); ++i) h_.Frame(*scene_);
  }
  // The end of the text depends on Update alone; skipping the drawing keeps the long runs quick.
  void Updates(int N) {
    for (int i = 0; i < N && !scene_->Finished(); ++i) h_.UpdateOnly(*scene_);
  }
  // Whether any pixel of texture rows [From, To) carries glyph coverage.
  bool RowsHaveText(int From, int To) {
    const std::vector<uint8_t> alpha = TSceneHarness::Alpha(*scene_->TextTexture);
    for (int y = From; y < To; ++y) {
      for (int x = 0; x < 800; ++x) {
        if (alpha[y * 800 + x] != 0) return true;
      }
    }
    return false;
  }

  TSceneHarness h_;
  std::unique_ptr<TEndingScene> scene_;
};

TEST_F(EndingSceneTest, TextEntersAtTheBottomOnTheFirstFrame) {
  ASSERT_EQ(scene_->Lines.size(), 46u);
  EXPECT_EQ(scene_->TextTexture->Width(), 800u);
  EXPECT_EQ(scene_->TextTexture->Height(), 600u);
  Frames(1);
  // Scroll 0.6: Top 1, Bottom 601; line 0 (document y 600) is written at y 599, so nothing shows above it.
  EXPECT_DOUBLE_EQ(scene_->Scroll, 0.6);
  EXPECT_FALSE(scene_->Finished());
  EXPECT_FALSE(RowsHaveText(0, 599));
}

TEST_F(EndingSceneTest, LinesSitFiftyPixelsApartBelowTheScrollPosition) {
  h_.KeySource().SetKey(VK_LCONTROL, true);
  Frames(30);  // Scroll 300: line i at y 300 + 50 i
  EXPECT_DOUBLE_EQ(scene_->Scroll, 300.0);
  EXPECT_FALSE(RowsHaveText(0, 300));
  EXPECT_TRUE(RowsHaveText(300, 350));   // line 0
  EXPECT_TRUE(RowsHaveText(350, 400));   // line 1
  EXPECT_FALSE(RowsHaveText(450, 500));  // line 3 is empty
  EXPECT_TRUE(RowsHaveText(500, 550));   // line 4
  // The texture is shown full-screen in yellow.
  EXPECT_EQ(h_.Screen(0, 0), 0xFF000000u);
}

TEST_F(EndingSceneTest, EscapeHeldEndsAtOnce) {
  h_.KeySource().SetKey(VK_ESCAPE, true);
  Frames(1);
  EXPECT_TRUE(scene_->Finished());
  EXPECT_EQ(scene_->NextScene(), 0);
  EXPECT_EQ(scene_->Scroll, 0.0);
}

TEST_F(EndingSceneTest, LeftCtrlScrollsTenPixelsPerFrame) {
  Frames(2);
  h_.KeySource().SetKey(VK_LCONTROL, true);
  Frames(3);
  h_.KeySource().SetKey(VK_LCONTROL, false);
  Frames(1);
  EXPECT_NEAR(scene_->Scroll, 0.6 * 3 + 10.0 * 3, 1e-9);
}

TEST_F(EndingSceneTest, EndsInTheFrameTheScrollReaches2900Point5) {
  // Fast: Scroll 2900.0 (Top 2900) still shows the last, empty line 45 at 600 + 50 * 45 - 2900 = 0.
  h_.KeySource().SetKey(VK_LCONTROL, true);
  Updates(290);
  EXPECT_FALSE(scene_->Finished());
  Updates(1);
  EXPECT_TRUE(scene_->Finished());
  EXPECT_EQ(scene_->NextScene(), 0);
  EXPECT_DOUBLE_EQ(scene_->Scroll, 2910.0);
}

TEST_F(EndingSceneTest, EndsAtNormalSpeedOnlyOnceTopPasses2900) {
  h_.KeySource().SetKey(VK_LCONTROL, true);
  Updates(280);  // 2800
  h_.KeySource().SetKey(VK_LCONTROL, false);
  Updates(167);  // 2900.2: Top 2900
  EXPECT_FALSE(scene_->Finished());
  Updates(1);  // 2900.8: Top 2901
  EXPECT_TRUE(scene_->Finished());
}

// Only the parts of the text texture that hold text are drawn; the screen must be what the whole texture as one
// smooth full-screen quad over black gives, pixel for pixel, whether the texture was just redrawn or kept.
TEST_F(EndingSceneTest, ScreenIsTheWholeTextureDrawnFullScreen) {
  auto screen = [this] {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) pixels.push_back(h_.Screen(x, y));
    }
    return pixels;
  };
  auto wholeTexture = [this, &screen] {
    TSXScene* sprites = h_.Sprites();
    IDirect3DDevice9* device = sprites->Device()->D3DDevice();
    TDGTexture* texture = scene_->TextTexture.get();
    const float u = texture->MaxU(), v = texture->MaxV();
    const uint32_t yellow = TEndingScene::kTextColor;
    const std::array<TSXVertexSP, 4> corners = {
        TSXVertexSP{0, 0, yellow, 0, 0, 0}, TSXVertexSP{800, 0, yellow, 0, u, 0}, TSXVertexSP{0, 600, yellow, 0, 0, v},
        TSXVertexSP{800, 600, yellow, 0, u, v}};
    device->BeginScene();
    sprites->Clear(D3DCLEAR_TARGET, 0, 1.0f, 0);
    sprites->DrawSprite(TVector2{0, 0}, corners, texture, 2, true, false, 0.0f, D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);
    sprites->Render(true);
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
    return screen();
  };
  for (const bool fast : {true, false}) {
    h_.KeySource().SetKey(VK_LCONTROL, fast);
    for (int round = 0; round < 6; ++round) {
      Frames(fast ? 23 : 7);
      const std::vector<uint32_t> shown = screen();
      ASSERT_EQ(shown, wholeTexture()) << (fast ? "fast" : "normal") << " round " << round;
    }
  }
}

}  // namespace
