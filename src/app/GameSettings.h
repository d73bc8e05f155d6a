// What the game remembers between runs, in "settings.ini" in its settings folder: the window (fullscreen,
// scale, picture scaling), the sound's volume and the skin last chosen on the title. A new setting is one field here
// and one line in each of the two functions below.
#pragma once
#include <cstdint>
#include <string>

#include "SettingsFile.h"

struct TGameSettings {
  bool Fullscreen = false;
  int32_t Scale = 1;           // the window's size as a multiple of the game's
  bool IntegerScaling = true;  // whole multiples of the picture whenever one fits
  bool Smooth = false;         // linear filtering instead of nearest-neighbour
  std::string Skin;            // the skin folder's name as the file system spells it; "" for the game's own choice
  int32_t Volume = 100;        // 0 to 100
  bool Muted = false;
  bool AutoPause = true;  // a game pauses when the window loses the focus

  bool operator==(const TGameSettings&) const = default;
};

inline constexpr const char* kSettingsFileName = "settings.ini";

// Known keys with a value out of place read as their defaults.
TGameSettings ReadGameSettings(const TSettingsFile& File);
// Sets every known key (the skin once one is chosen), leaving the others as they are.
void WriteGameSettings(const TGameSettings& Settings, TSettingsFile& File);
