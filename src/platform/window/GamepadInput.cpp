#include "GamepadInput.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "GamepadMapping.h"

TGamepadInput::TGamepadInput(const std::string& MappingFile) {
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "morvanth: no gamepads: %s\n", SDL_GetError());
    return;
  }
  subsystem_ = true;
  std::error_code error;
  if (!MappingFile.empty() && std::filesystem::is_regular_file(MappingFile, error)) AddMappings(MappingFile);
  // SDL also announces these pads with an added event; Open skips a pad already open.
  for (int i = 0; i < SDL_NumJoysticks(); ++i) Open(i);
}

void TGamepadInput::AddMappings(const std::string& MappingFile) {
  // SDL adds each mapping with a search of those it has, so a long file costs the square of its lines: the
  // file is read here, within its budget, and handed over whole or not at all.
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(MappingFile, error);
  std::string text;
  if (!error && size <= kMappingFileMaxBytes) {
    std::ifstream in(MappingFile, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const auto lines = std::count(text.begin(), text.end(), '\n');
  const char* reason = nullptr;
  if (error || size > kMappingFileMaxBytes || text.size() > kMappingFileMaxBytes) {
    reason = "over its budget of 1 MiB";
  } else if (lines > kMappingFileMaxLines) {
    reason = "over its budget of 5000 lines";
  } else if (SDL_GameControllerAddMappingsFromRW(SDL_RWFromConstMem(text.data(), static_cast<int>(text.size())), 1) <
             0) {
    reason = SDL_GetError();
  }
  if (reason != nullptr)
    std::fprintf(stderr, "morvanth: gamepad mappings in %s not read: %s\n", MappingFile.c_str(), reason);
}

TGamepadInput::~TGamepadInput() {
  for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
  if (subsystem_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void TGamepadInput::Open(int DeviceIndex) {
  if (!SDL_IsGameController(DeviceIndex)) return;
  const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(DeviceIndex);
  for (SDL_GameController* pad : pads_) {
    if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == instance) return;
  }
  SDL_GameController* pad = SDL_GameControllerOpen(DeviceIndex);
  if (pad == nullptr) {
    std::fprintf(stderr, "morvanth: gamepad %d not opened: %s\n", DeviceIndex, SDL_GetError());
    return;
  }
  pads_.push_back(pad);
}

void TGamepadInput::Close(SDL_JoystickID Instance) {
  const auto it = std::find_if(pads_.begin(), pads_.end(), [Instance](SDL_GameController* Pad) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(Pad)) == Instance;
  });
  if (it == pads_.end()) return;
  SDL_GameControllerClose(*it);
  pads_.erase(it);
}

void TGamepadInput::HandleEvent(const SDL_Event& Event) {
  if (!subsystem_) return;
  if (Event.type == SDL_CONTROLLERDEVICEADDED) {
    Open(Event.cdevice.which);
  } else if (Event.type == SDL_CONTROLLERDEVICEREMOVED) {
    Close(Event.cdevice.which);
  }
}

void TGamepadInput::Refresh() {
  down_.fill(false);
  menuDown_.fill(false);
  for (SDL_GameController* pad : pads_) {
    TPadReading reading;
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
      if (SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(button))) {
        reading.Buttons |= 1u << button;
      }
    }
    reading.LeftX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    reading.LeftY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    AddPadKeys(reading, down_);
    AddPadMenuKeys(reading, menuDown_);
  }
}
