#include "GamepadMapping.h"

#include <gtest/gtest.h>

#include <set>

#include "GameKeys.h"

namespace {

std::set<int> KeysOf(const TPadReading& Pad, bool Menu = false) {
  std::array<bool, 256> down{};
  (Menu ? AddPadMenuKeys : AddPadKeys)(Pad, down);
  std::set<int> keys;
  for (int vk = 0; vk < 256; ++vk) {
    if (down[vk]) keys.insert(vk);
  }
  return keys;
}

TPadReading Buttons(std::initializer_list<SDL_GameControllerButton> Buttons) {
  TPadReading pad;
  for (SDL_GameControllerButton button : Buttons) pad.Buttons |= 1u << button;
  return pad;
}

TPadReading Stick(int X, int Y) {
  TPadReading pad;
  pad.LeftX = static_cast<int16_t>(X);
  pad.LeftY = static_cast<int16_t>(Y);
  return pad;
}

TEST(GamepadMapping, ButtonsAnswerForTheGamesKeys) {
  const struct {
    SDL_GameControllerButton Button;
    std::set<int> Keys;
  } cases[] = {
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, {VK_LEFT}},
      {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {VK_RIGHT}},
      {SDL_CONTROLLER_BUTTON_DPAD_UP, {VK_UP}},
      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, {VK_DOWN}},
      {SDL_CONTROLLER_BUTTON_A, {VK_Z}},
      {SDL_CONTROLLER_BUTTON_B, {VK_C}},
      {SDL_CONTROLLER_BUTTON_X, {VK_C}},
      {SDL_CONTROLLER_BUTTON_START, {VK_RETURN}},
      {SDL_CONTROLLER_BUTTON_BACK, {VK_ESCAPE}},
      {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {VK_LCONTROL}},
      {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, {VK_LCONTROL}},
      {SDL_CONTROLLER_BUTTON_Y, {}},
      {SDL_CONTROLLER_BUTTON_GUIDE, {}},
      {SDL_CONTROLLER_BUTTON_LEFTSTICK, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(KeysOf(Buttons({c.Button})), c.Keys) << "button " << c.Button;
  EXPECT_EQ(KeysOf(Buttons({SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_B})),
            (std::set<int>{VK_UP, VK_Z, VK_C}));
}

// In menus A chooses and B goes back, as Enter and Escape; Y opens the options (Tab); the stick steers alike.
TEST(GamepadMapping, InMenusButtonsAnswerForTheMenusKeys) {
  const struct {
    SDL_GameControllerButton Button;
    std::set<int> Keys;
  } cases[] = {
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, {VK_LEFT}}, {SDL_CONTROLLER_BUTTON_DPAD_DOWN, {VK_DOWN}},
      {SDL_CONTROLLER_BUTTON_A, {VK_RETURN}},       {SDL_CONTROLLER_BUTTON_START, {VK_RETURN}},
      {SDL_CONTROLLER_BUTTON_B, {VK_ESCAPE}},       {SDL_CONTROLLER_BUTTON_BACK, {VK_ESCAPE}},
      {SDL_CONTROLLER_BUTTON_Y, {VK_TAB}},          {SDL_CONTROLLER_BUTTON_X, {}},
      {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(KeysOf(Buttons({c.Button}), true), c.Keys) << "button " << c.Button;
  EXPECT_EQ(KeysOf(Stick(-20000, -20000), true), (std::set<int>{VK_LEFT, VK_UP}));
}

TEST(GamepadMapping, TheLeftStickSteersInEightSectorsOutsideItsDeadZone) {
  const struct {
    int X, Y;
    std::set<int> Keys;
  } cases[] = {
      {0, 0, {}},
      {kStickDeadZone, 0, {}},  // on the dead zone's edge
      {7000, -7000, {}},        // diagonal, still inside (radius 9899)
      {kStickDeadZone + 1, 0, {VK_RIGHT}},
      {-32768, 0, {VK_LEFT}},
      {0, -32768, {VK_UP}},  // negative Y is up
      {0, 32767, {VK_DOWN}},
      {-20000, -20000, {VK_LEFT, VK_UP}},
      {20000, 20000, {VK_RIGHT, VK_DOWN}},
      {30000, 12000, {VK_RIGHT}},           // 21.8 degrees below the right: the straight sector
      {30000, 13000, {VK_RIGHT, VK_DOWN}},  // 23.4 degrees: the diagonal one
      {11000, -30000, {VK_UP}},
  };
  for (const auto& c : cases) EXPECT_EQ(KeysOf(Stick(c.X, c.Y)), c.Keys) << c.X << "," << c.Y;
}

TEST(GamepadMapping, PadsAddUpAndNeverReleaseAKeyAnotherHolds) {
  std::array<bool, 256> down{};
  AddPadKeys(Buttons({SDL_CONTROLLER_BUTTON_A}), down);
  AddPadKeys(Stick(-32768, 0), down);
  AddPadKeys(TPadReading{}, down);
  EXPECT_TRUE(down[VK_Z]);
  EXPECT_TRUE(down[VK_LEFT]);
}

}  // namespace
