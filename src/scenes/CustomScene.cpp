#include "CustomScene.h"

#include <array>

#include "DGTexture.h"
#include "KeyStates.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "SXTypes.h"
#include "TextEncoding.h"

TCustomScene::TCustomScene(TSXScene* SpriteScene, TKeyStates* Keys)
    : FDevice(SpriteScene->Device()),
      FSpriteScene(SpriteScene),
      FKeys(Keys),
      FTextWriter(std::make_unique<TSXTextWriter>(FDevice, D3DFMT_A8R8G8B8, 16)) {}

TCustomScene::~TCustomScene() = default;

void TCustomScene::Update() { ++FrameCounter; }

void TCustomScene::Render() { FSpriteScene->Clear(D3DCLEAR_TARGET, BackColor, 1.0f, 0); }

void TCustomScene::Finish(uint8_t Next) {
  FNextScene = Next;
  FFinished = true;
  endsProgram_ = false;
}

void TCustomScene::FinishProgram() {
  FFinished = true;
  endsProgram_ = true;
}

std::unique_ptr<TDGTexture> TCustomScene::CreateTextTexture(const std::string& Text, const std::string& FontName,
                                                            int32_t FontSize) {
  std::unique_ptr<TDGTexture> texture = CreateSceneTexture(FDevice);
  FTextWriter->Font.Name = FontName;
  FTextWriter->Font.SetSize(FontSize);
  FTextWriter->DrawTextTexture(*texture, Text);
  return texture;
}

void TCustomScene::DrawTexture(int32_t X, int32_t Y, bool Overlay, bool Smooth, uint32_t Color, TDGTexture* Texture) {
  const uint32_t diffuse = Color | 0xFF000000u;
  const float w = static_cast<float>(Texture->Width()), h = static_cast<float>(Texture->Height());
  const float u = Texture->MaxU(), v = Texture->MaxV();
  const std::array<TSXVertexSP, 4> corners = {TSXVertexSP{0, 0, diffuse, 0, 0, 0}, TSXVertexSP{w, 0, diffuse, 0, u, 0},
                                              TSXVertexSP{0, h, diffuse, 0, 0, v}, TSXVertexSP{w, h, diffuse, 0, u, v}};
  FSpriteScene->DrawSprite(TVector2{static_cast<float>(X), static_cast<float>(Y)}, corners, Texture, 2, Smooth, Overlay,
                           0.0f, D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);
}
