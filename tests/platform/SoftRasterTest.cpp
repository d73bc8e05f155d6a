// Pixel-exact checks of the software rasteriser. Expected values follow Direct3D 9's rules and the blend
// formulas, rounded to nearest: a * b / 255 for modulation and blending.
#include <algorithm>
#include <limits>
#include "RasterState.h"
#include "RasterWorkloads.h"
#include "Rasterizer.h"
#include "platform/SoftDeviceFixture.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;

// Every case runs with the best kernels the processor offers and with the x86-64 baseline ones.
class SoftRaster : public TSoftDeviceFixture, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    RasterUseBaselineKernels(GetParam());
    TSoftDeviceFixture::SetUp();
  }
  void TearDown() override {
    TSoftDeviceFixture::TearDown();
    RasterUseBaselineKernels(false);
  }
};

TEST_P(SoftRaster, QuadCoversExactlyItsPixelsWithCentresAtIntegers) {
  Clear(kBlack);
  UsePreset(0);
  Quad(0, 0, 64, 16);
  EXPECT_EQ(CountNot(kBlack), 64 * 16);
  EXPECT_EQ(Pixel(63, 15), kWhite);
  EXPECT_EQ(Pixel(0, 16), kBlack);

  // Centres at integers: (0.5, 0.5)-(3.5, 2.5) holds the centres x 1..3, y 1..2.
  Clear(kBlack);
  Quad(0.5f, 0.5f, 3.5f, 2.5f);
  EXPECT_EQ(CountNot(kBlack), 6);
  EXPECT_EQ(Pixel(1, 1), kWhite);
  EXPECT_EQ(Pixel(3, 2), kWhite);
  EXPECT_EQ(Pixel(0, 0), kBlack);
}

TEST_P(SoftRaster, SharedEdgesAreBlendedOnce) {
  // White at alpha 128 over black gives 128 once, 192 if a pixel were blended twice.
  Clear(kBlack);
  UsePreset(2);
  Quad(0, 0, 10.5f, 8, 0x80FFFFFF);
  Quad(10.5f, 0, 20, 8, 0x80FFFFFF);
  Quad(0, 8, 10.5f, 13.25f, 0x80FFFFFF);
  Quad(10.5f, 8, 20, 13.25f, 0x80FFFFFF);
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(Pixel(x, y), 0xFF808080) << x << "," << y;
  EXPECT_EQ(Pixel(20, 0), kBlack);
  EXPECT_EQ(Pixel(0, 14), kBlack);
  // A skewed quad: its diagonal seam and its edges shared with a neighbour.
  Clear(kBlack);
  TTestVertex a[4] = {{3.3f, 1.7f, 0, 0.5f, 0x80FFFFFF, 0, 0, 0},
                      {30.6f, 4.1f, 0, 0.5f, 0x80FFFFFF, 0, 0, 0},
                      {1.2f, 20.9f, 0, 0.5f, 0x80FFFFFF, 0, 0, 0},
                      {25.5f, 28.4f, 0, 0.5f, 0x80FFFFFF, 0, 0, 0}};
  TTestVertex b[4] = {
      a[1], {50.2f, 2.2f, 0, 0.5f, 0x80FFFFFF, 0, 0, 0}, a[3], {60.7f, 30.0f, 0, 0.5f, 0x80FFFFFF, 0, 0, 0}};
  ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, a, sizeof(TTestVertex)), D3D_OK);
  ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, b, sizeof(TTestVertex)), D3D_OK);
  int covered = 0;
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      uint32_t p = Pixel(x, y);
      ASSERT_TRUE(p == kBlack || p == 0xFF808080) << x << "," << y;
      covered += p != kBlack;
    }
  EXPECT_GT(covered, 600);
}

