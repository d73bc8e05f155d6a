// The player's keys: which keyboard key stands for each of the game's seven actions. The game itself reads only
// its own key codes (GameKeys.h); the binding layer of the input answers each action's code from the key bound to
// it, so a rebound game is the same game to everything above the input, recordings included.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "GameKeys.h"

enum TKeyAction : uint8_t { kaFire, kaPowerUp, kaPause, kaLeft, kaUp, kaRight, kaDown, kaCount };

struct TKeyActionInfo {
  TKeyAction Action;
  const char* SettingName;  // its key in the "[keys]" section of the settings file
  const char* Label;        // as the options screen shows it
  uint8_t GameKey;          // the code the game reads for it, and its key until the player binds another
};

inline constexpr TKeyActionInfo kKeyActions[kaCount] = {
    {kaFire, "fire", "FIRE", VK_Z},
    {kaPowerUp, "powerup", "POWER-UP", VK_C},
    {kaPause, "pause", "PAUSE", VK_RETURN},
    {kaLeft, "left", "LEFT", VK_LEFT},
    {kaUp, "up", "UP", VK_UP},
    {kaRight, "right", "RIGHT", VK_RIGHT},
    {kaDown, "down", "DOWN", VK_DOWN},
};

// Keys by name, as the settings file writes them and the options screen shows them: virtual-key codes the
// keyboard layer knows. Where a key has a generic and a sided code (SHIFT and LSHIFT), the sided one comes first,
// so that a key pressed to be bound is taken as the sided one.
struct TKeyNameEntry {
  uint8_t Key;
  const char* Name;
};
std::span<const TKeyNameEntry> KeyNames();
// The name of Key; nullptr for a code without one.
const char* KeyName(uint8_t Key);
// The code of a name (any letter case); -1 for a name that is not in the table.
int KeyFromName(std::string_view Name);

enum TBindResult : uint8_t {
  brBound,     // done (or it was bound so already)
  brTaken,     // another action has that key; nothing changed
  brReserved,  // the key belongs to the program (Escape, Tab, the volume and fullscreen keys, Enter)
  brUnknown,   // a code without a name: no key the keyboard layer can read
};

class TKeyBindings {
 public:
  // Every action on its own game key.
  TKeyBindings();
  // Keys indexed by action; none when one of them could not be bound (Check) or two actions share one.
  static std::optional<TKeyBindings> FromKeys(const std::array<uint8_t, kaCount>& Keys);

  uint8_t Key(TKeyAction Action) const { return keys_[Action]; }
  // The action whose key Key is; kaCount for none.
  TKeyAction ActionOfKey(uint8_t Key) const;
  // Binds Action to Key unless the key is reserved, unknown or another action's. Enter stays the pause key's
  // alone: it always answers for the game's Enter, so it can be bound to no other action.
  TBindResult Bind(TKeyAction Action, uint8_t Key);
  // What Bind would answer if no other action had a key: brBound, brReserved or brUnknown.
  static TBindResult Check(TKeyAction Action, uint8_t Key);
  // Keys Escape, Tab, F7, F8, F9 and F11, which the program keeps for itself.
  static bool IsReserved(uint8_t Key);
  void Reset() { *this = TKeyBindings(); }

  bool operator==(const TKeyBindings&) const = default;

 private:
  std::array<uint8_t, kaCount> keys_{};
};
