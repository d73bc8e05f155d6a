// Random play for soak runs: each frame every game key is pressed or released with its own odds, from a seed of
// its own (the game's random seed stays separate), so one seed always gives the same keys.
#pragma once
#include <cstdint>

#include "KeyScript.h"

class TRandomKeys {
 public:
  explicit TRandomKeys(uint64_t Seed) : state_(Seed) {}
  // The keys of the next frame, written into Keys.
  void Step(TScriptedKeySource& Keys);

 private:
  uint64_t Next();
  uint64_t state_;
  bool down_[256] = {};
};
