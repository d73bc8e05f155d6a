// Gamepads through SDL's virtual joysticks: SDL maps them as standard game controllers, so the whole path from
// a plugged pad to the game's virtual keys runs without hardware.
#include "GamepadInput.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "GameKeys.h"
#include "SdlWindow.h"
#include "data/DataTestSupport.h"

namespace {

// A virtual pad plugged in on creation: with every button and axis of SDL's standard layout, which SDL maps
// by itself, or an odd stick of four buttons and two axes that SDL knows no mapping for.
class TVirtualPad {
 public:
  explicit TVirtualPad(bool Standard = true) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    if (Standard) {
      desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
      desc.naxes = SDL_CONTROLLER_AXIS_MAX;
      desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
      desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
      desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
      desc.name = "morvanth test pad";
    } else {
      desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
      desc.naxes = 2;
      desc.nbuttons = 4;
      desc.name = "morvanth odd stick";
    }
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(index, 0) << SDL_GetError();
    instance_ = SDL_JoystickGetDeviceInstanceID(index);
    joystick_ = SDL_JoystickOpen(index);  // the handle the virtual inputs are set through
  }
  ~TVirtualPad() { Unplug(); }

  // Raw button numbers: the standard layout's are SDL's game-controller buttons.
  void Press(int Button, bool Down) { SDL_JoystickSetVirtualButton(joystick_, Button, Down); }
  std::string Guid() const {
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick_), guid, sizeof guid);
    return guid;
  }
  void Tilt(int16_t X, int16_t Y) {
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, X);
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, Y);
  }
  void Unplug() {
    if (joystick_ == nullptr) return;
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == instance_) SDL_JoystickDetachVirtual(i);
    }
  }

 private:
  SDL_JoystickID instance_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};

// What the window does once per pass: every pending event, then the pads' keys.
void Pump(TGamepadInput& Pads) {
  SDL_Event event;
  while (SDL_PollEvent(&event)) Pads.HandleEvent(event);
  Pads.Refresh();
}

TEST(GamepadInput, PadsPluggedInAndPulledOutWhileRunning) {
  TGamepadInput pads("");
  Pump(pads);
  ASSERT_FALSE(pads.AnyConnected());
  EXPECT_FALSE(pads.IsKeyDown(VK_Z));

  auto first = std::make_unique<TVirtualPad>();
  first->Press(SDL_CONTROLLER_BUTTON_A, true);
  Pump(pads);
  EXPECT_EQ(pads.Count(), 1);
  EXPECT_TRUE(pads.IsKeyDown(VK_Z));

  // Two pads act as one: each adds its keys, and releasing on one leaves the other's.
  TVirtualPad second;
  second.Tilt(-32768, 0);
  second.Press(SDL_CONTROLLER_BUTTON_A, true);
  Pump(pads);
  EXPECT_EQ(pads.Count(), 2);
  first->Press(SDL_CONTROLLER_BUTTON_A, false);
  first->Press(SDL_CONTROLLER_BUTTON_START, true);
  Pump(pads);
  EXPECT_TRUE(pads.IsKeyDown(VK_Z));
  EXPECT_TRUE(pads.IsKeyDown(VK_LEFT));
  EXPECT_TRUE(pads.IsKeyDown(VK_RETURN));

  // Pulling a pad with a button down releases that button.
  first.reset();
  Pump(pads);
  EXPECT_EQ(pads.Count(), 1);
  EXPECT_FALSE(pads.IsKeyDown(VK_RETURN));
  EXPECT_TRUE(pads.IsKeyDown(VK_Z));
  second.Unplug();
  Pump(pads);
  EXPECT_FALSE(pads.AnyConnected());
  EXPECT_FALSE(pads.IsKeyDown(VK_Z));
  EXPECT_FALSE(pads.IsKeyDown(VK_LEFT));
}

TEST(GamepadInput, APadAlreadyConnectedAtStartIsOpenedOnce) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
  {
    TVirtualPad pad;
    TGamepadInput pads("");
    Pump(pads);  // SDL announces the pad as added as well
    EXPECT_EQ(pads.Count(), 1);
  }
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

