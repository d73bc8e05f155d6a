// The keys of a game that may go on when its window loses the focus (the player's "autopause=0", which the
// options screen can change mid-game): while PauseWhenAway is false and the window is away, every key reads as
// up, as it does for any game, but the game is never told that it is away, so it does not pause. Recordings made
// through it hold no AWAY lines for such stretches and replay alike wherever they are played.
#pragma once
#include <cstdint>

#include "KeySource.h"

class TAlwaysActiveKeys : public TKeySource {
 public:
  TAlwaysActiveKeys(TKeySource& Keys, const bool& PauseWhenAway) : keys_(Keys), pauseWhenAway_(PauseWhenAway) {}

  void BeginFrame() override { keys_.BeginFrame(); }
  bool IsKeyDown(uint8_t VirtualKey) const override {
    return (pauseWhenAway_ || keys_.IsApplicationActive()) && keys_.IsKeyDown(VirtualKey);
  }
  bool IsApplicationActive() const override { return !pauseWhenAway_ || keys_.IsApplicationActive(); }
  bool IsGamepadConnected() const override { return keys_.IsGamepadConnected(); }

 private:
  TKeySource& keys_;
  const bool& pauseWhenAway_;
};
