#include "UScene.h"

#include <algorithm>
#include <array>

#include "DGTexture.h"
#include "EndingText.h"
#include "Field.h"
#include "GameKeys.h"
#include "KeyStates.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "SXTypes.h"
#include "SceneHelpers.h"
#include "SoundSink.h"
#include "TextEncoding.h"

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
  // The same position gives the same texture: clearing and drawing it again would change nothing.
  const bool redraw = top != drawnTop_;
  if (redraw) {
    for (const RECT& area : textAreas_) TextTexture->Fill(area, 0x00000000, false);
    textAreas_.clear();
    drawnTop_ = top;
  }
  TextWriter()->Font.Name = Jp("ＭＳ Ｐゴシック");
  TextWriter()->Font.SetSize(16);
  int32_t drawn = 0;
  const int32_t count = static_cast<int32_t>(Lines.size());
  for (int32_t i = 0; i < count; ++i) {
    const int32_t y = kFieldHeight + kLinePitch * i;
    if (y <= bottom && y + kLinePitch >= top) {
      if (redraw) {
        const int32_t x = (kFieldWidth - TextWriter()->TextWidth(Lines[i])) / 2;
        TextTexture->TakeWrittenArea();
        TextWriter()->DrawText(x, y - top, *TextTexture, Lines[i]);
        AddTextArea(TextTexture->TakeWrittenArea());
      }
      ++drawn;
    } else if (i == count - 1 && drawn == 0) {
      Finish(0);
      return;
    }
  }
}

void TEndingScene::AddTextArea(const RECT& Written) {
  if (Written.left >= Written.right || Written.top >= Written.bottom) return;
  const LONG width = static_cast<LONG>(TextTexture->Width()), height = static_cast<LONG>(TextTexture->Height());
  RECT area{std::max<LONG>(Written.left - 1, 0), std::max<LONG>(Written.top - 1, 0),
            std::min<LONG>(Written.right + 1, width), std::min<LONG>(Written.bottom + 1, height)};
  // Overlapping quads would blend twice: a rectangle that meets another takes it in, until none meet.
  for (size_t i = 0; i < textAreas_.size();) {
    const RECT& other = textAreas_[i];
    if (other.left < area.right && area.left < other.right && other.top < area.bottom && area.top < other.bottom) {
      area = RECT{std::min(area.left, other.left), std::min(area.top, other.top), std::max(area.right, other.right),
                  std::max(area.bottom, other.bottom)};
      textAreas_.erase(textAreas_.begin() + static_cast<ptrdiff_t>(i));
      i = 0;
    } else {
      ++i;
    }
  }
  textAreas_.push_back(area);
}

void TEndingScene::Render() {
  TCustomScene::Render();
  // The full-screen quad of the text texture, cut to the areas that hold text: each pixel keeps its texture
  // coordinate, so each is sampled, tinted and blended exactly as by the whole quad.
  const uint32_t diffuse = kTextColor | 0xFF000000u;
  const float w = static_cast<float>(TextTexture->Width()), h = static_cast<float>(TextTexture->Height());
  const float u = TextTexture->MaxU() / w, v = TextTexture->MaxV() / h;
  for (const RECT& area : textAreas_) {
    const float l = static_cast<float>(area.left), t = static_cast<float>(area.top);
    const float r = static_cast<float>(area.right), b = static_cast<float>(area.bottom);
    const std::array<TSXVertexSP, 4> corners = {
        TSXVertexSP{l, t, diffuse, 0, l * u, t * v}, TSXVertexSP{r, t, diffuse, 0, r * u, t * v},
        TSXVertexSP{l, b, diffuse, 0, l * u, b * v}, TSXVertexSP{r, b, diffuse, 0, r * u, b * v}};
    SpriteScene()->DrawSprite(TVector2{0.0f, 0.0f}, corners, TextTexture.get(), 2, true, false, 0.0f, D3DTADDRESS_CLAMP,
                              D3DTADDRESS_CLAMP);
  }
}
