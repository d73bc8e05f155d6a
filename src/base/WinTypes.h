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

inline TPoint Point(int32_t X, int32_t Y) { return TPoint{X, Y}; }
inline TRect Rect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) { return TRect{Left, Top, Right, Bottom}; }
