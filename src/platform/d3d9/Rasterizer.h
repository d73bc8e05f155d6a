// Triangle rasteriser of the software Direct3D device, with Direct3D 9's rules: pixel centres at integer
// coordinates, the top-left fill rule, culling by screen winding, attributes from plane equations.
#pragma once
#include <cstdint>
#include "RasterState.h"

// A pre-transformed vertex: screen position, colours and texture coordinates.
struct TRasterVertex {
  float X, Y;
  uint32_t Diffuse, Specular;
  float U, V;
};

class TRasterizer {
 public:
  // Draws a triangle. Reversed: the vertices are in the order of an odd triangle of a strip, whose winding is
  // read the other way round for culling. Vertex positions are snapped to 1/256 pixel.
  static void DrawTriangle(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C, bool Reversed,
                           const TRasterState& State);

  // Draws the two-triangle strip A, B, C, D. A convex quad whose fourth corner lies on the attribute planes of the
  // first three (a sprite) is walked as one polygon, which covers exactly the pixels the two triangles would;
  // any other convex quad, as both triangles at once where it can, with the same pixels.
  static void DrawQuad(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C, const TRasterVertex& D,
                       const TRasterState& State);
};
