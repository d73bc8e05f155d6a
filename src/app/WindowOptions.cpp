#include "WindowOptions.h"

#include "SdlWindow.h"
#include "SkinSound.h"

int32_t TWindowOptions::Value(TOptionId Option) const {
  switch (Option) {
    case oiFullscreen: return window_.IsFullscreen() ? 1 : 0;
    case oiScale: return window_.Scale();
    case oiSmooth: return window_.Smooth() ? 1 : 0;
    case oiVolume: return sound_.Volume();
    case oiMuted: return sound_.Muted() ? 1 : 0;
    default: return TGameOptions::Value(Option);
  }
}

void TWindowOptions::Apply(TOptionId Option) {
  TGameSettings& settings = Settings();
  switch (Option) {
    case oiFullscreen:
      if (window_.IsFullscreen() != settings.Fullscreen) window_.ToggleFullscreen();
      break;
    case oiScale: {
      const int32_t wanted = settings.Scale;
      window_.SetScale(wanted);
      // The window lowers a scale the screen cannot hold; what is remembered is what the player sees.
      if (window_.Scale() != wanted) settings.Scale = window_.Scale();
      break;
    }
    case oiSmooth:
      if (!window_.SetSmooth(settings.Smooth)) settings.Smooth = window_.Smooth();
      break;
    case oiVolume: sound_.SetVolume(settings.Volume); break;
    case oiMuted: sound_.SetMuted(settings.Muted); break;
    default: break;
  }
}

void TWindowOptions::Changed() {
  // What F11 and the volume keys did meanwhile is the player's choice too.
  TGameSettings& settings = Settings();
  settings.Fullscreen = window_.IsFullscreen();
  settings.Volume = sound_.Volume();
  settings.Muted = sound_.Muted();
  save_(settings);
}
