#include "GameRandom.h"

#include <gtest/gtest.h>

namespace {

TEST(GameRandom, LinearCongruentialSequenceScaledToTheRange) {
  SeedRandom(0);
  EXPECT_EQ(Random(100), 0);  // seed 1: 100 / 2^32
  EXPECT_EQ(Random(100), 3);  // seed 0x08088406 = 134775814: 13477581400 / 2^32 = 3.14
  EXPECT_EQ(RandomFloat() * 4294967296.0, 0x08088406u * 0x08088405u + 1u) << "the seed itself, scaled to [0, 1)";
  SeedRandom(0xFFFFFFFFu);  // next seed: 0xFFFFFFFF * 0x08088405 + 1 = 0xF7F77BFC (mod 2^32)
  EXPECT_EQ(Random(256), 0xF7);
  EXPECT_EQ(Random(0), 0);
}

TEST(GameRandom, TheSameSeedGivesTheSameValues) {
  SeedRandom(12345);
  const int32_t a = Random(1000), b = Random(1000);
  SeedRandom(12345);
  EXPECT_EQ(Random(1000), a);
  EXPECT_EQ(Random(1000), b);
  const double f = RandomFloat();
  EXPECT_GE(f, 0.0);
  EXPECT_LT(f, 1.0);
}

}  // namespace
