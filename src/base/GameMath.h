// Rounding and point geometry shared by the enemies' paths, the scenes and the graphic definitions.
#pragma once
#include <cstdint>

#include "WinTypes.h"

// Rounds half away from zero.
int32_t RoundOff(double X);
// Rounded distance between integer points; the squares are formed in 32-bit integers as the game does.
int32_t PointDistance(const TPoint& A, const TPoint& B);
// Direction from A to B in radians, in (0, 2π]: a point straight to the right gives 2π.
double PointAngle(const TPoint& A, const TPoint& B);
