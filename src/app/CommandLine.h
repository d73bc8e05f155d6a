// The options of the game's own program, `morvanth`. Each option is one field and one branch of the parser.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "GameStart.h"

struct TCommandLine {
  bool Help = false;
  bool Version = false;             // --version
  std::optional<int32_t> Scale;     // --scale N: a window N times the game's size (and no fullscreen)
  std::optional<int32_t> Volume;    // --volume N: 0 to 100
  bool Mute = false;                // --mute
  std::string Record;               // --record FILE: "" when not given
  std::string Replay;               // --replay FILE
  std::string Root;                 // --root DIR: the folder holding the bundled "skin/" instead of the program's
  std::string Skin;                 // --skin NAME: start on that skin (not remembered)
  std::optional<int32_t> Stage;     // --stage N: the game begins in stage N (from 1), the title skipped
  std::optional<uint32_t> Frame;    // --frame F: ... at stage frame F
  std::optional<TShipPower> Power;  // --power LIST: with these power-ups
  bool Classic = false;             // --classic: the design's own screen this time (not remembered)
  bool Watch = false;               // --watch: rebuild the game whenever the skin's files change

  // Whether the game begins part-way through rather than on the title.
  bool StartsInGame() const { return Stage || Frame || Power || Watch; }
  // Where it begins: stage 1, frame 0 and no power-ups unless given.
  TGameStart GameStart() const;
};

inline constexpr int32_t kMaxWindowScale = 8;
inline constexpr int32_t kMaxVolume = 100;
inline constexpr int32_t kMaxStage = 1000000;  // beyond any skin; the skin's own count is checked when loaded

// Reads argv[1..argc-1]. False on an unknown option, a missing or bad value, a stray argument or a recording
// that would overwrite the replay, with the reason in error.
bool ParseCommandLine(int argc, const char* const* argv, TCommandLine& Options, std::string& Error);

// Whether the current skin has stage Stage; false with the reason in Error when it has fewer. A stagedef.xml
// that does not load passes: the game shows its own error for it.
bool SkinHasStage(int32_t Stage, std::string& Error);

// The usage text, ending in a newline.
std::string CommandLineUsage();
