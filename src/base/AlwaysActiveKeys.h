// The keys of a game that goes on when its window loses the focus (the player's "autopause=0"): while the
// window is away every key reads as up, as it does for any game, but the game is never told that it is away,
// so it does not pause. Recordings made through it hold no AWAY lines and replay alike wherever they are played.
#pragma once
#include <cstdint>

#include "KeySource.h"

class TAlwaysActiveKeys : public TKeySource {
 public:
  explicit TAlwaysActiveKeys(TKeySource& Keys) : keys_(Keys) {}

  void BeginFrame() override { keys_.BeginFrame(); }
  bool IsKeyDown(uint8_t VirtualKey) const override {
    return keys_.IsApplicationActive() && keys_.IsKeyDown(VirtualKey);
  }
  bool IsApplicationActive() const override { return true; }
  bool IsGamepadConnected() const override { return keys_.IsGamepadConnected(); }

 private:
  TKeySource& keys_;
};
