#include "GameRandom.h"

namespace {
uint32_t State = 0;

uint32_t NextSeed() {
  State = State * 0x08088405u + 1u;
  return State;
}
}  // namespace

void SeedRandom(uint32_t Seed) { State = Seed; }

int32_t Random(int32_t Range) {
  const uint32_t next = NextSeed();
  if (Range <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(next) * static_cast<uint32_t>(Range)) >> 32);
}

double RandomFloat() { return NextSeed() / 4294967296.0; }
