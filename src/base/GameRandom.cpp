#include "GameRandom.h"

uint32_t RandSeed = 0;

namespace {
uint32_t NextSeed() {
  RandSeed = RandSeed * 0x08088405u + 1u;
  return RandSeed;
}
}  // namespace

int32_t Random(int32_t Range) {
  const uint32_t seed = NextSeed();
  if (Range <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(seed) * static_cast<uint32_t>(Range)) >> 32);
}

double RandomFloat() { return NextSeed() / 4294967296.0; }
