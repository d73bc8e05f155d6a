#include "KeyStates.h"

TKeyStates::TKeyStates(TKeySource& Source) : source_(Source) { Clear(); }

void TKeyStates::Clear() {
  FDown.fill(false);
  FHeld.fill(false);
}

void TKeyStates::Update() {
  source_.BeginFrame();
  gamepadConnected_ = source_.IsGamepadConnected();
  // In the background every key reads as up, so a key still down on return counts as newly pressed.
  active_ = source_.IsApplicationActive();
  if (!active_) {
    Clear();
    return;
  }
  for (int index = 0; index < kKeyCount; ++index) {
    const bool wasDown = FDown[index];
    const bool down = source_.IsKeyDown(static_cast<uint8_t>(kFirstKey + index));
    FDown[index] = down;
    FHeld[index] = wasDown && down;
  }
}

bool TKeyStates::IsDown(uint8_t Key) const { return InRange(Key) && FDown[Key - kFirstKey]; }

bool TKeyStates::IsHeld(uint8_t Key) const { return InRange(Key) && FHeld[Key - kFirstKey]; }

bool TKeyStates::IsPressed(uint8_t Key) const { return IsDown(Key) && !IsHeld(Key); }

bool TKeyStates::AnyPressed() const {
  for (int key = kFirstKey; key <= kLastKey; ++key) {
    if (IsPressed(static_cast<uint8_t>(key))) return true;
  }
  return false;
}
