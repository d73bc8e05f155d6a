// Where the keyboard state is polled from: the platform's physical key state and the application's focus. A
// gamepad, where the platform has one, answers through the same virtual-key codes.
#pragma once
#include <cstdint>

class TKeySource {
 public:
  virtual ~TKeySource() = default;
  // Called once per frame by the key states, before they poll: a source that records or plays back frames
  // takes its snapshot here.
  virtual void BeginFrame() {}
  // Whether the key with this virtual-key code is down at the moment of the call.
  virtual bool IsKeyDown(uint8_t VirtualKey) const = 0;
  // Whether the application is the active one (one of its windows has the keyboard focus).
  virtual bool IsApplicationActive() const = 0;
  // Whether a gamepad is connected (its buttons then answer for keys, and the title names them).
  virtual bool IsGamepadConnected() const { return false; }
};
