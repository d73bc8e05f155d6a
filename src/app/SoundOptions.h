// The sound options of the command line: "--volume N" (0 to 100) and "--mute".
#pragma once
#include <string>

struct TSoundOptions {
  int Volume = 100;
  bool Muted = false;
  std::string Error;  // a bad value, described; "" when the options are fine
};

// Reads the sound options of argv and leaves every other argument alone.
TSoundOptions ParseSoundOptions(int argc, const char* const* argv);
