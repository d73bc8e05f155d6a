// The gamepads, through SDL's game-controller API: its built-in mapping database (plus the player's own
// mapping file and SDL_GAMECONTROLLERCONFIG), pads opened and closed as they come and go, and the virtual keys
// every connected pad holds, all pads together acting as one.
#pragma once
#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "KeySource.h"

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

  // The pads as key sources beside the keyboard: the game's keys (AddPadKeys) and the menus' (AddPadMenuKeys).
  // They know nothing of the focus, and answer as active.
  const TKeySource& GameKeys() const { return gameKeys_; }
  const TKeySource& MenuKeys() const { return menuKeys_; }

 private:
  void AddMappings(const std::string& MappingFile);
  void Open(int DeviceIndex);
  void Close(SDL_JoystickID Instance);

  class TPadKeys : public TKeySource {
   public:
    explicit TPadKeys(const std::array<bool, 256>& Down) : down_(Down) {}
    bool IsKeyDown(uint8_t VirtualKey) const override { return down_[VirtualKey]; }
    bool IsApplicationActive() const override { return true; }

   private:
    const std::array<bool, 256>& down_;
  };

  bool subsystem_ = false;
  std::vector<SDL_GameController*> pads_;
  std::array<bool, 256> down_{};
  std::array<bool, 256> menuDown_{};
  TPadKeys gameKeys_{down_}, menuKeys_{menuDown_};
};
