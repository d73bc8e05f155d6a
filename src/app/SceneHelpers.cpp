#include "SceneHelpers.h"

#include <cmath>
#include <numbers>

int32_t RoundOff(double x) {
  return static_cast<int32_t>(x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5));
}

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

void MakeQuadVertices(const TRect& rect, const std::array<uint32_t, 4>& colors, TSXVertexSPDynArray& vertices) {
  vertices.resize(4);
  const float left = static_cast<float>(rect.Left), top = static_cast<float>(rect.Top);
  const float right = static_cast<float>(rect.Right), bottom = static_cast<float>(rect.Bottom);
  vertices[0] = TSXVertexSP{left, top, colors[0], 0, 0.0f, 0.0f};
  vertices[1] = TSXVertexSP{right, top, colors[1], 0, 1.0f, 0.0f};
  vertices[2] = TSXVertexSP{left, bottom, colors[2], 0, 0.0f, 1.0f};
  vertices[3] = TSXVertexSP{right, bottom, colors[3], 0, 1.0f, 1.0f};
}
