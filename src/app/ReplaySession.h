// What the game's replay options set up: "--record FILE" writes the seed, the starting skin, what the scores
// depend on (the classic screen, the default name and the high-score tables) and the keys of every frame as a
// key script; "--replay FILE" plays such a script back in place of the keyboard (Escape still stops), on the
// recording's scores, never keeping one. Both together replay a file and record the replay.
#pragma once
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "Application.h"
#include "Clock.h"
#include "KeySource.h"

class TKeyPlayer;
class TKeyRecorder;
struct TKeyScript;

// What a replay shows of the scores, taken from its header into ScoreBook: its classic line (unless
// KeepClassic), its player as the default name, its tables in place of ScoreBook's; nothing is kept afterwards.
void UseRecordedScores(const TKeyScript& Script, bool KeepClassic);

// What the options set up for one run of the main form. Without options: the live keys and a seed from the
// clock, the game as it always was.
class TReplaySession {
 public:
  // Reads the replay (its skin becomes the current one, unless KeepSkin: a skin named on the command line wins,
  // as in morvanth-headless; its classic line, its player and its tables replace ScoreBook's, unless KeepClassic
  // for the first, and ScoreBook keeps nothing) and creates the recording (from ScoreBook as it then stands).
  // Must come after the skin scan and ScoreBook's set-up. Raises std::runtime_error with a message for the player.
  TReplaySession(const std::string& RecordFile, const std::string& ReplayFile, TKeySource& Live,
                 TApplication& Application, TClock& Clock, bool KeepSkin = false, bool KeepClassic = false);
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
