// The game's pseudo-random generator: the runtime's linear congruential generator (seed × 0x08088405 + 1),
// seeded once by the main form (replays and tests seed it with the value they need).
#pragma once
#include <cstdint>

// Starts the sequence over from Seed.
void SeedRandom(uint32_t Seed);

// A value in [0, Range) for Range > 0 (0 otherwise); advances the seed.
int32_t Random(int32_t Range);
// A value in [0, 1).
double RandomFloat();
