#include "SceneHelpers.h"

#include "DGTexture.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "s_MathPack.h"

void MakeQuadVertices(const TRect& Rect, const std::array<uint32_t, 4>& Colors, TSXVertexSPDynArray& Vertices) {
  Vertices.resize(4);
  const float left = static_cast<float>(Rect.Left), top = static_cast<float>(Rect.Top);
  const float right = static_cast<float>(Rect.Right), bottom = static_cast<float>(Rect.Bottom);
  Vertices[0] = TSXVertexSP{left, top, Colors[0], 0, 0.0f, 0.0f};
  Vertices[1] = TSXVertexSP{right, top, Colors[1], 0, 1.0f, 0.0f};
  Vertices[2] = TSXVertexSP{left, bottom, Colors[2], 0, 0.0f, 1.0f};
  Vertices[3] = TSXVertexSP{right, bottom, Colors[3], 0, 1.0f, 1.0f};
}

std::unique_ptr<TDGTexture> MakeTextTexture(TSXTextWriter& Writer, const std::string& Text, const std::string& FontName,
                                            int32_t FontSize) {
  std::unique_ptr<TDGTexture> texture = CreateSceneTexture(Writer.Device());
  Writer.Font.Name = FontName;
  Writer.Font.SetSize(FontSize);
  Writer.DrawTextTexture(*texture, Text);
  return texture;
}

void QueueTexture(TSXScene& Scene, int32_t X, int32_t Y, bool Overlay, bool Smooth, uint32_t Color,
                  TDGTexture* Texture) {
  const uint32_t diffuse = Color | 0xFF000000u;
  const float w = static_cast<float>(Texture->Width()), h = static_cast<float>(Texture->Height());
  const float u = Texture->MaxU(), v = Texture->MaxV();
  const std::array<TSXVertexSP, 4> corners = {TSXVertexSP{0, 0, diffuse, 0, 0, 0}, TSXVertexSP{w, 0, diffuse, 0, u, 0},
                                              TSXVertexSP{0, h, diffuse, 0, 0, v}, TSXVertexSP{w, h, diffuse, 0, u, v}};
  Scene.DrawSprite(TVector2{static_cast<float>(X), static_cast<float>(Y)}, corners, Texture, 2, Smooth, Overlay, 0.0f,
                   D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);
}
