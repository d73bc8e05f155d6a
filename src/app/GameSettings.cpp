#include "GameSettings.h"

#include "CommandLine.h"

namespace {
// clang-format off
constexpr TSettingKey kSettingKeys[] = {
    {"fullscreen",      &TGameSettings::Fullscreen},
    {"scale",           &TGameSettings::Scale, 1, kMaxWindowScale},
    {"integer_scaling", &TGameSettings::IntegerScaling},
    {"smooth",          &TGameSettings::Smooth},
    {"skin",            &TGameSettings::Skin},
    {"volume",          &TGameSettings::Volume, 0, kMaxVolume},
    {"muted",           &TGameSettings::Muted},
    {"autopause",       &TGameSettings::AutoPause},
    // 0 or 1, a plain switch here: what it hides (lives, score, high scores) is the business of their screen.
    {"classic",         &TGameSettings::Classic},
};
// clang-format on

template <class... F>
struct TOverloads : F... {
  using F::operator()...;
};
template <class... F>
TOverloads(F...) -> TOverloads<F...>;

void ReadKeys(const TSettingsFile& File, TGameSettings& Settings, std::vector<std::string>* Problems) {
  auto report = [Problems](const std::string& Line) {
    if (Problems != nullptr) Problems->push_back("[" + std::string(kKeysSection) + "] " + Line);
  };
  std::array<uint8_t, kaCount> wanted{};
  for (const TKeyActionInfo& action : kKeyActions) {
    wanted[action.Action] = action.GameKey;
    const std::optional<std::string> name = File.Get(action.SettingName, kKeysSection);
    if (!name) continue;
    const int key = KeyFromName(*name);
    if (key < 0) {
      report(std::string(action.SettingName) + "=" + *name + ": no key of that name, " + action.Label + " stays on " +
             KeyName(action.GameKey));
    } else if (TKeyBindings::Check(action.Action, static_cast<uint8_t>(key)) != brBound) {
      report(std::string(action.SettingName) + "=" + *name + ": the program keeps that key for itself, " +
             action.Label + " stays on " + KeyName(action.GameKey));
    } else {
      wanted[action.Action] = static_cast<uint8_t>(key);
    }
  }
  // Bound one after another over the game's own keys, a swap of two keys would meet itself half-way: the map
  // is checked whole instead.
  if (const std::optional<TKeyBindings> keys = TKeyBindings::FromKeys(wanted)) {
    Settings.Keys = *keys;
  } else {
    report("a key is bound to two actions; every action stays on the game's own key");
  }
}
}  // namespace

std::span<const TSettingKey> SettingKeys() { return kSettingKeys; }

TGameSettings ReadGameSettings(const TSettingsFile& File, std::vector<std::string>* Problems) {
  TGameSettings settings;
  for (const TSettingKey& key : kSettingKeys) {
    std::visit(TOverloads{
                   [&](bool TGameSettings::*Field) { settings.*Field = File.GetBool(key.Name, settings.*Field); },
                   [&](int32_t TGameSettings::*Field) {
                     settings.*Field = File.GetInt(key.Name, settings.*Field, key.Min, key.Max);
                   },
                   [&](std::string TGameSettings::*Field) { settings.*Field = File.Get(key.Name).value_or(""); },
               },
               key.Field);
  }
  ReadKeys(File, settings, Problems);
  return settings;
}

void WriteGameSettings(const TGameSettings& Settings, TSettingsFile& File) {
  for (const TSettingKey& key : kSettingKeys) {
    std::visit(TOverloads{
                   [&](bool TGameSettings::*Field) { File.SetBool(key.Name, Settings.*Field); },
                   [&](int32_t TGameSettings::*Field) { File.SetInt(key.Name, Settings.*Field); },
                   [&](std::string TGameSettings::*Field) {
                     if (!(Settings.*Field).empty()) File.Set(key.Name, Settings.*Field);
                   },
               },
               key.Field);
  }
  for (const TKeyActionInfo& action : kKeyActions) {
    const uint8_t key = Settings.Keys.Key(action.Action);
    if (key != action.GameKey || File.Get(action.SettingName, kKeysSection)) {
      File.Set(action.SettingName, KeyName(key), kKeysSection);
    }
  }
}
