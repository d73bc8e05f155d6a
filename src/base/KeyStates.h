// The keyboard snapshot taken once per frame over the virtual-key codes 13 (VK_RETURN) to 162 (VK_LCONTROL).
#pragma once
#include <array>
#include <cstdint>

#include "GameKeys.h"
#include "KeySource.h"
#include "TObject.h"

class TKeyStates : public TObject {
 public:
  static constexpr uint8_t kFirstKey = VK_RETURN;
  static constexpr uint8_t kLastKey = VK_LCONTROL;

  // Polls Source, which must outlive the key states. Every key starts up.
  explicit TKeyStates(TKeySource& Source);

  // Every key up and not held.
  void Clear();
  // Takes this frame's snapshot (the source's BeginFrame, then its keys); while the application is inactive every key
  // reads as up.
  void Update();

  // Down at the last sample. Codes outside 13..162 are never sampled and read as up.
  bool IsDown(uint8_t Key) const;
  // Down at the last sample and at the one before.
  bool IsHeld(uint8_t Key) const;
  // Went down between the previous sample and the last one.
  bool IsPressed(uint8_t Key) const;
  // Some key of 13..162 is pressed.
  bool AnyPressed() const;
  // A gamepad was connected at the last sample (whether or not the application was active).
  bool GamepadConnected() const { return gamepadConnected_; }
  // The application was active (had the keyboard focus) at the last sample.
  bool ApplicationActive() const { return active_; }

 private:
  static constexpr int kKeyCount = kLastKey - kFirstKey + 1;
  static bool InRange(uint8_t Key) { return Key >= kFirstKey && Key <= kLastKey; }

  TKeySource& source_;
  std::array<bool, kKeyCount> FDown{};
  std::array<bool, kKeyCount> FHeld{};
  bool gamepadConnected_ = false;
  bool active_ = true;
};
