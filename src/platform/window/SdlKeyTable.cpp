#include "SdlKeyTable.h"

namespace {
constexpr SDL_Scancode kNone = SDL_SCANCODE_UNKNOWN;

TScancodePair One(SDL_Scancode A) { return {A, kNone}; }
TScancodePair Two(SDL_Scancode A, SDL_Scancode B) { return {A, B}; }
// A key named by the character it types in the current layout; where the layout is not known (SDL's keyboard is
// not set up yet) or has no such key, the key in that place of the US layout.
TScancodePair ByKeycode(SDL_Keycode Key, SDL_Scancode UsPlace) {
  const SDL_Scancode code = SDL_GetScancodeFromKey(Key);
  return One(code != SDL_SCANCODE_UNKNOWN ? code : UsPlace);
}
}  // namespace

TScancodePair ScancodesForVirtualKey(int Vk) {
  if (Vk >= 'A' && Vk <= 'Z') {
    return ByKeycode(SDLK_a + (Vk - 'A'), static_cast<SDL_Scancode>(SDL_SCANCODE_A + (Vk - 'A')));
  }
  if (Vk >= '0' && Vk <= '9') {
    return ByKeycode(SDLK_0 + (Vk - '0'),
                     Vk == '0' ? SDL_SCANCODE_0 : static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (Vk - '1')));
  }
  if (Vk >= 0x60 && Vk <= 0x69) {  // VK_NUMPAD0..VK_NUMPAD9
    return One(Vk == 0x60 ? SDL_SCANCODE_KP_0 : static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + (Vk - 0x61)));
  }
  if (Vk >= 0x70 && Vk <= 0x7B) return One(static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (Vk - 0x70)));   // F1..F12
  if (Vk >= 0x7C && Vk <= 0x87) return One(static_cast<SDL_Scancode>(SDL_SCANCODE_F13 + (Vk - 0x7C)));  // F13..F24
  switch (Vk) {
    case 0x08: return One(SDL_SCANCODE_BACKSPACE);
    case 0x09: return One(SDL_SCANCODE_TAB);
    case 0x0D: return Two(SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER);  // VK_RETURN
    case 0x10: return Two(SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT);    // VK_SHIFT
    case 0x11: return Two(SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL);      // VK_CONTROL
    case 0x12: return Two(SDL_SCANCODE_LALT, SDL_SCANCODE_RALT);        // VK_MENU
    case 0x13: return One(SDL_SCANCODE_PAUSE);
    case 0x14: return One(SDL_SCANCODE_CAPSLOCK);
    // Japanese and Korean input keys: Kana (or Hangul), Kanji (Zenkaku/Hankaku, or Hanja), Convert, Nonconvert,
    // mode change.
    case 0x15: return Two(SDL_SCANCODE_INTERNATIONAL2, SDL_SCANCODE_LANG1);
    case 0x19: return Two(SDL_SCANCODE_LANG5, SDL_SCANCODE_LANG2);
    case 0x1B: return One(SDL_SCANCODE_ESCAPE);
    case 0x1C: return One(SDL_SCANCODE_INTERNATIONAL4);
    case 0x1D: return One(SDL_SCANCODE_INTERNATIONAL5);
    case 0x1F: return One(SDL_SCANCODE_MODE);
    case 0x20: return One(SDL_SCANCODE_SPACE);
    case 0x21: return One(SDL_SCANCODE_PAGEUP);
    case 0x22: return One(SDL_SCANCODE_PAGEDOWN);
    case 0x23: return One(SDL_SCANCODE_END);
    case 0x24: return One(SDL_SCANCODE_HOME);
    case 0x25: return One(SDL_SCANCODE_LEFT);
    case 0x26: return One(SDL_SCANCODE_UP);
    case 0x27: return One(SDL_SCANCODE_RIGHT);
    case 0x28: return One(SDL_SCANCODE_DOWN);
    case 0x29: return One(SDL_SCANCODE_SELECT);
    case 0x2B: return One(SDL_SCANCODE_EXECUTE);
    case 0x2C: return One(SDL_SCANCODE_PRINTSCREEN);
    case 0x2D: return One(SDL_SCANCODE_INSERT);
    case 0x2E: return One(SDL_SCANCODE_DELETE);
    case 0x2F: return One(SDL_SCANCODE_HELP);
    case 0x5B: return One(SDL_SCANCODE_LGUI);
    case 0x5C: return One(SDL_SCANCODE_RGUI);
    case 0x5D: return One(SDL_SCANCODE_APPLICATION);
    case 0x5F: return One(SDL_SCANCODE_SLEEP);
    case 0x6A: return One(SDL_SCANCODE_KP_MULTIPLY);
    case 0x6B: return One(SDL_SCANCODE_KP_PLUS);
    case 0x6C: return One(SDL_SCANCODE_KP_COMMA);  // VK_SEPARATOR
    case 0x6D: return One(SDL_SCANCODE_KP_MINUS);
    case 0x6E: return One(SDL_SCANCODE_KP_PERIOD);
    case 0x6F: return One(SDL_SCANCODE_KP_DIVIDE);
    case 0x90: return One(SDL_SCANCODE_NUMLOCKCLEAR);
    case 0x91: return One(SDL_SCANCODE_SCROLLLOCK);
    case 0xA0: return One(SDL_SCANCODE_LSHIFT);
    case 0xA1: return One(SDL_SCANCODE_RSHIFT);
    case 0xA2: return One(SDL_SCANCODE_LCTRL);
    case 0xA3: return One(SDL_SCANCODE_RCTRL);
    case 0xA4: return One(SDL_SCANCODE_LALT);
    case 0xA5: return One(SDL_SCANCODE_RALT);
    // The punctuation keys (VK_OEM_*), by their places on a US keyboard.
    case 0xBA: return One(SDL_SCANCODE_SEMICOLON);
    case 0xBB: return One(SDL_SCANCODE_EQUALS);
    case 0xBC: return One(SDL_SCANCODE_COMMA);
    case 0xBD: return One(SDL_SCANCODE_MINUS);
    case 0xBE: return One(SDL_SCANCODE_PERIOD);
    case 0xBF: return One(SDL_SCANCODE_SLASH);
    case 0xC0: return One(SDL_SCANCODE_GRAVE);
    case 0xDB: return One(SDL_SCANCODE_LEFTBRACKET);
    case 0xDC: return One(SDL_SCANCODE_BACKSLASH);
    case 0xDD: return One(SDL_SCANCODE_RIGHTBRACKET);
    case 0xDE: return One(SDL_SCANCODE_APOSTROPHE);
    default: return {kNone, kNone};
  }
}
