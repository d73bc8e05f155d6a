#include "GameSettings.h"

#include "CommandLine.h"
#include "TextEncoding.h"

TGameSettings ReadGameSettings(const TSettingsFile& file) {
  TGameSettings settings;
  settings.Fullscreen = file.GetBool("fullscreen", settings.Fullscreen);
  settings.Scale = file.GetInt("scale", settings.Scale, 1, kMaxWindowScale);
  settings.IntegerScaling = file.GetBool("integer_scaling", settings.IntegerScaling);
  settings.Smooth = file.GetBool("smooth", settings.Smooth);
  settings.Skin = file.Get("skin").value_or("");
  settings.Volume = file.GetInt("volume", settings.Volume, 0, kMaxVolume);
  settings.Muted = file.GetBool("muted", settings.Muted);
  settings.AutoPause = file.GetBool("autopause", settings.AutoPause);
  settings.Classic = file.GetBool("classic", settings.Classic);
  return settings;
}

void WriteGameSettings(const TGameSettings& settings, TSettingsFile& file) {
  file.SetBool("fullscreen", settings.Fullscreen);
  file.SetInt("scale", settings.Scale);
  file.SetBool("integer_scaling", settings.IntegerScaling);
  file.SetBool("smooth", settings.Smooth);
  if (!settings.Skin.empty()) file.Set("skin", settings.Skin);
  file.SetInt("volume", settings.Volume);
  file.SetBool("muted", settings.Muted);
  file.SetBool("autopause", settings.AutoPause);
  file.SetBool("classic", settings.Classic);
}
