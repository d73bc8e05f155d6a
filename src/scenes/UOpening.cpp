#include "UOpening.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "DGTexture.h"
#include "Field.h"
#include "FileSystem.h"
#include "GameKeys.h"
#include "KeyStates.h"
#include "RasterBitmap.h"
#include "SXScene.h"
#include "SXTypes.h"
#include "SceneHelpers.h"
#include "ScoreBoard.h"
#include "SkinFolders.h"
#include "SoundSink.h"
#include "TextEncoding.h"

namespace {
// Our own notice line (Times New Roman, 14 points).
constexpr const char* kNoticeText = "MORVANTH - a free shoot-'em-up. Skins and stages are data: make your own.";
constexpr const char* kControlsText = "[Z] SHOT [C] POWERUP [ARROW] MOVE";
// With a gamepad connected, its buttons beside the keys.
constexpr const char* kControlsWithPadText = "[Z/A] SHOT [C/B] POWERUP [ARROW/D-PAD] MOVE [START] ENTER";
constexpr int32_t kControlsGap = 8;  // between the high scores and the key help below them
}  // namespace

TOpeningScene::TOpeningScene(TSXScene* SpriteScene, TKeyStates* Keys) : TCustomScene(SpriteScene, Keys) {
  BackColor = 0;
  Complete = false;
  LogoBitmap = std::make_unique<TRasterBitmap>(kLogoWidth, kLogoHeight);
  LogoBitmap->SetPenColor(0xFFFFFF);
  LogoTexture = CreateSceneTexture(Device());
  NoticeTexture = CreateTextTexture(kNoticeText, "Times New Roman", 14);
  PressEnterTexture = CreateTextTexture("PRESS ENTER", Jp("ＭＳ ゴシック"), 20);
  ShowControls(Keys->GamepadConnected());
  if (!ScoreBook.Classic) Board = std::make_unique<TScoreBoard>(*this);
  SelectSkin(0);
  Vectors.clear();
  for (const TLogoStroke& stroke : LogoStrokes()) {
    AddVector(stroke.Points, static_cast<int32_t>(stroke.Points.size()) - 1, stroke.AllInstant);
  }
  RestartDrawing();
  // A game that made the table asks for its name at once, over a finished logo.
  if (Board) {
    if (const std::optional<TPendingScore> pending = ScoreBook.TakePending()) {
      Board->BeginEntry(*pending);
      if (Board->Entering()) SetComplete(true);
    }
  }
}

TOpeningScene::~TOpeningScene() = default;

void TOpeningScene::AddVector(std::span<const TLogoPoint> Points, int32_t SegmentCount, bool AllInstant) {
  TCharVector vector;
  vector.X = Points[0].X;
  vector.Y = Points[0].Y;
  for (int32_t i = 0; i < SegmentCount; ++i) {
    const int32_t dx = Points[i + 1].X - Points[i].X, dy = Points[i + 1].Y - Points[i].Y;
    TVectorSegment segment;
    segment.Length = std::sqrt(static_cast<float>(dx * dx + dy * dy));
    segment.DirX = dx / segment.Length;
    segment.DirY = dy / segment.Length;
    segment.PenWidth = Points[i].W;
    segment.Instant = AllInstant || (dx != 0 && dy != 0);
    vector.Segments.push_back(segment);
  }
  Vectors.push_back(std::move(vector));
}

void TOpeningScene::SetComplete(bool Value) {
  if (Value == Complete) return;
  Complete = Value;
  if (Value) {
    ResetIdle();
  } else {
    FrameCounter = 0;
    RestartDrawing();
  }
}

void TOpeningScene::RestartDrawing() {
  StrokeIndex = 0;
  SegmentIndex = 0;
  Segment = Vectors[0].Segments[0];
  PenX = 0;
  PenY = 0;
  LogoBitmap->FillRect(0, 0, LogoBitmap->Width(), LogoBitmap->Height(), 0x000000);
  LogoBitmap->MoveTo(0, 0);
  LogoBitmap->SetPenWidth(Segment.PenWidth);
  LogoColor = kLogoWhite;
}

void TOpeningScene::SelectSkin(int32_t Delta) {
  // Start-up leaves a listed skin selected; should the list have changed since, an unlisted name falls back to
  // the first skin as at start-up, and with no skin at all the name is only shown, never indexed.
  if (SkinNames.Empty()) {
    SkinTexture = CreateTextTexture("< " + DisplayName(CurrentSkin) + " >", Jp("ＭＳ ゴシック"), 16);
    if (Board) Board->Show(CurrentSkin);
    return;
  }
  int32_t i = std::max(SkinNames.IndexOf(CurrentSkin), 0);
  if (Delta > 0) {
    i = (i + 1 >= SkinNames.Count()) ? 0 : i + 1;
  } else if (Delta < 0) {
    i = (i - 1 < 0) ? SkinNames.Count() - 1 : i - 1;
  }
  CurrentSkin = SkinNames[i];
  SkinTexture.reset();
  SkinTexture = CreateTextTexture("< " + DisplayName(CurrentSkin) + " >", Jp("ＭＳ ゴシック"), 16);
  if (Board) Board->Show(CurrentSkin);
  GameSound().PlayMusic(TMusicTrack{mkTitle, 0});  // the newly chosen skin's title music
}

