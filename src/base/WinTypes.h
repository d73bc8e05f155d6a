// Integer point and rectangle of the window system (pixels, y downwards; Right and Bottom exclusive).
#pragma once
#include <cstdint>

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int32_t x, int32_t y) { return TPoint{x, y}; }
inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) { return TRect{left, top, right, bottom}; }
