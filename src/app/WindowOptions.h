// The options of the game in its window: fullscreen, scale and smoothing act on the window, volume and mute on
// the sound, and every change is saved at once. F11, F7, F8 and F9 change some of them behind the screen's back,
// so those are read from the window and the sound themselves.
#pragma once
#include <functional>

#include "GameOptions.h"

class TSdlWindow;
class TSkinSound;

class TWindowOptions : public TGameOptions {
 public:
  using TSave = std::function<void(const TGameSettings& Settings)>;

  // Everything given must outlive this.
  TWindowOptions(TGameSettings& Settings, TKeySource& MenuKeys, TSdlWindow& Window, TSkinSound& Sound, TSave Save)
      : TGameOptions(Settings, MenuKeys), window_(Window), sound_(Sound), save_(std::move(Save)) {}

  int32_t Value(TOptionId Option) const override;

 protected:
  void Apply(TOptionId Option) override;
  void Changed() override;

 private:
  TSdlWindow& window_;
  TSkinSound& sound_;
  TSave save_;
};
