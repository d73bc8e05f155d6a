// Virtual-key codes (those the game samples, 13 to 162, and the others a player may bind a key to) and the SDL
// keys that answer for them.
#pragma once
#include <SDL.h>

#include <array>

// Up to two scancodes per virtual-key code (Enter answers for both Enter keys, Shift for both shifts, ...);
// SDL_SCANCODE_UNKNOWN marks an unused place. Letters and digits follow the keyboard layout, as virtual-key
// codes do, once SDL's video subsystem is up; before that they take their US-layout places.
using TScancodePair = std::array<SDL_Scancode, 2>;
TScancodePair ScancodesForVirtualKey(int Vk);
