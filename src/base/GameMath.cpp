#include "GameMath.h"

#include <cmath>
#include <numbers>

int32_t RoundOff(double X) { return static_cast<int32_t>(X >= 0 ? std::trunc(X + 0.5) : std::trunc(X - 0.5)); }

int32_t PointDistance(const TPoint& A, const TPoint& B) {
  // Squares and sum in 32 bits; taken unsigned so that distances beyond the field cannot yield a square root
  // of a negative number. Within the field the result is the same.
  const uint32_t dx = static_cast<uint32_t>(B.X) - static_cast<uint32_t>(A.X);
  const uint32_t dy = static_cast<uint32_t>(B.Y) - static_cast<uint32_t>(A.Y);
  const uint32_t sum = dx * dx + dy * dy;
  return RoundOff(std::sqrt(static_cast<double>(sum)));
}

double PointAngle(const TPoint& A, const TPoint& B) {
  double angle = std::atan2(static_cast<double>(B.Y) - A.Y, static_cast<double>(B.X) - A.X);
  if (angle <= 0) angle += 2 * std::numbers::pi;
  return angle;
}
