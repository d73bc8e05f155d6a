// What the main form tells whoever watches it after each frame: the frame's number (counted from 0, one per
// idle pass, as the headless runner counts; the key recorder counts the same but for the frames an options screen
// held), the scene running after it and the options screen (null when there is none).
#pragma once
#include <cstdint>

class TCustomScene;
class TOptionsScreen;

class TFrameObserver {
 public:
  virtual ~TFrameObserver() = default;
  // Scene is null when a failed switch left none.
  virtual void FrameDone(uint32_t Frame, const TCustomScene* Scene, const TOptionsScreen* Options) = 0;
};
