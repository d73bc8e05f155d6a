// Small helpers shared by the scenes, the enemies and the graphic definitions.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "SXlib9.h"
#include "WinTypes.h"

using TSXVertexSPDynArray = std::vector<TSXVertexSP>;

// Rounds half away from zero.
int32_t RoundOff(double x);
// Rounded distance between integer points; the squares are formed in 32-bit integers as the game does.
int32_t PointDistance(const TPoint& a, const TPoint& b);
// Direction from A to B in radians, in (0, 2π]: a point straight to the right gives 2π.
double PointAngle(const TPoint& a, const TPoint& b);
// Four corners (Left,Top), (Right,Top), (Left,Bottom), (Right,Bottom) with the given diffuse colours,
// specular 0 and texture coordinates spanning the whole texture.
void MakeQuadVertices(const TRect& rect, const std::array<uint32_t, 4>& colors, TSXVertexSPDynArray& vertices);
