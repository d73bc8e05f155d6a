// Plays a key script back in place of the live keys, one script frame per game frame, so a recorded game
// runs again exactly; Escape on the live keys still reaches the program, which uses it to stop.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "KeyScript.h"
#include "KeySource.h"

class TKeyPlayer : public TKeySource {
 public:
  TKeyPlayer(TKeySource& Live, std::vector<TKeyScriptLine> Lines, std::function<void()> OnEscape);

  // Polls the live keys for Escape (while active), then holds the keys of the script's current frame.
  void BeginFrame() override;
  bool IsKeyDown(uint8_t VirtualKey) const override { return down_[VirtualKey]; }
  // The script's activity, not the live one: the game must leave the window where the recording did.
  bool IsApplicationActive() const override { return active_; }
  bool IsGamepadConnected() const override { return live_.IsGamepadConnected(); }

 private:
  TKeySource& live_;
  std::vector<TKeyScriptLine> lines_;
  std::function<void()> onEscape_;
  std::array<bool, 256> down_{};
  bool active_ = true;
  size_t next_ = 0;  // the first line not yet applied
  uint32_t frame_ = 0;
};