TEST_P(SoftRaster, QuadsDrawAsTheirTwoTriangles) {
  // A strip of two triangles whose corners lie on one set of planes is walked as one polygon, and one whose
  // corners differ in colour as both triangles at once; either must give exactly the pixels of the two triangles
  // drawn one by one, also where clipped, across a wrapping texture and with specular added.
  std::vector<uint32_t> pixels;
  for (int i = 0; i < 16; ++i) pixels.push_back(0x80000000u | uint32_t(i * 0x0F0A05));
  Texture(4, 4, pixels);
  UsePreset(2);
  Sampling(false, D3DTADDRESS_WRAP);
  device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device_->SetRenderState(D3DRS_SPECULARENABLE, 1);
  auto drawsAsTriangles = [&](const TTestVertex(&Q)[4], int Covered) {
    Clear(kBlack);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, Q, sizeof(TTestVertex)), D3D_OK);
    std::vector<uint32_t> asQuad;
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x) asQuad.push_back(Pixel(x, y));
    Clear(kBlack);
    const TTestVertex asTriangles[6] = {Q[0], Q[1], Q[2], Q[1], Q[2], Q[3]};
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, asTriangles, sizeof(TTestVertex)), D3D_OK);
    int covered = 0;
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x) {
        ASSERT_EQ(asQuad[y * Width + x], Pixel(x, y)) << x << "," << y;
        covered += asQuad[y * Width + x] != kBlack;
      }
    EXPECT_GE(covered, Covered);
  };
  // The texture's last row at its own size, upright, its top edge a hair below the pixel centres of its row: they
  // take the colours the corners extrapolate to, below the range, which hold at 0 before stepping along the row;
  // also where the colours nowhere reach above the range.
  const float hair = 1.0f / 1024;
  const uint32_t edgeColours[2][4] = {{0xFF000000, 0xFFFEFEFE, 0xFFFFFFFF, 0xFF000000},
                                      {0xFF000000, 0xFF414141, 0xFFA6A6A6, 0xFFC1C1C1}};
  for (const uint32_t(&c)[4] : edgeColours) {
    const TTestVertex edgeOn[4] = {{40, 3 + hair, 0, 0.5f, c[0], 0, 0, 0.75f},
                                   {44, 3 + hair, 0, 0.5f, c[1], 0, 1, 0.75f},
                                   {40, 4 + hair, 0, 0.5f, c[2], 0, 0, 1},
                                   {44, 4 + hair, 0, 0.5f, c[3], 0, 1, 1}};
    drawsAsTriangles(edgeOn, 3);
  }
  const uint32_t planar[4] = {0xC0FFFFFF, 0xC0FFFFFF, 0xC0FFFFFF, 0xC0FFFFFF};
  const uint32_t shaded[4] = {0xC0FFFFFF, 0x80FF4020, 0xFF20FF40, 0x4000FFFF};
  for (const uint32_t* colours : {planar, shaded})
    for (uint32_t specular : {0u, 0x00402010u}) {
      auto corner = [&](int I, float X, float Y, float U, float V) {
        return TTestVertex{X, Y, 0, 0.5f, colours[I], I == 3 ? specular : 0, U, V};
      };
      auto mapped = [&](int I, float X, float Y) { return corner(I, X, Y, X / 32, Y / 32); };
      const TTestVertex quads[][4] = {
          {corner(0, 0.5f, 0.25f, 0, 0), corner(1, 20.7f, 0.25f, 3, 0), corner(2, 0.5f, 9.6f, 0, 2),
           corner(3, 20.7f, 9.6f, 3, 2)},
          {corner(0, 30, 2, 0, 0), corner(1, 50, 8, 1, 0), corner(2, 24, 22, 0, 1), corner(3, 44, 28, 1, 1)},
          {corner(0, -5.5f, 20, 0, 0), corner(1, 9.3f, 20, 1, 0), corner(2, -5.5f, 40, 0, 1),
           corner(3, 9.3f, 40, 1, 1)},
          {corner(0, 40, 12, 0, 0), corner(1, 70, 12, 1, 0), corner(2, 40, 31, 0, 1), corner(3, 70, 31, 1, 1)},
          // Texture coordinates that follow the position exactly: both triangles share one texture plane.
          {mapped(0, 10, 2), mapped(1, 42, 10), mapped(2, 4, 26), mapped(3, 36, 30)},
          {mapped(0, -10, 4), mapped(1, 75, 12), mapped(2, -6, 28), mapped(3, 70, 31)},
          {mapped(0, 16, 0), mapped(1, 48, 0), mapped(2, 16, 32), mapped(3, 48, 32)},
      };
      for (const auto& q : quads) drawsAsTriangles(q, 101);
    }
}

TEST_P(SoftRaster, PresetsBlendAsTheirFactorsSay) {
  // Texel A 128, R 255, G 128, B 0 with white diffuse over the background R 0x40, G 0x60, B 0x80.
  const uint32_t background = 0xFF406080;
  Texture(1, 1, {0x80FF8000});
  Sampling(false, D3DTADDRESS_CLAMP);
  const uint32_t expected[6] = {
      0xFFFF8000,  // opaque: the texel's colour
      0xFFC0A080,  // additive: 64 + 128, 96 + 64, 128 + 0
      0xFFA07040,  // alpha: (255*128 + 64*127)/255 = 160, (128*128 + 96*127)/255 = 112, 128*127/255 = 64
      0xFF003080,  // darkened: 64*0/255, 96*127/255 = 48, 128*255/255
      0xFF403000,  // multiplied: 64*255/255, 96*128/255 = 48, 128*0/255
      background,  // alpha test: 128 is not above 128
  };
  for (int preset = 0; preset < 6; ++preset) {
    Clear(background);
    UsePreset(preset);
    Quad(0, 0, 4, 4);
    EXPECT_EQ(Pixel(1, 1), expected[preset]) << "preset " << preset;
    EXPECT_EQ(Pixel(4, 4), background);
  }
}