// A pad SDL has no mapping for is no gamepad, until the player's own mapping file names it.
TEST(GamepadInput, ThePlayersMappingFileMakesAnUnknownPadUsable) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
  {
    TVirtualPad stick(false);
    {
      TGamepadInput pads("");
      Pump(pads);
      EXPECT_FALSE(pads.AnyConnected());
    }
    // Mapping files name pads without the checksum SDL keeps in the device's GUID (hex digits 4 to 7).
    std::string guid = stick.Guid();
    guid.replace(4, 4, "0000");
    datatest::TTempDir dir;
    const std::filesystem::path file = dir.Path() / "gamecontrollerdb.txt";
    const std::string mapping = guid + ",morvanth odd stick,a:b1,b:b0,leftx:a0,lefty:a1,platform:Linux,\n";
    // Over its budget of lines the file is refused whole, at once (SDL would take minutes for 100000 lines).
    std::string tooLong;
    for (int i = 0; i < 100000; ++i) tooLong += "# comment\n";
    datatest::WriteFile(file, tooLong + mapping);
    {
      testing::internal::CaptureStderr();
      TGamepadInput pads(file.string());
      EXPECT_NE(testing::internal::GetCapturedStderr().find("not read: over its budget of 5000 lines"),
                std::string::npos);
      Pump(pads);
      EXPECT_FALSE(pads.AnyConnected());
    }
    datatest::WriteFile(file, "# mine\n" + mapping);
    TGamepadInput pads(file.string());
    stick.Press(0, true);
    Pump(pads);
    EXPECT_TRUE(pads.AnyConnected());
    EXPECT_TRUE(pads.IsKeyDown(VK_C));
    EXPECT_FALSE(pads.IsKeyDown(VK_Z));
  }
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

// Sets an environment variable for the life of the object.
class TScopedEnv {
 public:
  TScopedEnv(const char* Name, const char* Value) : name_(Name) {
    if (const char* old = std::getenv(Name)) old_ = old;
    setenv(Name, Value, 1);
  }
  ~TScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The window offers the pads' keys beside its own (the keyboard's): the game's, and the menus' where A chooses,
// B goes back and Y is Tab.
TEST(GamepadInput, TheWindowAnswersForThePadsKeys) {
  TScopedEnv driver("SDL_VIDEODRIVER", "dummy");
  // A window of the dummy driver never has the focus, and SDL passes pads on only to a focused one unless told.
  TScopedEnv background("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1");
  TSdlWindow window(800, 600);
  TApplication application;
  window.ProcessMessages(application);
  EXPECT_FALSE(window.IsGamepadConnected());
  {
    TVirtualPad pad;
    pad.Press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    pad.Press(SDL_CONTROLLER_BUTTON_A, true);
    pad.Press(SDL_CONTROLLER_BUTTON_Y, true);
    window.ProcessMessages(application);
    EXPECT_TRUE(window.IsGamepadConnected());
    EXPECT_TRUE(window.PadKeys().IsKeyDown(VK_LCONTROL));
    EXPECT_TRUE(window.PadKeys().IsKeyDown(VK_Z));
    EXPECT_FALSE(window.PadKeys().IsKeyDown(VK_TAB));
    EXPECT_TRUE(window.PadMenuKeys().IsKeyDown(VK_RETURN));
    EXPECT_TRUE(window.PadMenuKeys().IsKeyDown(VK_TAB));
    EXPECT_FALSE(window.PadMenuKeys().IsKeyDown(VK_Z));
    EXPECT_FALSE(window.IsKeyDown(VK_LCONTROL));  // the keyboard alone
  }
  window.ProcessMessages(application);
  EXPECT_FALSE(window.IsGamepadConnected());
  EXPECT_FALSE(window.PadKeys().IsKeyDown(VK_LCONTROL));
  EXPECT_FALSE(window.PadMenuKeys().IsKeyDown(VK_TAB));
  EXPECT_FALSE(application.Terminated());
}

}  // namespace
