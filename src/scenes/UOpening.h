// The title screen: the line-drawn logo growing a few pixels per frame, then the texts and the skin selector.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "CustomScene.h"
#include "Field.h"
#include "LogoTable.h"

class TRasterBitmap;
class TScoreBoard;

// One segment of a logo stroke.
struct TVectorSegment {
  float DirX = 0, DirY = 0;  // unit direction
  float Length = 0;          // pixels; the working copy counts down while it is drawn
  int32_t PenWidth = 1;
  bool Instant = false;  // drawn whole when reached, using none of the budget
};

// One logo stroke: start point and segments.
struct TCharVector {
  int32_t X = 0, Y = 0;
  std::vector<TVectorSegment> Segments;
};

class TOpeningScene : public TCustomScene {
 public:
  static constexpr float kDrawBudget = 5.0f;  // progressive pixels per rendered frame
  static constexpr float kFinishBudget = 1000.0f;
  static constexpr int32_t kIdleFrames = 590;
  static constexpr int32_t kLogoScale = 3;
  static constexpr int32_t kLogoX = (kFieldWidth - kLogoScale * kLogoWidth) / 2;
  static constexpr int32_t kLogoY = (kFieldHeight - kLogoScale * kLogoHeight) / 4;
  static constexpr uint32_t kLogoDark = 0xFF008000, kLogoGreen = 0xFF00FF00, kLogoWhite = 0xFFFFFFFF;
  static constexpr uint32_t kLogoComplete = 0xFFFF0000;

  TOpeningScene(TSXScene* SpriteScene, TKeyStates* Keys);
  ~TOpeningScene() override;

  void Update() override;
  void Render() override;
  // Once the logo is complete: a complete title draws the same picture every frame, so it may stand still
  // under the options for any number of frames and go on exactly where it stopped.
  bool OffersOptions() const override { return Complete; }

  void SetComplete(bool Value);
  void ResetIdle() { IdleCount = kIdleFrames; }
  void RestartDrawing();
  void SelectSkin(int32_t Delta);
  // Makes the key help line, naming the gamepad's buttons too when NamePad is set.
  void ShowControls(bool NamePad);
  // Draws up to Budget pixels of progressive length; true when the whole logo is drawn.
  bool DrawStep(float Budget);

  bool Complete = false;
  int32_t IdleCount = 0;
  std::vector<TCharVector> Vectors;
  uint32_t LogoColor = 0;
  int32_t StrokeIndex = 0;
  TVectorSegment Segment;
  int32_t SegmentIndex = 0;
  float PenX = 0, PenY = 0;
  std::unique_ptr<TRasterBitmap> LogoBitmap;
  std::unique_ptr<TDGTexture> LogoTexture, NoticeTexture, PressEnterTexture, ControlsTexture, SkinTexture;
  bool ControlsNamePad = false;        // the help line names the gamepad's buttons (one is connected)
  std::unique_ptr<TScoreBoard> Board;  // the high scores; none on the design's own (classic) screen

 private:
  void AddVector(std::span<const TLogoPoint> Points, int32_t SegmentCount, bool AllInstant);
  void AdvancePen(float Amount);
  void DrawCentred(int32_t Y, uint32_t Color, TDGTexture* Texture);
};