void TOpeningScene::ShowControls(bool NamePad) {
  ControlsNamePad = NamePad;
  ControlsTexture.reset();
  ControlsTexture = CreateTextTexture(NamePad ? kControlsWithPadText : kControlsText, Jp("ＭＳ ゴシック"), 16);
}

void TOpeningScene::AdvancePen(float Amount) {
  PenX += Segment.DirX * Amount;
  PenY += Segment.DirY * Amount;
  LogoBitmap->LineTo(RoundOff(PenX), RoundOff(PenY));
}

bool TOpeningScene::DrawStep(float Budget) {
  const int32_t strokeCount = static_cast<int32_t>(Vectors.size());
  if (StrokeIndex >= strokeCount) return true;
  while (Budget > 0) {
    if (Segment.Length > Budget && !Segment.Instant) {
      Segment.Length -= Budget;
      AdvancePen(Budget);
      Budget = 0;
    } else {
      AdvancePen(Segment.Length);
      if (!Segment.Instant) Budget -= Segment.Length;
      ++SegmentIndex;
      if (SegmentIndex >= static_cast<int32_t>(Vectors[StrokeIndex].Segments.size())) {
        ++StrokeIndex;
        SegmentIndex = 0;
        if (StrokeIndex >= strokeCount) return true;
        PenX = static_cast<float>(Vectors[StrokeIndex].X);
        PenY = static_cast<float>(Vectors[StrokeIndex].Y);
        LogoBitmap->MoveTo(Vectors[StrokeIndex].X, Vectors[StrokeIndex].Y);
      }
      Segment = Vectors[StrokeIndex].Segments[SegmentIndex];
      LogoBitmap->SetPenWidth(Segment.PenWidth);
    }
  }
  return false;
}

void TOpeningScene::Update() {
  TCustomScene::Update();
  if (Keys()->GamepadConnected() != ControlsNamePad) ShowControls(!ControlsNamePad);
  // While a name is written the arrows, Enter and Escape are the entry's, and the title waits.
  if (Board && Board->Entering()) {
    Board->Update(*Keys());
    ResetIdle();
    return;
  }
  // Only a new press: an Escape still held from the game or the ending that led here does not quit.
  if (Keys()->IsPressed(VK_ESCAPE)) {
    FinishProgram();
    return;
  }
  if (Keys()->IsPressed(VK_RETURN)) {
    if (Complete) {
      GameSound().PlayEffect(seTitleStart);
      Finish(1);
      return;
    }
    SetComplete(true);
  }
  if (Keys()->AnyPressed() && Complete) ResetIdle();
  if (Complete && SkinNames.Count() >= 2) {
    if (Keys()->IsPressed(VK_LEFT)) {
      SelectSkin(-1);
    } else if (Keys()->IsPressed(VK_RIGHT)) {
      SelectSkin(+1);
    }
  }
  if (Complete) {
    --IdleCount;
    if (IdleCount == 0) SetComplete(false);
  }
}

void TOpeningScene::Render() {
  TCustomScene::Render();
  if (!Complete) {
    if (LogoColor == kLogoDark) {
      LogoColor = kLogoGreen;
    } else if (LogoColor == kLogoGreen) {
      LogoColor = kLogoWhite;
    } else {
      LogoColor = kLogoDark;
    }
    if (DrawStep(kDrawBudget)) SetComplete(true);
    LogoTexture->LoadFromBitmap(*LogoBitmap);
  } else {
    if (!DrawStep(0)) {
      while (!DrawStep(kFinishBudget)) {
      }
      LogoTexture->LoadFromBitmap(*LogoBitmap);
    }
    LogoColor = kLogoComplete;
  }

  const float w = static_cast<float>(kLogoScale * static_cast<int32_t>(LogoTexture->Width()));
  const float h = static_cast<float>(kLogoScale * static_cast<int32_t>(LogoTexture->Height()));
  const float u = LogoTexture->MaxU(), v = LogoTexture->MaxV();
  const std::array<TSXVertexSP, 4> corners = {
      TSXVertexSP{0, 0, LogoColor, 0, 0, 0}, TSXVertexSP{w, 0, LogoColor, 0, u, 0},
      TSXVertexSP{0, h, LogoColor, 0, 0, v}, TSXVertexSP{w, h, LogoColor, 0, u, v}};
  SpriteScene()->DrawSprite(TVector2{static_cast<float>(kLogoX), static_cast<float>(kLogoY)}, corners,
                            LogoTexture.get(), 2, false, false, 0.0f, D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);

  if (Complete) {
    const bool entering = Board && Board->Entering();
    DrawCentred(560, 0xFFFFFF, NoticeTexture.get());
    if (!entering) DrawCentred(325, 0xFFFFFF, PressEnterTexture.get());
    DrawCentred(375, 0xFFFFFF, SkinTexture.get());
    // The table takes the key help's place under the selector; the help goes below it.
    DrawCentred(Board ? Board->Bottom() + kControlsGap : 425, 0xA0A0A0, ControlsTexture.get());
    if (Board) Board->Render();
  }
}

void TOpeningScene::DrawCentred(int32_t Y, uint32_t Color, TDGTexture* Texture) {
  const int32_t x = (kFieldWidth - static_cast<int32_t>(Texture->Width())) / 2;
  DrawTexture(x, Y, false, false, Color, Texture);
}
