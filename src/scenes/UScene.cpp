#include "UScene.h"

#include "EndingText.h"
#include "Field.h"
#include "GameKeys.h"
#include "KeyStates.h"
#include "SXlib9.h"
#include "SceneHelpers.h"
#include "SoundSink.h"
#include "TextEncoding.h"
#include "VUDader9.h"

TEndingScene::TEndingScene(TSXScene* SpriteScene, TKeyStates* Keys) : TCustomScene(SpriteScene, Keys) {
  BackColor = 0;
  TextTexture = CreateSceneTexture(Device());
  TextTexture->SetSize(kFieldWidth, kFieldHeight);
  Lines = SplitLines(EndingText());
  Scroll = 0;
  GameSound().PlayMusic(TMusicTrack{mkEnding, 0});
}

TEndingScene::~TEndingScene() = default;

void TEndingScene::Update() {
  TCustomScene::Update();
  double speed = kSpeed;
  if (Keys()->IsDown(VK_ESCAPE)) {
    Finish(0);
    return;
  }
  if (Keys()->IsDown(VK_LCONTROL)) speed = kFastSpeed;
  Scroll += speed;
  const int32_t top = RoundOff(Scroll);
  const int32_t bottom = top + kFieldHeight;
  TextTexture->Fill(RECT{0, 0, static_cast<LONG>(TextTexture->Width()), static_cast<LONG>(TextTexture->Height())},
                    0x00000000, false);
  TextWriter()->Font.Name = Jp("ＭＳ Ｐゴシック");
  TextWriter()->Font.SetSize(16);
  int32_t drawn = 0;
  const int32_t count = static_cast<int32_t>(Lines.size());
  for (int32_t i = 0; i < count; ++i) {
    const int32_t y = kFieldHeight + kLinePitch * i;
    if (y <= bottom && y + kLinePitch >= top) {
      const int32_t x = (kFieldWidth - TextWriter()->TextWidth(Lines[i])) / 2;
      TextWriter()->DrawText(x, y - top, *TextTexture, Lines[i]);
      ++drawn;
    } else if (i == count - 1 && drawn == 0) {
      Finish(0);
      return;
    }
  }
}

void TEndingScene::Render() {
  TCustomScene::Render();
  DrawTexture(0, 0, false, true, kTextColor, TextTexture.get());
}
