// Records a game's keys as a key script: a key source that stands between the live keys and the key states,
// takes one snapshot of the live keys per frame, answers the game from it and writes each change as it happens
// (flushed), so the file of a game that never ended normally still replays up to its last change.
#pragma once
#include <array>
#include <cstdint>
#include <ostream>
#include <string>

#include "KeyScript.h"
#include "KeySource.h"

class TKeyRecorder : public TKeySource {
 public:
  // Writes the header at once: the seed the game runs with and the skin it starts with (UTF-8).
  TKeyRecorder(TKeySource& Live, std::ostream& Out, uint32_t Seed, const std::string& Skin);
  // The same with every header line of Header (its frame lines are not written); Header has a seed.
  TKeyRecorder(TKeySource& Live, std::ostream& Out, const TKeyScript& Header);
  ~TKeyRecorder() override;  // Finish
  TKeyRecorder(const TKeyRecorder&) = delete;
  TKeyRecorder& operator=(const TKeyRecorder&) = delete;

  // While the live source is inactive the snapshot has every key up and the line says AWAY: the game reacts
  // to leaving the window (it pauses), so a replay must leave it at the same frames.
  void BeginFrame() override;
  bool IsKeyDown(uint8_t VirtualKey) const override { return down_[VirtualKey]; }
  bool IsApplicationActive() const override { return active_; }
  bool IsGamepadConnected() const override { return live_.IsGamepadConnected(); }

  // Ends the script with a line of the frame count and no keys (a replay releases every key where the
  // recording stopped) and flushes; later calls do nothing.
  void Finish();
  uint32_t Frames() const { return frame_; }

 private:
  void WriteLine();

  TKeySource& live_;
  std::ostream& out_;
  std::array<bool, 256> down_{};
  bool active_ = true;
  uint32_t frame_ = 0;
  bool finished_ = false;
};
