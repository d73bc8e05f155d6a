// A picture loaded from a BMP file, colour-keyed and drawn through the sprite renderer into the
// headless window, checked pixel by pixel.
#include <gtest/gtest.h>

#include <fstream>

#include "SXTestSupport.h"
#include "device/BMPTestImages.h"

namespace {

using sxtest::Quad;

class SXSceneDrawTest : public sxtest::SceneTest {
 protected:
  TDGTexture* LoadSprite(const std::string& Bmp) {
    const std::filesystem::path file = folder_ / "sprite.bmp";
    std::ofstream(file, std::ios::binary) << Bmp;
    textures_.push_back(std::make_unique<TDGTexture>(
        device_, "", std::vector<D3DFORMAT>{D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5}, 0, D3DPOOL_MANAGED, 0));
    TDGTexture* texture = textures_.back().get();
    texture->FillColor = 0;
    texture->LoadFromFile(file.string());
    texture->SetColorKey(MakeRect(0, 0, int32_t(texture->Width()), int32_t(texture->Height())), 0xFF00FF);
    return texture;
  }
};

TEST_F(SXSceneDrawTest, LoadedSpriteLandsPixelForPixel) {
  D3D9Hooks().ForcePow2 = true;  // a 3 x 2 picture in a 4 x 2 allocation: MaxU 0.75
  TDGTexture* sprite = LoadSprite(bmptest::Image24({{0xFF0000, 0x00FF00, 0x0000FF}, {0xFF00FF, 0xFFFFFF, 0x808080}}));
  ASSERT_FLOAT_EQ(sprite->MaxU(), 0.75f);
  ASSERT_FLOAT_EQ(sprite->MaxV(), 1.0f);

  // Quads sit half a pixel up and left, so that pixel centres sample texel centres.
  // Opaque preset at (10, 20): the transparent texel still shows its colour (no blending).
  Sprite(9.5f, 19.5f, Quad(3, 2, 0xFFFFFFFF, sprite->MaxU(), sprite->MaxV()), sprite, 0);
  // Alpha blending at (30, 20): the keyed magenta texel lets the background through.
  Sprite(29.5f, 19.5f, Quad(3, 2, 0xFFFFFFFF, sprite->MaxU(), sprite->MaxV()), sprite, 2);
  // Scaled up two times with a tinted diffuse colour.
  Sprite(49.5f, 19.5f, Quad(6, 4, 0xFF808080, sprite->MaxU(), sprite->MaxV()), sprite, 2);
  Frame(0x102030);

  EXPECT_EQ(Screen(10, 20), 0xFF0000u);
  EXPECT_EQ(Screen(11, 20), 0x00FF00u);
  EXPECT_EQ(Screen(12, 20), 0x0000FFu);
  EXPECT_EQ(Screen(10, 21), 0xFF00FFu);
  EXPECT_EQ(Screen(11, 21), 0xFFFFFFu);
  EXPECT_EQ(Screen(12, 21), 0x808080u);
  EXPECT_EQ(Screen(9, 20), 0x102030u) << "nothing left of the quad";
  EXPECT_EQ(Screen(13, 20), 0x102030u) << "right edge excluded";
  EXPECT_EQ(Screen(10, 22), 0x102030u) << "bottom edge excluded";

  EXPECT_EQ(Screen(30, 20), 0xFF0000u);
  EXPECT_EQ(Screen(30, 21), 0x102030u) << "colour-keyed texel is transparent";
  EXPECT_EQ(Screen(31, 21), 0xFFFFFFu);

  // Each texel covers 2 x 2 screen pixels; white times grey diffuse gives grey.
  EXPECT_NEAR(int((Screen(52, 20) >> 8) & 0xFF), 0x80, 1);
  EXPECT_EQ(Screen(53, 21) & 0xFF00FF, 0u);
  const uint32_t tinted = Screen(53, 23);
  EXPECT_NEAR(int(tinted & 0xFF), 0x80, 1);
  EXPECT_EQ(Screen(50, 22), 0x102030u);
  EXPECT_EQ(halts_, 0);
}

TEST_F(SXSceneDrawTest, SpriteSurvivesDeviceRecreation) {
  TDGTexture* sprite = LoadSprite(bmptest::Image24({{0x123456, 0xFF00FF}}));
  SetWindowMode800();
  Sprite(-0.5f, -0.5f, Quad(2, 1, 0xFFFFFFFF, sprite->MaxU(), sprite->MaxV()), sprite, 2);
  Frame(0x000000);
  EXPECT_EQ(Screen(0, 0), 0x123456u);
  EXPECT_EQ(Screen(1, 0), 0x000000u) << "the colour key came back with the picture's backup";
}

}  // namespace