TEST_P(SoftRaster, AlphaTestPassesAboveReferenceOnly) {
  Texture(2, 1, {0x80FF0000, 0x81FF0000});
  Sampling(false, D3DTADDRESS_CLAMP);
  Clear(0xFF0000FF);
  UsePreset(5);
  Quad(0, 0, 2, 1);
  EXPECT_EQ(Pixel(0, 0), 0xFF0000FF);  // 128: kept out
  EXPECT_EQ(Pixel(1, 0), 0xFFFF0000);  // 129: drawn, not blended
  // The tested alpha is texture alpha times diffuse alpha: 255 * 129 / 255 = 129, but 129 * 254 / 255 = 128.
  Clear(0xFF0000FF);
  Quad(0, 0, 2, 1, 0xFEFFFFFF);
  EXPECT_EQ(Pixel(1, 0), 0xFF0000FF);
}

TEST_P(SoftRaster, TextureAndDiffuseAreMultiplied) {
  Texture(1, 1, {0xFFFF8040});
  UsePreset(0);
  Clear(kBlack);
  Quad(0, 0, 2, 2, 0xFF808080);
  // 255*128/255 = 128, 128*128/255 = 64.25, 64*128/255 = 32.13
  EXPECT_EQ(Pixel(0, 0), 0xFF804020);

  // Alpha: texture 128 times diffuse 128 = 64.25 -> 64; white at alpha 64 over black gives 64.
  Texture(1, 1, {0x80FFFFFF});
  UsePreset(2);
  Clear(kBlack);
  Quad(0, 0, 2, 2, 0x80FFFFFF);
  EXPECT_EQ(Pixel(0, 0), 0xFF404040);
}

TEST_P(SoftRaster, SpecularIsAddedWhenEnabledAndSaturates) {
  Texture(1, 1, {0xFF808080});
  UsePreset(0);
  Clear(kBlack);
  Quad(0, 0, 2, 2, kWhite, 0x00604020);
  EXPECT_EQ(Pixel(0, 0), 0xFFE0C0A0);
  Quad(0, 0, 2, 2, kWhite, 0x00FF0000);
  EXPECT_EQ(Pixel(0, 0), 0xFFFF8080);
  device_->SetRenderState(D3DRS_SPECULARENABLE, 0);
  Quad(0, 0, 2, 2, kWhite, 0x00604020);
  EXPECT_EQ(Pixel(0, 0), 0xFF808080);
}

TEST_P(SoftRaster, NoTextureDrawsTheDiffuseColour) {
  UsePreset(0);
  Clear(kBlack);
  Quad(0, 0, 2, 2, 0xFF123456);
  EXPECT_EQ(Pixel(1, 1), 0xFF123456);
}

TEST_P(SoftRaster, DiffuseIsInterpolatedBetweenCorners) {
  // The power-up cell: white at the top, grey 128 at the bottom, 16 rows: row y is 255 - 127 * y / 16.
  UsePreset(0);
  Clear(kBlack);
  Quad(0, 0, 64, 16, {kWhite, kWhite, 0xFF808080, 0xFF808080});
  EXPECT_EQ(Pixel(5, 0), kWhite);
  EXPECT_EQ(Pixel(5, 8), 0xFFC0C0C0);    // 191.5 rounds up
  EXPECT_EQ(Pixel(60, 15), 0xFF888888);  // 255 - 119.06 = 135.9
  EXPECT_EQ(Pixel(5, 16), kBlack);
}

