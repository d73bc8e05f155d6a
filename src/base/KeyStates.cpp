#include "KeyStates.h"

TKeyStates::TKeyStates(TKeySource& Source) : Source_(Source) { Clear(); }

void TKeyStates::Clear() {
  Down_.fill(false);
  Held_.fill(false);
}

void TKeyStates::Update() {
  Source_.BeginFrame();
  GamepadConnected_ = Source_.IsGamepadConnected();
  // In the background every key reads as up, so a key still down on return counts as newly pressed.
  Active_ = Source_.IsApplicationActive();
  if (!Active_) {
    Clear();
    return;
  }
  for (int index = 0; index < KeyCount; ++index) {
    const bool wasDown = Down_[index];
    const bool down = Source_.IsKeyDown(static_cast<uint8_t>(FirstKey + index));
    Down_[index] = down;
    Held_[index] = wasDown && down;
  }
}

bool TKeyStates::IsDown(uint8_t Key) const { return InRange(Key) && Down_[Key - FirstKey]; }

bool TKeyStates::IsHeld(uint8_t Key) const { return InRange(Key) && Held_[Key - FirstKey]; }

bool TKeyStates::IsPressed(uint8_t Key) const { return IsDown(Key) && !IsHeld(Key); }

bool TKeyStates::AnyPressed() const {
  for (int key = FirstKey; key <= LastKey; ++key) {
    if (IsPressed(static_cast<uint8_t>(key))) return true;
  }
  return false;
}
