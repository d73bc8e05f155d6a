// The options of the game's own program, `morvanth`. Each option is one field and one branch of the parser.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

struct TCommandLine {
  bool Help = false;
  bool Version = false;           // --version
  std::optional<int32_t> Scale;   // --scale N: a window N times the game's size (and no fullscreen)
  std::optional<int32_t> Volume;  // --volume N: 0 to 100
  bool Mute = false;              // --mute
  std::string Record;             // --record FILE: "" when not given
  std::string Replay;             // --replay FILE
  std::string Root;               // --root DIR: the folder holding the bundled "skin/" instead of the program's
  std::string Skin;               // --skin NAME: start on that skin (not remembered)
};

inline constexpr int32_t kMaxWindowScale = 8;
inline constexpr int32_t kMaxVolume = 100;

// Reads argv[1..argc-1]. False on an unknown option, a missing or bad value, a stray argument or a recording
// that would overwrite the replay, with the reason in error.
bool ParseCommandLine(int argc, const char* const* argv, TCommandLine& Options, std::string& Error);

// The usage text, ending in a newline.
std::string CommandLineUsage();
