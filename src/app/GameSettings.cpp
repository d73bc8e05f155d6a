#include "GameSettings.h"

#include "CommandLine.h"
#include "TextEncoding.h"

TGameSettings ReadGameSettings(const TSettingsFile& File) {
  TGameSettings settings;
  settings.Fullscreen = File.GetBool("fullscreen", settings.Fullscreen);
  settings.Scale = File.GetInt("scale", settings.Scale, 1, kMaxWindowScale);
  settings.IntegerScaling = File.GetBool("integer_scaling", settings.IntegerScaling);
  settings.Smooth = File.GetBool("smooth", settings.Smooth);
  settings.Skin = File.Get("skin").value_or("");
  settings.Volume = File.GetInt("volume", settings.Volume, 0, kMaxVolume);
  settings.Muted = File.GetBool("muted", settings.Muted);
  settings.AutoPause = File.GetBool("autopause", settings.AutoPause);
  return settings;
}

void WriteGameSettings(const TGameSettings& Settings, TSettingsFile& File) {
  File.SetBool("fullscreen", Settings.Fullscreen);
  File.SetInt("scale", Settings.Scale);
  File.SetBool("integer_scaling", Settings.IntegerScaling);
  File.SetBool("smooth", Settings.Smooth);
  if (!Settings.Skin.empty()) File.Set("skin", Settings.Skin);
  File.SetInt("volume", Settings.Volume);
  File.SetBool("muted", Settings.Muted);
  File.SetBool("autopause", Settings.AutoPause);
}
