// A sound sink that writes what the game asked for instead of playing it, one line per request:
// "FRAME effect NAME", "FRAME music NAME", "FRAME music stop", "FRAME music pause" or "FRAME music resume",
// NAME being the stem of the file the skin would play. Lets tests hear the game without a sound card.
#pragma once
#include <cstdint>
#include <ostream>

#include "SoundSink.h"

class TSoundLog : public TSoundSink {
 public:
  explicit TSoundLog(std::ostream& Out) : out_(Out) {}
  // The frame the following requests belong to.
  void SetFrame(uint32_t Frame) { frame_ = Frame; }

  void PlayEffect(TSoundEffect Effect) override;
  void PlayMusic(const TMusicTrack& Track) override;
  void StopMusic() override;
  void PauseMusic(bool Paused) override;

 private:
  std::ostream& out_;
  uint32_t frame_ = 0;
};
