#include "KeyBindings.h"

#include <algorithm>

namespace {
constexpr uint8_t kF7 = 0x76, kF8 = 0x77, kF9 = 0x78, kF11 = 0x7A;

// Arrows and the keys around them first, then letters, digits, the numeric keypad, the function keys and the
// rest. The keys after the digits are those of a US layout's places.
// clang-format off
constexpr TKeyNameEntry kKeyNames[] = {
    {VK_LEFT, "LEFT"}, {VK_UP, "UP"}, {VK_RIGHT, "RIGHT"}, {VK_DOWN, "DOWN"}, {0x20, "SPACE"}, {VK_RETURN, "ENTER"},
    {VK_ESCAPE, "ESC"}, {VK_TAB, "TAB"}, {0x08, "BACKSPACE"}, {0xA0, "LSHIFT"}, {0xA1, "RSHIFT"}, {0x10, "SHIFT"},
    {VK_LCONTROL, "LCTRL"}, {0xA3, "RCTRL"}, {0x11, "CTRL"}, {0xA4, "LALT"}, {0xA5, "RALT"}, {0x12, "ALT"},
    {'A', "A"}, {'B', "B"}, {'C', "C"}, {'D', "D"}, {'E', "E"}, {'F', "F"}, {'G', "G"}, {'H', "H"}, {'I', "I"},
    {'J', "J"}, {'K', "K"}, {'L', "L"}, {'M', "M"}, {'N', "N"}, {'O', "O"}, {'P', "P"}, {'Q', "Q"}, {'R', "R"},
    {'S', "S"}, {'T', "T"}, {'U', "U"}, {'V', "V"}, {'W', "W"}, {'X', "X"}, {'Y', "Y"}, {'Z', "Z"}, {'0', "0"},
    {'1', "1"}, {'2', "2"}, {'3', "3"}, {'4', "4"}, {'5', "5"}, {'6', "6"}, {'7', "7"}, {'8', "8"}, {'9', "9"},
    {0x60, "NUMPAD0"}, {0x61, "NUMPAD1"}, {0x62, "NUMPAD2"}, {0x63, "NUMPAD3"}, {0x64, "NUMPAD4"}, {0x65, "NUMPAD5"},
    {0x66, "NUMPAD6"}, {0x67, "NUMPAD7"}, {0x68, "NUMPAD8"}, {0x69, "NUMPAD9"}, {0x6A, "MULTIPLY"}, {0x6B, "ADD"},
    {0x6D, "SUBTRACT"}, {0x6E, "DECIMAL"}, {0x6F, "DIVIDE"}, {0x70, "F1"}, {0x71, "F2"}, {0x72, "F3"}, {0x73, "F4"},
    {0x74, "F5"}, {0x75, "F6"}, {0x76, "F7"}, {0x77, "F8"}, {0x78, "F9"}, {0x79, "F10"}, {0x7A, "F11"},
    {0x7B, "F12"}, {0x7C, "F13"}, {0x7D, "F14"}, {0x7E, "F15"}, {0x7F, "F16"}, {0x80, "F17"}, {0x81, "F18"},
    {0x82, "F19"}, {0x83, "F20"}, {0x84, "F21"}, {0x85, "F22"}, {0x86, "F23"}, {0x87, "F24"}, {0x2D, "INSERT"},
    {0x2E, "DELETE"}, {0x24, "HOME"}, {0x23, "END"}, {0x21, "PAGEUP"}, {0x22, "PAGEDOWN"}, {0x13, "PAUSEBREAK"},
    {0x14, "CAPSLOCK"}, {0x90, "NUMLOCK"}, {0x91, "SCROLLLOCK"}, {0xBA, "SEMICOLON"}, {0xBB, "EQUALS"},
    {0xBC, "COMMA"}, {0xBD, "MINUS"}, {0xBE, "PERIOD"}, {0xBF, "SLASH"}, {0xC0, "GRAVE"}, {0xDB, "LBRACKET"},
    {0xDC, "BACKSLASH"}, {0xDD, "RBRACKET"}, {0xDE, "APOSTROPHE"}
};
// clang-format on

constexpr std::array<const char*, 256> NamesByKey() {
  std::array<const char*, 256> names{};
  for (const TKeyNameEntry& entry : kKeyNames) names[entry.Key] = entry.Name;
  return names;
}
constexpr std::array<const char*, 256> kNamesByKey = NamesByKey();

char Upper(char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 32) : C; }
}  // namespace

std::span<const TKeyNameEntry> KeyNames() { return kKeyNames; }

const char* KeyName(uint8_t Key) { return kNamesByKey[Key]; }

int KeyFromName(std::string_view Name) {
  for (const TKeyNameEntry& entry : kKeyNames) {
    const std::string_view name = entry.Name;
    if (name.size() == Name.size() &&
        std::equal(name.begin(), name.end(), Name.begin(), [](char A, char B) { return A == Upper(B); })) {
      return entry.Key;
    }
  }
  return -1;
}

TKeyBindings::TKeyBindings() {
  for (const TKeyActionInfo& action : kKeyActions) keys_[action.Action] = action.GameKey;
}

TKeyAction TKeyBindings::ActionOfKey(uint8_t Key) const {
  for (int action = 0; action < kaCount; ++action) {
    if (keys_[action] == Key) return static_cast<TKeyAction>(action);
  }
  return kaCount;
}

bool TKeyBindings::IsReserved(uint8_t Key) {
  return Key == VK_ESCAPE || Key == VK_TAB || Key == kF7 || Key == kF8 || Key == kF9 || Key == kF11;
}

std::optional<TKeyBindings> TKeyBindings::FromKeys(const std::array<uint8_t, kaCount>& Keys) {
  TKeyBindings bindings;
  for (int action = 0; action < kaCount; ++action) {
    if (Check(static_cast<TKeyAction>(action), Keys[action]) != brBound) return std::nullopt;
    for (int other = 0; other < action; ++other) {
      if (Keys[other] == Keys[action]) return std::nullopt;
    }
  }
  bindings.keys_ = Keys;
  return bindings;
}

TBindResult TKeyBindings::Check(TKeyAction Action, uint8_t Key) {
  if (KeyName(Key) == nullptr) return brUnknown;
  if (IsReserved(Key) || (Key == VK_RETURN && Action != kaPause)) return brReserved;
  return brBound;
}

TBindResult TKeyBindings::Bind(TKeyAction Action, uint8_t Key) {
  if (const TBindResult check = Check(Action, Key); check != brBound) return check;
  const TKeyAction owner = ActionOfKey(Key);
  if (owner != kaCount && owner != Action) return brTaken;
  keys_[Action] = Key;
  return brBound;
}
