#include "GraphicDefs.h"

#include "DGTexture.h"
#include "SXScene.h"
#include "s_MathPack.h"

TSpriteDef::TSpriteDef() = default;

TSpriteDef::~TSpriteDef() { Texture.reset(); }

void TSpriteDef::Draw(const TDrawable* Visible, TSXScene* Scene) { DrawWithColors(Visible, Scene, VertexColors); }

void TSpriteDef::DrawWithColors(const TDrawable* Visible, TSXScene* Scene, const uint32_t (&Colors)[4]) {
  const TDrawPlacement at = Visible->Placement();
  int32_t width = at.OwnSize ? at.Width : Width;
  int32_t height = at.OwnSize ? at.Height : Height;
  float left = static_cast<float>(-static_cast<int64_t>(OriginX));
  float top = static_cast<float>(-static_cast<int64_t>(OriginY));
  float right = static_cast<float>(int64_t{width} - OriginX);
  float bottom = static_cast<float>(int64_t{height} - OriginY);
  // Corners in strip order; the texture holds exactly this sprite, so coordinates span 0 to 1.
  const TSXVertexSP vertices[4] = {
      {left, top, Colors[0], 0, 0.0f, 0.0f},
      {right, top, Colors[1], 0, 1.0f, 0.0f},
      {left, bottom, Colors[2], 0, 0.0f, 1.0f},
      {right, bottom, Colors[3], 0, 1.0f, 1.0f},
  };
  TVector2 position{static_cast<float>(at.X), static_cast<float>(at.Y)};
  Scene->DrawSprite(position, std::span<const TSXVertexSP, 4>(vertices), Texture.get(), BlendMode, false, at.OnTop,
                    0.0f, D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);
}
