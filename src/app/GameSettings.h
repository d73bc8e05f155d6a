// What the game remembers between runs, in "settings.ini" in its settings folder: the window (fullscreen,
// scale, picture scaling), the sound's volume, the skin last chosen on the title, a few choices of play and the
// player's keys (a "[keys]" section). A new setting is one field here and one row of SettingKeys.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "KeyBindings.h"
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
  // The design's screen exactly as it was: no lives, score or high scores. Only remembered here; the screen
  // that shows them reads it.
  bool Classic = false;
  TKeyBindings Keys;  // the "[keys]" section

  bool operator==(const TGameSettings&) const = default;
};

inline constexpr const char* kSettingsFileName = "settings.ini";
inline constexpr const char* kKeysSection = "keys";

// One key of the file's main part and the field it fills. Numbers are read within [Min, Max]; a text is written
// only once it is not empty.
struct TSettingKey {
  std::string_view Name;
  std::variant<bool TGameSettings::*, int32_t TGameSettings::*, std::string TGameSettings::*> Field;
  int32_t Min = 0, Max = 0;
};
std::span<const TSettingKey> SettingKeys();

// Known keys with a value out of place read as their defaults. In "[keys]", a key name the table of names does
// not know leaves that action's key as it was, and keys that would end up bound twice leave every key as it
// was; each such problem is added to Problems (when given), one line each.
TGameSettings ReadGameSettings(const TSettingsFile& File, std::vector<std::string>* Problems = nullptr);
// Sets every known key (the skin once one is chosen), leaving the others as they are. An action's key is
// written once it differs from the game's own or the file names it already, so a player who never rebinds
// gets no "[keys]" section.
void WriteGameSettings(const TGameSettings& Settings, TSettingsFile& File);
