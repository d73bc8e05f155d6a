#include "CustomScene.h"

#include <array>

#include "DGTexture.h"
#include "KeyStates.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "SXTypes.h"
#include "SceneHelpers.h"
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
  return MakeTextTexture(*FTextWriter, Text, FontName, FontSize);
}

void TCustomScene::DrawTexture(int32_t X, int32_t Y, bool Overlay, bool Smooth, uint32_t Color, TDGTexture* Texture) {
  QueueTexture(*FSpriteScene, X, Y, Overlay, Smooth, Color, Texture);
}
