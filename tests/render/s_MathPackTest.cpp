#include "s_MathPack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// Read during this file's start-up initialisation, in no particular order with the maths unit's own.
const float kQuarterTurnSineAtStartUp = SinTable[1024];

TEST(AngleTablesTest, ValidInsideOtherStartUpInitialisers) { EXPECT_EQ(kQuarterTurnSineAtStartUp, 1.0f); }

TEST(AngleTablesTest, KnownAngles) {
  EXPECT_EQ(SinTable[0], 0.0f);
  EXPECT_EQ(CosTable[0], 1.0f);
  EXPECT_EQ(SinTable[1024], 1.0f);
  EXPECT_NEAR(CosTable[1024], 0.0f, 1e-7f);
  EXPECT_EQ(CosTable[2048], -1.0f);
  EXPECT_EQ(SinTable[3072], -1.0f);
  // sqrt(1/2) = 0.70710678118..., nearest single 0.70710677
  EXPECT_EQ(SinTable[512], 0.70710677f);
  EXPECT_EQ(CosTable[512], 0.70710677f);
  EXPECT_EQ(SinTable.Size(), 4096u);
}

TEST(AngleTablesTest, EveryEntryWithinOneStepOfTheTrueValue) {
  for (int i = 0; i < 4096; ++i) {
    const double a = i * std::numbers::pi / 2048.0;
    EXPECT_NEAR(SinTable[i], std::sin(a), 6e-8) << i;
    EXPECT_NEAR(CosTable[i], std::cos(a), 6e-8) << i;
  }
}

TEST(VectorMathTest, SqrAndLengthRoundToSingle) {
  EXPECT_EQ(Sqr(-3.0f), 9.0f);
  // (1 + 2^-12)^2 = 1 + 2^-11 + 2^-24: the last term is half a step and rounds to even.
  EXPECT_EQ(Sqr(1.0f + 0x1p-12f), 1.0f + 0x1p-11f);
  EXPECT_EQ(Vec2Length(Vector2(3.0f, 4.0f)), 5.0f);
  EXPECT_EQ(Vec2Length(Vector2(-3.0f, -4.0f)), 5.0f);
  EXPECT_EQ(Vec2Length(Vector2(1.0f, 1.0f)), 1.41421354f);  // nearest single to sqrt 2
  EXPECT_EQ(Vec2Length(Vector2(0.0f, 0.0f)), 0.0f);
}

TEST(VectorMathTest, Normalize) {
  const TVector2 n = Vec2Normalize(Vector2(3.0f, 4.0f));
  EXPECT_EQ(n.X, 0.6f);
  EXPECT_EQ(n.Y, 0.8f);
  const TVector2 zero = Vec2Normalize(Vector2(0.0f, 0.0f));
  EXPECT_EQ(zero.X, 0.0f);
  EXPECT_EQ(zero.Y, 0.0f);
  // Too small to square in single precision: the length is exactly 0, so the result is (0, 0), not a division.
  const TVector2 tiny = Vec2Normalize(Vector2(1e-30f, 0.0f));
  EXPECT_EQ(tiny.X, 0.0f);
  const TVector2 left = Vec2Normalize(Vector2(-10.0f, 0.0f));
  EXPECT_EQ(left.X, -1.0f);
  EXPECT_EQ(left.Y, 0.0f);
}

TEST(VectorMathTest, RotateUsesTheTables) {
  const TVector2 r = Vec2Rotate(Vector2(1.0f, 0.0f), 1024);
  EXPECT_EQ(r.X, CosTable[1024]);
  EXPECT_EQ(r.Y, SinTable[1024]);
  // With y growing downwards a positive angle turns clockwise on screen: down (0, 1) becomes left.
  const TVector2 down = Vec2Rotate(Vector2(0.0f, 1.0f), 1024);
  EXPECT_EQ(down.X, -1.0f);
  EXPECT_NEAR(down.Y, 0.0f, 1e-7f);
  const TVector2 half = Vec2Rotate(Vector2(2.0f, 3.0f), 2048);
  EXPECT_NEAR(half.X, -2.0f, 1e-6f);
  EXPECT_NEAR(half.Y, -3.0f, 1e-6f);
  const TVector2 diagonal = Vec2Rotate(Vector2(1.0f, 1.0f), 512);
  EXPECT_EQ(diagonal.X, 0.0f);
  EXPECT_EQ(diagonal.Y, 2.0f * 0.70710677f);
}

TEST(VectorMathTest, RotateWrapsAngles) {
  const TVector2 v = Vector2(5.0f, -2.0f);
  for (int k : {0, 1, 100, 1024, 3000, 4095}) {
    const TVector2 base = Vec2Rotate(v, k);
    const TVector2 turned = Vec2Rotate(v, 4096 + k);
    const TVector2 twice = Vec2Rotate(v, 8192 + k);
    EXPECT_EQ(turned.X, base.X);
    EXPECT_EQ(turned.Y, base.Y);
    EXPECT_EQ(twice.X, base.X);
    EXPECT_EQ(twice.Y, base.Y);
    const TVector2 negative = Vec2Rotate(v, -k);
    const TVector2 complement = Vec2Rotate(v, (4096 - k) & 4095);
    EXPECT_EQ(negative.X, complement.X) << k;
    EXPECT_EQ(negative.Y, complement.Y) << k;
  }
  const TVector2 a = Vec2Rotate(v, -340);
  const TVector2 b = Vec2Rotate(v, 3756);
  EXPECT_EQ(a.X, b.X);
  EXPECT_EQ(a.Y, b.Y);
  const TVector2 lowest = Vec2Rotate(v, INT32_MIN);  // INT32_MIN and 4095 = 0
  EXPECT_EQ(lowest.X, 5.0f);
  EXPECT_EQ(lowest.Y, -2.0f);
}

}  // namespace
