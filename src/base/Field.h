// The playing field: the window's client area, in pixels, that every scene draws on and the ship moves in.
#pragma once
#include <cstdint>

inline constexpr int32_t kFieldWidth = 800;
inline constexpr int32_t kFieldHeight = 600;
