// Volume keys on top of the keyboard the game reads: F7 mutes and unmutes, F8 and F9 turn the volume down and
// up by a tenth. The game never reads these keys; every key still reaches it as it is.
#pragma once
#include <cstdint>

#include "KeySource.h"

class TSkinSound;

class TVolumeKeys : public TKeySource {
 public:
  static constexpr uint8_t kKeyMute = 0x76, kKeyDown = 0x77, kKeyUp = 0x78;  // VK_F7, VK_F8, VK_F9
  static constexpr int kStep = 10;

  TVolumeKeys(TKeySource& Keys, TSkinSound& Sound) : keys_(Keys), sound_(Sound) {}

  // The key states poll every key once a frame; a volume key acts when it goes down.
  bool IsKeyDown(uint8_t VirtualKey) const override;
  bool IsApplicationActive() const override { return keys_.IsApplicationActive(); }
  void BeginFrame() override { keys_.BeginFrame(); }
  bool IsGamepadConnected() const override { return keys_.IsGamepadConnected(); }

 private:
  TKeySource& keys_;
  TSkinSound& sound_;
  mutable bool down_[3] = {false, false, false};
};
