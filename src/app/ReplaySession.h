// What the game's replay options set up: "--record FILE" writes the seed, the starting skin and the keys of
// every frame as a key script; "--replay FILE" plays such a script back in place of the keyboard (Escape still
// stops). Both together replay a file and record the replay.
#pragma once
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "Application.h"
#include "Clock.h"
#include "KeyScript.h"
#include "KeySource.h"

class TKeyPlayer;
class TKeyRecorder;

// Reads the replay File: its seed, skin and keys. Raises std::runtime_error with a message for the player.
TKeyScript ReadReplay(const std::string& File);

// What the options set up for one run of the main form. Without options: the live keys and a seed from the
// clock, the game as it always was.
class TReplaySession {
 public:
  // Plays Replay, when given, in place of Live and creates the recording, when RecordFile is not empty, with
  // Skin as the skin it starts on. Raises std::runtime_error with a message for the player.
  TReplaySession(std::optional<TKeyScript> Replay, const std::string& RecordFile, const std::string& Skin,
                 TKeySource& Live, TApplication& Application, TClock& Clock);
  ~TReplaySession();  // Finish

  // Ends the recording; false (reported on standard error) when it could not be written. Later calls answer
  // the same.
  bool Finish();
  TReplaySession(const TReplaySession&) = delete;
  TReplaySession& operator=(const TReplaySession&) = delete;

  TKeySource& Keys() { return *keys_; }
  std::optional<uint32_t> Seed() const { return seed_; }

 private:
  std::string recordName_;
  std::ofstream recordFile_;
  std::unique_ptr<TKeyPlayer> player_;
  std::unique_ptr<TKeyRecorder> recorder_;
  TKeySource* keys_;
  std::optional<uint32_t> seed_;
  std::optional<bool> written_;
};
