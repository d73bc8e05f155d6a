#include "GameMath.h"

#include <cmath>
#include <numbers>

int32_t RoundOff(double x) { return static_cast<int32_t>(x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5)); }

int32_t PointDistance(const TPoint& a, const TPoint& b) {
  // Squares and sum in 32 bits; taken unsigned so that distances beyond the field cannot yield a square root
  // of a negative number. Within the field the result is the same.
  const uint32_t dx = static_cast<uint32_t>(b.X) - static_cast<uint32_t>(a.X);
  const uint32_t dy = static_cast<uint32_t>(b.Y) - static_cast<uint32_t>(a.Y);
  const uint32_t sum = dx * dx + dy * dy;
  return RoundOff(std::sqrt(static_cast<double>(sum)));
}

double PointAngle(const TPoint& a, const TPoint& b) {
  double angle = std::atan2(static_cast<double>(b.Y) - a.Y, static_cast<double>(b.X) - a.X);
  if (angle <= 0) angle += 2 * std::numbers::pi;
  return angle;
}
