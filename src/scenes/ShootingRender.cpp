// The frame of the game: scrolling background, ship and objects, the power-up meter and the centred messages.
#include <algorithm>
#include <array>

#include "DGTexture.h"
#include "EnemyList.h"
#include "Field.h"
#include "GraphicDefs.h"
#include "PlayerShip.h"
#include "SXScene.h"
#include "SXTypes.h"
#include "ScoreHud.h"
#include "UShooting.h"
#include "Visible.h"
#include "s_MathPack.h"

namespace {

// The background: a 1343 x 671 quad repeating its picture 7 times each way, stepping 2 pixels left per frame
// and starting over every 192 frames.
constexpr float kMapWidth = 1343, kMapHeight = 671, kMapRepeat = 7;
constexpr uint32_t kMapPeriod = 192, kMapStep = 2;

constexpr int32_t kMeterX = 208, kMeterY = 560, kCellWidth = 64, kCellHeight = 16, kCells = 6;
constexpr uint32_t kMeterTop = 0xFFFFFFFF, kMeterBottom = 0xFF808080;

constexpr uint32_t kWhite = 0xFFFFFF, kGameOverColor = 0xFF8000;
constexpr uint32_t kTitleFrames = 100;

constexpr TSXVertexSP Corner(float X, float Y, uint32_t Diffuse, float U, float V) {
  return TSXVertexSP{X, Y, Diffuse, 0, U, V};
}

}  // namespace

void TShootingScene::Render() {
  TCustomScene::Render();
  DrawBackground();
  if (Ship->Energy > 0) Ship->Draw(SpriteScene());
  Drops->DrawAll(SpriteScene());
  ShotList->DrawAll(SpriteScene());
  Explosions->DrawAll(SpriteScene());
  Enemies->DrawAll(SpriteScene());
  EnemyShots->DrawAll(SpriteScene());
  DrawMeter();
  if (Hud) Hud->Draw(Score, std::max(Ship->Lives - 1, 0), Ship->Graphic, FrameCounter);
  if (Paused) DrawCentred(true, kWhite, PauseTexture.get());
  if (State == psGameOver) DrawCentred(false, kGameOverColor, GameOverTexture.get());
  if (State == psStageClear) DrawCentred(false, kWhite, StageClearTexture.get());
  if (StageFrame < kTitleFrames) DrawCentred(false, kWhite, TitleTexture.get());
}

void TShootingScene::DrawBackground() {
  // A map that could not be loaded has no picture: the clear colour stays, rather than a white quad.
  if (MapTexture->Texture() == nullptr) return;
  const uint64_t offset = static_cast<uint64_t>(kMapStep) * (FrameCounter % kMapPeriod);
  const std::array<TSXVertexSP, 4> corners = {Corner(0, 0, 0xFFFFFFFF, 0, 0),
                                              Corner(kMapWidth, 0, 0xFFFFFFFF, kMapRepeat, 0),
                                              Corner(0, kMapHeight, 0xFFFFFFFF, 0, kMapRepeat),
                                              Corner(kMapWidth, kMapHeight, 0xFFFFFFFF, kMapRepeat, kMapRepeat)};
  SpriteScene()->DrawSprite(TVector2{-static_cast<float>(offset), 0.0f}, corners, MapTexture.get(), 2, false, false,
                            1.0f, D3DTADDRESS_WRAP, D3DTADDRESS_WRAP);
}

void TShootingScene::DrawMeter() {
  // Every picture is stretched over its cell and shaded from white at the top to grey at the bottom.
  constexpr float kW = kCellWidth, kH = kCellHeight;
  static constexpr std::array<TSXVertexSP, 4> kCell = {Corner(0, 0, kMeterTop, 0, 0), Corner(kW, 0, kMeterTop, 1, 0),
                                                       Corner(0, kH, kMeterBottom, 0, 1),
                                                       Corner(kW, kH, kMeterBottom, 1, 1)};
  auto quad = [this](int32_t Cell, TGraphicDef* Graphic) {
    // The meter's graphics were checked to be sprites when the game was built.
    TDGTexture* texture = static_cast<TSpriteDef*>(Graphic)->Texture.get();
    const TVector2 at{static_cast<float>(kMeterX + kCellWidth * Cell), static_cast<float>(kMeterY)};
    SpriteScene()->DrawSprite(at, kCell, texture, 2, false, true, 0.0f, D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);
  };
  for (int32_t i = 0; i < kCells; ++i) {
    quad(i, Graphics[i == Ship->Cursor ? giBgPowerUpSelected : giBgPowerUp]);
    if (Ship->CanApply(static_cast<uint8_t>(i))) quad(i, Graphics[i]);
  }
}

void TShootingScene::DrawCentred(bool Smooth, uint32_t Color, TDGTexture* Texture) {
  if (Texture == nullptr) return;
  const int32_t x = (kFieldWidth - static_cast<int32_t>(Texture->Width())) / 2;
  const int32_t y = (kFieldHeight - static_cast<int32_t>(Texture->Height())) / 2;
  DrawTexture(x, y, true, Smooth, Color, Texture);
}
