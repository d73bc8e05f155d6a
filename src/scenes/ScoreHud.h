// What a game shows beyond the design's screen: the score at the top left and, at the bottom left, the skin's
// ship drawn small (no larger than a meter cell is high) once for every ship in reserve. Every texture is made when the
// game starts (the score's digits are cut from one strip), so drawing a frame allocates nothing.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

class TCustomScene;
class TDGTexture;
class TGraphicDef;

class TScoreHud {
 public:
  static constexpr int32_t kScoreX = 8, kScoreY = 4;
  static constexpr int32_t kLivesX = 8, kLivesY = 560;  // beside the power-up meter, in its row
  static constexpr int32_t kIconHeight = 16, kIconMaxWidth = 48, kIconGap = 4;
  // The row ends left of the power-up meter (x 208) even at the widest icon; a game starts with two in reserve.
  static constexpr int32_t kMaxIcons = 3;
  static constexpr uint32_t kScoreColor = 0xFFFFFF, kLabelColor = 0xA0A0A0;

  // Makes the textures through Scene's text writer; Scene queues the drawing.
  explicit TScoreHud(TCustomScene& Scene);
  ~TScoreHud();
  TScoreHud(const TScoreHud&) = delete;
  TScoreHud& operator=(const TScoreHud&) = delete;

  // Queues the score and Reserve small ships (Ship's picture at Elapsed, for an animated ship) on the overlay.
  void Draw(uint32_t Score, int32_t Reserve, TGraphicDef* Ship, uint32_t Elapsed);
  // The icon's size for a ship picture of Width x Height: at most kIconHeight high and kIconMaxWidth wide, the
  // aspect kept, never enlarged and never below a pixel.
  static void IconSize(int32_t Width, int32_t Height, int32_t& IconWidth, int32_t& IconHeight);

 private:
  void DrawNumber(uint32_t Value, int32_t X, int32_t Y);
  void DrawLives(int32_t Reserve, TGraphicDef* Ship, uint32_t Elapsed);

  TCustomScene& scene_;
  std::unique_ptr<TDGTexture> label_, digits_;
  std::array<int32_t, 11> digitX_{};  // where each digit starts in the strip; [10] is where the last one ends
};