TEST_P(SoftRaster, PointAndBilinearAtTexelBoundary) {
  // Two texels, black and white, stretched over four pixels: pixel x samples u * 2 = x / 2 texels.
  Texture(2, 1, {kBlack, kWhite});
  UsePreset(0);
  Sampling(false, D3DTADDRESS_CLAMP);
  Clear(0xFF0000FF);
  Quad(0, 0, 4, 1);
  EXPECT_EQ(Pixel(0, 0), kBlack);
  EXPECT_EQ(Pixel(1, 0), kBlack);
  EXPECT_EQ(Pixel(2, 0), kWhite);
  EXPECT_EQ(Pixel(3, 0), kWhite);
  // Bilinear: texel centres at half-integers, so x / 2 - 0.5 gives -0.5 (clamped), 0, 0.5 (half way), 1.
  Sampling(true, D3DTADDRESS_CLAMP);
  Quad(0, 0, 4, 1);
  EXPECT_EQ(Pixel(0, 0), kBlack);
  EXPECT_EQ(Pixel(1, 0), kBlack);
  EXPECT_EQ(Pixel(2, 0), 0xFF808080);  // 127.5 rounds up
  EXPECT_EQ(Pixel(3, 0), kWhite);
  // Wrapping reaches back to the last texel for the first pixel.
  Sampling(true, D3DTADDRESS_WRAP);
  Quad(0, 0, 4, 1);
  EXPECT_EQ(Pixel(0, 0), 0xFF808080);
}

TEST_P(SoftRaster, MagnifiedPointSamplingChangesTexelExactlyOnTheTexelEdges) {
  // 2 x 2 texels three times enlarged: pixel centres 3 and 3 rows down lie exactly on the texel edges, where the
  // next texel starts. Stepping that drifts short of them draws the first texel 4 pixels wide.
  const uint32_t c[4] = {0xFF110000, 0xFF002200, 0xFF000033, 0xFF444444};
  Texture(2, 2, {c[0], c[1], c[2], c[3]});
  UsePreset(0);
  for (DWORD address : {DWORD(D3DTADDRESS_CLAMP), DWORD(D3DTADDRESS_WRAP)}) {
    Sampling(false, address);
    Clear(kBlack);
    Quad(0, 0, 6, 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) ASSERT_EQ(Pixel(x, y), c[y / 3 * 2 + x / 3]) << x << "," << y << " " << address;
  }
}

TEST_P(SoftRaster, BilinearOnATexelCentreGivesThatTexel) {
  // Three times enlarged and shifted by half a texel's width, so that pixels 0, 3, 6, 9 lie on texel centres.
  const uint32_t c[4] = {kBlack, kWhite, 0xFF00FF00, 0xFFFF00FF};
  Texture(4, 1, {c[0], c[1], c[2], c[3]});
  UsePreset(0);
  Sampling(true, D3DTADDRESS_CLAMP);
  Clear(0xFF0000FF);
  Quad(-1.5f, 0, 10.5f, 1);
  for (int t = 0; t < 4; ++t) EXPECT_EQ(Pixel(3 * t, 0), c[t]) << t;
}

TEST_P(SoftRaster, WrapRepeatsSevenTimesAndClampHoldsTheEdge) {
  const uint32_t c[4] = {0xFF110000, 0xFF002200, 0xFF000033, 0xFF444444};
  Texture(4, 1, {c[0], c[1], c[2], c[3]});
  UsePreset(0);
  Sampling(false, D3DTADDRESS_WRAP);
  Clear(kBlack);
  Quad(0, 0, 28, 1, kWhite, 0, 0, 0, 7, 1);
  for (int x = 0; x < 28; ++x) ASSERT_EQ(Pixel(x, 0), c[x % 4]) << x;
  Sampling(false, D3DTADDRESS_CLAMP);
  Quad(0, 0, 28, 1, kWhite, 0, 0, 0, 7, 1);
  for (int x = 0; x < 28; ++x) ASSERT_EQ(Pixel(x, 0), c[x < 4 ? x : 3]) << x;
  // The scrolling background: shifted left by a fraction of the picture, still whole repeats.
  Sampling(false, D3DTADDRESS_WRAP);
  Quad(-6, 0, 22, 1, kWhite, 0, 0, 0, 7, 1);
  for (int x = 0; x < 22; ++x) ASSERT_EQ(Pixel(x, 0), c[(x + 6) % 4]) << x;
  // Far from the origin, where a coordinate in the texels' fixed point passes 2^48, the repeats still fall whole.
  std::vector<uint32_t> wide(64);
  for (int x = 0; x < 64; ++x) wide[x] = 0xFF000000u | uint32_t(x * 0x030507);
  Texture(64, 1, wide);
  Quad(0, 0, 64, 1, kWhite, 0, 300000.5f, 0, 300001.5f, 1);
  for (int x = 0; x < 64; ++x) ASSERT_EQ(Pixel(x, 0), wide[(x + 32) % 64]) << x;
}

