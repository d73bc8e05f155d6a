// Which virtual keys a gamepad holds down: the buttons and the left stick of SDL's game-controller layout
// (Xbox names) translated to the keys the game reads.
#pragma once
#include <SDL.h>

#include <array>
#include <cstdint>

// One pad at one moment: its buttons (bit b set while SDL_GameControllerButton b is down) and its left stick
// (SDL's axis values, -32768..32767, negative Y pointing up).
struct TPadReading {
  uint32_t Buttons = 0;
  int16_t LeftX = 0, LeftY = 0;
};

// Stick deflections within this radius are rest: worn sticks never quite centre.
inline constexpr int32_t kStickDeadZone = 10000;

// Sets the virtual keys the pad holds in Down (never clears one, so several pads add up): d-pad and stick
// steer with the arrows (the stick in eight 45-degree sectors), A fires (Z), B or X buys the power-up (C),
// Start is Enter, Back is Escape and either shoulder button is left Ctrl.
void AddPadKeys(const TPadReading& Pad, std::array<bool, 256>& Down);
// The same for menus (the options screen): d-pad and stick are the arrows, A and Start are Enter, B and Back
// are Escape, Y is Tab.
void AddPadMenuKeys(const TPadReading& Pad, std::array<bool, 256>& Down);
