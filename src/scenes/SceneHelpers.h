// Small helpers shared by the scenes: the geometry of the game, and the corners of a screen rectangle.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "GameMath.h"
#include "SXTypes.h"
#include "WinTypes.h"

using TSXVertexSPDynArray = std::vector<TSXVertexSP>;

// Four corners (Left,Top), (Right,Top), (Left,Bottom), (Right,Bottom) with the given diffuse colours,
// specular 0 and texture coordinates spanning the whole texture.
void MakeQuadVertices(const TRect& Rect, const std::array<uint32_t, 4>& Colors, TSXVertexSPDynArray& Vertices);