TEST_P(SoftRaster, NarrowSpansReadOnlyTheirTexture) {
  // Spans shorter than the kernels' groups of four, at the texture's last row and column (the sanitizer build
  // catches a read past the texels).
  Texture(2, 2, {0xFF000010, 0xFF000020, 0xFF000030, 0xFF000040});
  UsePreset(2);
  for (DWORD address : {DWORD(D3DTADDRESS_CLAMP), DWORD(D3DTADDRESS_WRAP)}) {
    Sampling(false, address);
    Clear(kBlack);
    Quad(0, 0, 2, 2);
    EXPECT_EQ(Pixel(0, 0), 0xFF000010);
    EXPECT_EQ(Pixel(1, 1), 0xFF000040);
    EXPECT_EQ(Pixel(2, 1), kBlack);
    Quad(5, 0, 6, 1, kWhite, 0, 0.5f, 0.5f, 1, 1);
    EXPECT_EQ(Pixel(5, 0), 0xFF000040);
  }
}

TEST_P(SoftRaster, PicturesAtTheirOwnSizeReadTheTexelsTheirCoordinatesName) {
  // One texel per pixel, upright: the picture itself, or shifted a texel past its edges, where clamping holds the
  // edge and wrapping brings in the other side. Corners that differ in alpha alone draw the quad as two triangles.
  constexpr int kW = 8, kH = 4;
  std::vector<uint32_t> texels;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) texels.push_back(0xFF000000u | uint32_t(y) << 8 | uint32_t(x));
  Texture(kW, kH, texels);
  UsePreset(0);
  const uint32_t white[4] = {kWhite, kWhite, kWhite, kWhite};
  const uint32_t alphas[4] = {kWhite, 0xFEFFFFFF, kWhite, 0xFDFFFFFF};
  for (DWORD address : {DWORD(D3DTADDRESS_CLAMP), DWORD(D3DTADDRESS_WRAP)}) {
    Sampling(false, address);
    auto texel = [&](int I, int N) { return address == D3DTADDRESS_WRAP ? (I + N) % N : std::clamp(I, 0, N - 1); };
    for (const auto* colours : {&white, &alphas})
      for (int du = -1; du <= 1; ++du)
        for (int dv = -1; dv <= 1; ++dv) {
          Clear(kBlack);
          Quad(3, 2, 3 + kW, 2 + kH, *colours, 0, float(du) / kW, float(dv) / kH, float(du + kW) / kW,
               float(dv + kH) / kH);
          for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
              ASSERT_EQ(Pixel(3 + x, 2 + y), texels[texel(y + dv, kH) * kW + texel(x + du, kW)])
                  << address << " " << (colours == &white) << " " << du << "," << dv << " at " << x << "," << y;
        }
  }
}

TEST_P(SoftRaster, RowsReadTheTexelsOfThePixelByPixelPath) {
  // Pictures near their own size, point-sampled and smooth, repeating and clamped, read along their rows by the
  // fast kernels (texels side by side in one load, bilinear four pixels at a time), against the general path,
  // which samples every pixel on its own. A quarter texel down, so that the two texel rows weigh differently.
  constexpr int kW = 64, kH = 4;
  std::vector<uint32_t> texels;
  for (int i = 0; i < 16 * kH; ++i) texels.push_back(0xFF000000u | uint32_t(i * 0x050301));
  Texture(16, kH, texels);
  UsePreset(0);
  for (bool smooth : {false, true})
    for (DWORD address : {DWORD(D3DTADDRESS_WRAP), DWORD(D3DTADDRESS_CLAMP)})
      for (float scale : {0.5f, 0.96f, 1.0f, 1.0007f, 1.04f, 1.9f})
        for (float offset : {0.0f, 0.046875f, -2.71f}) {
          Sampling(smooth, address);
          std::vector<uint32_t> fast, general;
          for (DWORD op : {DWORD(D3DTOP_MODULATE), DWORD(D3DTOP_SELECTARG1)}) {
            device_->SetTextureStageState(0, D3DTSS_COLOROP, op);
            Clear(kBlack);
            Quad(0, 0, kW, kH, kWhite, 0, offset, 0.0625f, offset + kW * scale / 16, 1.0625f);
            for (int y = 0; y < kH; ++y)
              for (int x = 0; x < kW; ++x) (op == D3DTOP_MODULATE ? fast : general).push_back(Pixel(x, y));
          }
          device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
          ASSERT_EQ(fast, general) << smooth << " " << address << " " << scale << " " << offset;
        }
}

