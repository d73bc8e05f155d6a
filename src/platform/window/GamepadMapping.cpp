#include "GamepadMapping.h"

#include <cstdlib>

#include "GameKeys.h"

namespace {
struct TButtonKey {
  SDL_GameControllerButton Button;
  uint8_t Key;
};
constexpr TButtonKey kButtonKeys[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},
    {SDL_CONTROLLER_BUTTON_A, VK_Z},
    {SDL_CONTROLLER_BUTTON_B, VK_C},
    {SDL_CONTROLLER_BUTTON_X, VK_C},
    {SDL_CONTROLLER_BUTTON_START, VK_RETURN},
    {SDL_CONTROLLER_BUTTON_BACK, VK_ESCAPE},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, VK_LCONTROL},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, VK_LCONTROL},
};
// In menus the pad answers as a player there would press keys: A or Start choose, B or Back go back, Y is Tab.
constexpr TButtonKey kMenuButtonKeys[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},     {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},
    {SDL_CONTROLLER_BUTTON_A, VK_RETURN},       {SDL_CONTROLLER_BUTTON_START, VK_RETURN},
    {SDL_CONTROLLER_BUTTON_B, VK_ESCAPE},       {SDL_CONTROLLER_BUTTON_BACK, VK_ESCAPE},
    {SDL_CONTROLLER_BUTTON_Y, VK_TAB},
};
// tan(22.5 degrees) in thousandths: an axis counts while the stick points within 67.5 degrees of it, which
// splits the circle into four straight and four diagonal sectors of 45 degrees each.
constexpr int64_t kSectorTangent = 414;

void AddStickKeys(const TPadReading& Pad, std::array<bool, 256>& Down) {
  const int64_t x = Pad.LeftX, y = Pad.LeftY;
  if (x * x + y * y <= int64_t{kStickDeadZone} * kStickDeadZone) return;
  const int64_t ax = std::llabs(x), ay = std::llabs(y);
  if (ax * 1000 > ay * kSectorTangent) Down[x < 0 ? VK_LEFT : VK_RIGHT] = true;
  if (ay * 1000 > ax * kSectorTangent) Down[y < 0 ? VK_UP : VK_DOWN] = true;
}
}  // namespace

void AddPadKeys(const TPadReading& Pad, std::array<bool, 256>& Down) {
  for (const TButtonKey& entry : kButtonKeys) {
    if (Pad.Buttons & (1u << entry.Button)) Down[entry.Key] = true;
  }
  AddStickKeys(Pad, Down);
}

void AddPadMenuKeys(const TPadReading& Pad, std::array<bool, 256>& Down) {
  for (const TButtonKey& entry : kMenuButtonKeys) {
    if (Pad.Buttons & (1u << entry.Button)) Down[entry.Key] = true;
  }
  AddStickKeys(Pad, Down);
}
