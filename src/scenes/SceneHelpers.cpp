#include "SceneHelpers.h"

void MakeQuadVertices(const TRect& Rect, const std::array<uint32_t, 4>& Colors, TSXVertexSPDynArray& Vertices) {
  Vertices.resize(4);
  const float left = static_cast<float>(Rect.Left), top = static_cast<float>(Rect.Top);
  const float right = static_cast<float>(Rect.Right), bottom = static_cast<float>(Rect.Bottom);
  Vertices[0] = TSXVertexSP{left, top, Colors[0], 0, 0.0f, 0.0f};
  Vertices[1] = TSXVertexSP{right, top, Colors[1], 0, 1.0f, 0.0f};
  Vertices[2] = TSXVertexSP{left, bottom, Colors[2], 0, 0.0f, 1.0f};
  Vertices[3] = TSXVertexSP{right, bottom, Colors[3], 0, 1.0f, 1.0f};
}