TEST_P(SoftRaster, ColourKeyedPicturesBlendAsAnyOther) {
  // A picture whose alphas are all 0 or 255 is blended by picking texels. It must give the pixels of the same
  // picture with a row of half alpha below (never sampled) that is blended as usual, also after a texel of both
  // is rewritten to half alpha while bound, and back.
  constexpr int kW = 16, kH = 4;
  std::vector<uint32_t> texels;
  for (int i = 0; i < kW * (kH + 1); ++i)
    texels.push_back((i >= kW * kH ? 0x80000000u : i % 3 ? 0xFF000000u : 0u) | (uint32_t(i * 0x070503) & 0xFFFFFF));
  IDirect3DTexture9* blended = Texture(kW, kH + 1, texels);
  texels.resize(kW * kH);
  IDirect3DTexture9* keyed = Texture(kW, kH, texels);
  UsePreset(2);
  for (uint32_t rewritten : {texels[2 * kW + 5], 0x80FFFFFFu, texels[2 * kW + 5]}) {
    for (IDirect3DTexture9* t : {blended, keyed}) {
      const RECT one{5, 2, 6, 3};
      D3DLOCKED_RECT l;
      ASSERT_EQ(t->LockRect(0, &l, &one, 0), D3D_OK);
      std::memcpy(l.pBits, &rewritten, 4);
      ASSERT_EQ(t->UnlockRect(0), D3D_OK);
    }
    for (DWORD address : {DWORD(D3DTADDRESS_WRAP), DWORD(D3DTADDRESS_CLAMP)})
      for (float scale : {0.5f, 1.0f, 1.0007f, 1.9f})
        for (float offset : {0.0f, -2.71f}) {
          Sampling(false, address);
          std::vector<uint32_t> pictures[2];
          for (int k = 0; k < 2; ++k) {
            device_->SetTexture(0, k ? keyed : blended);
            Clear(0x00406080);
            Quad(1, 0, 62, kH, kWhite, 0, offset, 0, offset + 61 * scale / kW, k ? 1.0f : float(kH) / (kH + 1));
            for (int y = 0; y < kH; ++y)
              for (int x = 0; x < Width; ++x) pictures[k].push_back(Pixel(x, y));
          }
          // White at alpha 128 over 0x406080, where the rewritten texel lands.
          if (rewritten == 0x80FFFFFFu && scale == 1.0f && offset == 0.0f) {
            EXPECT_EQ(Pixel(6, 2), 0xFFA0B0C0u);
          }
          ASSERT_EQ(pictures[0], pictures[1])
              << std::hex << rewritten << std::dec << " " << address << " " << scale << " " << offset;
        }
  }
}

TEST_P(SoftRaster, TransparentEndsOfRowsLeaveTheirPixelsAsTheBlendWould) {
  // Texels of alpha 0 at the ends of rows (whole rows too) leave their pixels as they are, so a sprite drawn one
  // texel per pixel skips them. Its pixels must be those of the same picture mirrored and read backwards, which
  // takes the pixel-by-pixel path: plain, one colour, four corners (two triangles), keyed, clipped at the sides.
  constexpr int kW = 32, kH = 16;
  uint32_t seed = 99;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
  std::vector<uint32_t> texels(kW * kH), mirrored(kW * kH);
  for (bool keyed : {false, true}) {
    for (int y = 0; y < kH; ++y) {
      const int left = y % 5 == 0 ? kW : int(next() % 9), right = int(next() % 9);
      for (int x = 0; x < kW; ++x) {
        const uint32_t alpha = x < left || x >= kW - right ? 0 : keyed ? 255 : 1 + next() % 255;
        texels[y * kW + x] = alpha << 24 | (next() & 0xFFFFFF);
        mirrored[y * kW + kW - 1 - x] = texels[y * kW + x];
      }
    }
    IDirect3DTexture9* pictures[2] = {Texture(kW, kH, texels), Texture(kW, kH, mirrored)};
    const uint32_t colourings[3][4] = {{kWhite, kWhite, kWhite, kWhite},
                                       {0xC0A08060, 0xC0A08060, 0xC0A08060, 0xC0A08060},
                                       {0xFFFFFFFF, 0xFFFF8080, 0xC080FF80, 0xFF8080FF}};
    for (int preset : {1, 2})
      for (const auto& colours : colourings)
        for (float x : {-5.5f, 3.5f, 50.5f}) {  // texel centres on pixel centres: mirrored, they read alike
          std::vector<uint32_t> drawn[2];
          for (int k = 0; k < 2; ++k) {
            device_->SetTexture(0, pictures[k]);
            UsePreset(preset);
            Sampling(false, D3DTADDRESS_CLAMP);
            Clear(0xFF405060);
            Quad(x, 2.5f, x + kW, 2.5f + kH, colours, 0, float(k), 0, float(1 - k), 1);
            for (int py = 0; py < Height; ++py)
              for (int px = 0; px < Width; ++px) drawn[k].push_back(Pixel(px, py));
          }
          ASSERT_EQ(drawn[0], drawn[1]) << keyed << " " << preset << " " << colours[1] << " " << x;
        }
  }
}

