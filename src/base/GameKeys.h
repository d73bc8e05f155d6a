// The virtual-key codes the game reads: the keyboard's part of its vocabulary, shared by the scenes, the ship,
// the key-state poller, the platform's key table and the replay scripts.
#pragma once
#include <cstdint>

// Not the game's but the program's: Tab opens the options on the title. Outside the range the game samples.
inline constexpr uint8_t VK_TAB = 9;
inline constexpr uint8_t VK_RETURN = 13;
inline constexpr uint8_t VK_ESCAPE = 27;
inline constexpr uint8_t VK_LEFT = 37;
inline constexpr uint8_t VK_UP = 38;
inline constexpr uint8_t VK_RIGHT = 39;
inline constexpr uint8_t VK_DOWN = 40;
inline constexpr uint8_t VK_C = 67;
inline constexpr uint8_t VK_Z = 90;
inline constexpr uint8_t VK_LCONTROL = 162;
