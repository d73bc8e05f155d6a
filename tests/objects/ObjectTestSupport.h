// Test doubles for the game objects: a graphic definition that records what it is asked to draw, and a
// keyboard whose keys the test holds down frame by frame.
#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "GameKeys.h"
#include "GraphicDefs.h"
#include "KeySource.h"
#include "KeyStates.h"

namespace objtest {

class TRecordingGraphic : public TGraphicDef {
 public:
  TRecordingGraphic(int32_t W, int32_t H, TRect Hit) {
    Width = W;
    Height = H;
    HitArea = Hit;
  }
  void Draw(const TDrawable* Visible, TSXScene*) override { Drawn.push_back(Visible); }
  std::vector<const TDrawable*> Drawn;
};

class THeldKeys : public TKeySource {
 public:
  void Hold(std::initializer_list<uint8_t> Keys) {
    down_.fill(false);
    for (uint8_t key : Keys) down_[key] = true;
  }
  bool IsKeyDown(uint8_t VirtualKey) const override { return down_[VirtualKey]; }
  bool IsApplicationActive() const override { return true; }

 private:
  std::array<bool, 256> down_{};
};

// Virtual-key codes the ship reads.
constexpr uint8_t kVkLeft = VK_LEFT, kVkUp = VK_UP, kVkRight = VK_RIGHT, kVkDown = VK_DOWN, kVkZ = VK_Z, kVkC = VK_C;

}  // namespace objtest
