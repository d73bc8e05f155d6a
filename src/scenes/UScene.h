// The ending: a fixed text scrolling up over black in yellow; Escape or the end of the text returns to the title.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "CustomScene.h"

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
};