TEST_P(SoftRaster, QuadsPartlyOutsideAreClipped) {
  UsePreset(0);
  Clear(kBlack);
  Quad(-10, -5, 10, 5);
  EXPECT_EQ(CountNot(kBlack), 10 * 5);
  Quad(60, 28, 70, 40);
  EXPECT_EQ(CountNot(kBlack), 50 + 4 * 4);
  Clear(kBlack);
  Quad(-1e7f, -1e7f, 1e7f, 1e7f, 0xFF00FF00);
  EXPECT_EQ(CountNot(0xFF00FF00), 0);
  Clear(kBlack);
  Quad(100, 100, 200, 200);
  Quad(-50, 0, -1, 10);
  EXPECT_EQ(CountNot(kBlack), 0);
}

TEST_P(SoftRaster, WildVerticesDrawNothingWrongAndNeverFault) {
  Texture(2, 2, {kWhite, kWhite, kWhite, kWhite});
  UsePreset(2);
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  Clear(kBlack);
  Quad(nan, 0, 8, 8);
  Quad(0, 0, inf, 8);
  EXPECT_EQ(CountNot(kBlack), 0);
  // Extreme texture coordinates and a sliver of a triangle with enormous gradients.
  Quad(0, 0, 8, 8, kWhite, 0, nan, -1e30f, 1e30f, nan);
  TTestVertex sliver[3] = {{0, 0, 0, 0.5f, 0x00000000, 0, -1e20f, 0},
                           {30, 0.001f, 0, 0.5f, kWhite, 0, 1e20f, 1},
                           {0, 30, 0, 0.5f, 0x80FF0000, 0, 0, 1e20f}};
  EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, sliver, sizeof(TTestVertex)), D3D_OK);
  Quad(-3e9f, -3e9f, 3e9f, 3e9f, 0x80FFFFFF, 0, -1e7f, -1e7f, 1e7f, 1e7f);
  SUCCEED();
}

TEST_P(SoftRaster, ViewportLimitsDrawingAndClearing) {
  UsePreset(0);
  Clear(kBlack);
  D3DVIEWPORT9 view{10, 4, 20, 8, 0, 1};
  ASSERT_EQ(device_->SetViewport(&view), D3D_OK);
  Quad(0, 0, 64, 32);
  EXPECT_EQ(CountNot(kBlack), 20 * 8);
  EXPECT_EQ(Pixel(10, 4), kWhite);
  EXPECT_EQ(Pixel(29, 11), kWhite);
  EXPECT_EQ(Pixel(30, 11), kBlack);
  Clear(0xFF0000FF);
  EXPECT_EQ(CountNot(kBlack), 20 * 8);
  EXPECT_EQ(Pixel(15, 5), 0xFF0000FF);
}

TEST_P(SoftRaster, CounterClockwiseQuadsAreCulledByDefault) {
  UsePreset(0);
  Clear(kBlack);
  // Corners top-left, bottom-left, top-right, bottom-right wind the other way round.
  TTestVertex v[4] = {{0, 0, 0, 0.5f, kWhite, 0, 0, 0},
                      {0, 8, 0, 0.5f, kWhite, 0, 0, 0},
                      {8, 0, 0, 0.5f, kWhite, 0, 0, 0},
                      {8, 8, 0, 0.5f, kWhite, 0, 0, 0}};
  ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(TTestVertex)), D3D_OK);
  EXPECT_EQ(CountNot(kBlack), 0);
  device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(TTestVertex)), D3D_OK);
  EXPECT_EQ(CountNot(kBlack), 64);
}

TEST_P(SoftRaster, OtherBlendFactorsTakeTheGeneralPath) {
  // ONE, ONE adds without weighting; SUBTRACT takes the target from the source.
  Clear(0xFF406080);
  device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  Quad(0, 0, 2, 2, 0x00202020);
  EXPECT_EQ(Pixel(0, 0), 0xFF6080A0);
  device_->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_REVSUBTRACT);
  Quad(0, 0, 2, 2, 0x00202020);
  EXPECT_EQ(Pixel(0, 0), 0xFF406080);
}

// The two kernel sets are one source compiled twice; they must agree byte for byte on every state the game can
// set: each blend preset, with and without a texture, point and bilinear, wrap and clamp, plain, shaded and
// specular colours, on quads of every size and sub-pixel offset, drawn over one another.
using SoftRasterSets = TSoftDeviceFixture;

