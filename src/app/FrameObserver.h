// What the main form tells whoever watches it after each frame: the frame's number (counted from 0, one per
// idle pass, as the key recorder and the headless runner count) and the scene running after it.
#pragma once
#include <cstdint>

class TCustomScene;

class TFrameObserver {
 public:
  virtual ~TFrameObserver() = default;
  // Scene is null when a failed switch left none.
  virtual void FrameDone(uint32_t Frame, const TCustomScene* Scene) = 0;
};
