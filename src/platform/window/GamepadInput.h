// The gamepads, through SDL's game-controller API: its built-in mapping database (plus the player's own
// mapping file and SDL_GAMECONTROLLERCONFIG), pads opened and closed as they come and go, and the virtual keys
// every connected pad holds, all pads together acting as one.
#pragma once
#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TGamepadInput {
 public:
  // The player's mapping file (README): SDL's own database and the community's file hold some 2000 lines, well
  // within. SDL's cost grows with the square of the lines (100000 took minutes to add).
  static constexpr uintmax_t kMappingFileMaxBytes = 1 << 20;
  static constexpr long kMappingFileMaxLines = 5000;

  // Opens SDL's game-controller subsystem, adds the mappings of MappingFile when that file exists ("" for
  // none), and opens every pad already connected. Should the subsystem not open, there are simply no pads
  // (one line on standard error says why).
  explicit TGamepadInput(const std::string& MappingFile);
  ~TGamepadInput();
  TGamepadInput(const TGamepadInput&) = delete;
  TGamepadInput& operator=(const TGamepadInput&) = delete;

  // Opens a pad that was plugged in and closes one that was pulled; other events are ignored.
  void HandleEvent(const SDL_Event& Event);
  // Reads the keys the pads hold now. Called once per pass of the message loop, after its events.
  void Refresh();

  bool IsKeyDown(uint8_t VirtualKey) const { return down_[VirtualKey]; }
  bool AnyConnected() const { return !pads_.empty(); }
  int Count() const { return static_cast<int>(pads_.size()); }

 private:
  void AddMappings(const std::string& MappingFile);
  void Open(int DeviceIndex);
  void Close(SDL_JoystickID Instance);

  bool subsystem_ = false;
  std::vector<SDL_GameController*> pads_;
  std::array<bool, 256> down_{};
};