TEST_F(SoftRasterSets, BaselineAndBestKernelsDrawTheSamePicture) {
  auto draw = [this](bool Baseline) {
    RasterUseBaselineKernels(Baseline);
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    std::vector<uint32_t> texels(16 * 8);
    // One draw per statement: the order in which C++ evaluates operands and arguments is the compiler's choice,
    // and the picture must be the same on every processor and compiler.
    for (uint32_t& t : texels) {
      const uint32_t alpha = next() & 1 ? 0xFF000000u : next() << 24;
      t = alpha | (next() & 0xFFFFFF);
    }
    IDirect3DTexture9* texture = Texture(16, 8, texels);
    Clear(0xFF203040);
    for (int i = 0; i < 400; ++i) {
      UsePreset(static_cast<int>(next() % 6));
      const bool smooth = next() % 2 == 0;
      Sampling(smooth, next() % 2 ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP);
      device_->SetTexture(0, next() % 5 == 0 ? nullptr : texture);
      const uint32_t kind = next() % 3;  // plain white, shaded corners, shaded with specular
      device_->SetRenderState(D3DRS_SPECULARENABLE, kind == 2);
      uint32_t corners[4];
      for (uint32_t& c : corners) {
        const uint32_t high = kind == 0 ? 0 : next() << 8;
        c = kind == 0 ? 0xFFFFFFFFu : high | (next() & 0xFF);
      }
      const float x = static_cast<float>(next() % 80) / 1.25f - 8, y = static_cast<float>(next() % 48) / 1.5f - 8;
      const float w = static_cast<float>(1 + next() % 40) / 1.1f, h = static_cast<float>(1 + next() % 24) / 1.1f;
      const float u = static_cast<float>(next() % 9) / 4 - 1, v = static_cast<float>(next() % 9) / 4 - 1;
      Quad(x, y, x + w, y + h, corners, kind == 2 ? next() & 0xFFFFFF : 0, u, v, u + w / 12, v + h / 7);
    }
    std::vector<uint32_t> picture;
    for (int py = 0; py < Height; ++py)
      for (int px = 0; px < Width; ++px) picture.push_back(Pixel(px, py));
    return picture;
  };
  const std::vector<uint32_t> baseline = draw(true);
  const std::vector<uint32_t> best = draw(false);
  RasterUseBaselineKernels(false);
  ASSERT_EQ(baseline.size(), best.size());
  int differing = 0;
  for (size_t i = 0; i < baseline.size(); ++i) differing += baseline[i] != best[i];
  EXPECT_EQ(differing, 0);
  // The exact picture, recorded: every processor and every faster path must keep it.
  EXPECT_EQ(rasterwork::PictureHash(best), 0xdbc14dd62cb601d1u) << std::hex << "0x" << rasterwork::PictureHash(best);
  std::vector<uint32_t> colours = best;  // the workload really drew: a picture of many colours
  std::sort(colours.begin(), colours.end());
  EXPECT_GT(std::unique(colours.begin(), colours.end()) - colours.begin(), 200);
}

// The benchmark's three workloads drawn on an 800x600 device keep the exact pixels recorded here, with either
// kernel set and on every processor: a faster path that changes one pixel fails here before it reaches a
// screenshot test or a recording.
namespace rw = rasterwork;

struct TRecorded {
  const char* Name;
  std::vector<rw::TQuad> (*Workload)();
  uint64_t Hash;
};

class RasterPicture : public ::testing::TestWithParam<bool> {
 protected:
  void TearDown() override { RasterUseBaselineKernels(false); }
};

TEST_P(RasterPicture, WorkloadsKeepTheirRecordedPixels) {
  RasterUseBaselineKernels(GetParam());
  const TRecorded recorded[] = {
      {"full-screen wrapped quad", rw::FullScreenWorkload, 0x43755e42d9b420e6},
      {"1000 sprites", rw::SpriteWorkload, 0x8d6f15eeb6758942},
      {"game frame", rw::FrameWorkload, 0x46be763dcf2aab94},
  };
  for (const TRecorded& r : recorded) {
    rw::TWorkloadDevice device;
    device.Frame(r.Workload());
    const std::vector<uint32_t> pixels = device.Picture();
    EXPECT_EQ(rw::PictureHash(pixels), r.Hash) << r.Name << std::hex << ": 0x" << rw::PictureHash(pixels);
  }
}

INSTANTIATE_TEST_SUITE_P(Kernels, RasterPicture, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& Info) { return Info.param ? "Baseline" : "Best"; });

INSTANTIATE_TEST_SUITE_P(Kernels, SoftRaster, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& Info) { return Info.param ? "Baseline" : "Best"; });

}  // namespace
