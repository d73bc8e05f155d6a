// The ending: a fixed text scrolling up over black in yellow; Escape or the end of the text returns to the title.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CustomScene.h"
#include "d3d9types.h"

class TEndingScene : public TCustomScene {
 public:
  static constexpr int32_t kLinePitch = 50;
  static constexpr double kSpeed = 0.6, kFastSpeed = 10.0;
  static constexpr uint32_t kTextColor = 0xFFFFFF00;

  TEndingScene(TSXScene* SpriteScene, TKeyStates* Keys);
  ~TEndingScene() override;

  void Update() override;
  void Render() override;

  std::vector<std::string> Lines;
  double Scroll = 0;
  std::unique_ptr<TDGTexture> TextTexture;

 private:
  // The texture is redrawn only when the rounded scroll position moves, and then only where text was: it stays
  // transparent black outside textAreas_, the rectangles its lines were written into, each widened by the pixel
  // that smooth sampling reaches beyond it and merged where they meet. Render shows those rectangles alone; the
  // rest of the full-screen quad would blend transparent texels onto the black screen and change nothing.
  void AddTextArea(const RECT& Written);
  std::vector<RECT> textAreas_;
  int32_t drawnTop_ = INT32_MIN;  // the scroll position the texture holds
};
