#include "SoundOptions.h"

TSoundOptions ParseSoundOptions(int argc, const char* const* argv) {
  TSoundOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--mute") {
      options.Muted = true;
    } else if (option == "--volume") {
      const std::string value = i + 1 < argc ? argv[++i] : "";
      if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos ||
          std::stoi(value) > 100) {
        options.Error = "--volume wants a number from 0 to 100, not \"" + value + "\"";
        return options;
      }
      options.Volume = std::stoi(value);
    }
  }
  return options;
}
