#include "SceneState.h"

#include <cstdio>

#include "CustomScene.h"
#include "UOpening.h"
#include "UScene.h"

int SceneNumberOf(const TCustomScene* scene) {
  if (dynamic_cast<const TOpeningScene*>(scene)) return 0;
  if (dynamic_cast<const TEndingScene*>(scene)) return 2;
  return -1;
}

std::string DescribeSceneState(uint32_t frame, const TCustomScene* scene) {
  std::string json = "{\"frame\":" + std::to_string(frame) + ",\"scene\":" + std::to_string(SceneNumberOf(scene));
  if (scene == nullptr) return json + "}";
  json += ",\"sceneFrame\":" + std::to_string(scene->FrameCounter);
  if (const auto* title = dynamic_cast<const TOpeningScene*>(scene)) {
    json += std::string(",\"complete\":") + (title->Complete ? "true" : "false");
    json += ",\"idleCount\":" + std::to_string(title->IdleCount);
    json += ",\"strokeIndex\":" + std::to_string(title->StrokeIndex);
    json += ",\"logoColor\":" + std::to_string(title->LogoColor);
  } else if (const auto* ending = dynamic_cast<const TEndingScene*>(scene)) {
    char scroll[32];
    std::snprintf(scroll, sizeof scroll, "%.1f", ending->Scroll);
    json += std::string(",\"scroll\":") + scroll;
  }
  return json + "}";
}
