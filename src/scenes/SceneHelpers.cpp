#include "SceneHelpers.h"

void MakeQuadVertices(const TRect& rect, const std::array<uint32_t, 4>& colors, TSXVertexSPDynArray& vertices) {
  vertices.resize(4);
  const float left = static_cast<float>(rect.Left), top = static_cast<float>(rect.Top);
  const float right = static_cast<float>(rect.Right), bottom = static_cast<float>(rect.Bottom);
  vertices[0] = TSXVertexSP{left, top, colors[0], 0, 0.0f, 0.0f};
  vertices[1] = TSXVertexSP{right, top, colors[1], 0, 1.0f, 0.0f};
  vertices[2] = TSXVertexSP{left, bottom, colors[2], 0, 0.0f, 1.0f};
  vertices[3] = TSXVertexSP{right, bottom, colors[3], 0, 1.0f, 1.0f};
}
