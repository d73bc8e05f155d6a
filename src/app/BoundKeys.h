// The binding layer of the input: the game's key codes answered from the keys the player bound to its actions,
// the pads' keys added as they are. Below it the keyboard as it is; above it the recorder and the key states, so a
// recording holds the game's own codes whatever the bindings, and replays the same anywhere.
#pragma once
#include <cstdint>

#include "KeyBindings.h"
#include "KeySource.h"

class TBoundKeys : public TKeySource {
 public:
  // Pads may be null (none). Without Bindings every code answers from the keyboard key of that code: the
  // menus' view of the keyboard. All three must outlive this.
  TBoundKeys(TKeySource& Keyboard, const TKeySource* Pads, const TKeyBindings* Bindings)
      : keyboard_(Keyboard), pads_(Pads), bindings_(Bindings) {}

  void BeginFrame() override { keyboard_.BeginFrame(); }
  // An action's code is down while the key bound to it is (Enter answers for the pause code too, whatever key
  // pause has: it starts the game and leaves a game over). Any other code is its own key, unless that key is
  // bound to an action: then it stands for the action alone.
  bool IsKeyDown(uint8_t VirtualKey) const override;
  bool IsApplicationActive() const override { return keyboard_.IsApplicationActive(); }
  bool IsGamepadConnected() const override { return keyboard_.IsGamepadConnected(); }

 private:
  TKeySource& keyboard_;
  const TKeySource* pads_;
  const TKeyBindings* bindings_;
};
