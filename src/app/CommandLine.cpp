#include "CommandLine.h"

#include <charconv>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "Exception.h"
#include "SkinFolders.h"
#include "StageDefLoader.h"

namespace {
// The value of an option given as "--name VALUE" or "--name=VALUE"; none (with error set) when it is missing.
std::optional<std::string_view> OptionValue(std::string_view argument, std::string_view name, int& index, int argc,
                                            const char* const* argv, std::string& error) {
  if (argument.size() > name.size()) return argument.substr(name.size() + 1);  // "--name=VALUE"
  if (index + 1 >= argc) {
    error = std::string(name) + " needs a value";
    return std::nullopt;
  }
  return std::string_view(argv[++index]);
}

// The option's name: an argument up to its '='.
std::string_view NameOf(std::string_view argument) { return argument.substr(0, argument.find('=')); }

bool ParseInt(std::string_view text, int32_t min, int32_t max, int32_t& value) {
  const char* end = text.data() + text.size();
  const auto [stop, status] = std::from_chars(text.data(), end, value);
  return status == std::errc{} && stop == end && value >= min && value <= max;
}
}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, TCommandLine& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const std::string_view name = NameOf(argument);
    if (argument == "--help" || argument == "-h") {
      options.Help = true;
    } else if (argument == "--version") {
      options.Version = true;
    } else if (name == "--scale" || name == "--volume") {
      const bool scale = name == "--scale";
      const std::optional<std::string_view> value = OptionValue(argument, name, i, argc, argv, error);
      if (!value) return false;
      const int32_t min = scale ? 1 : 0, max = scale ? kMaxWindowScale : kMaxVolume;
      int32_t number = 0;
      if (!ParseInt(*value, min, max, number)) {
        error = std::string(name) + " takes a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                ", not '" + std::string(*value) + "'";
        return false;
      }
      (scale ? options.Scale : options.Volume) = number;
    } else if (argument == "--mute") {
      options.Mute = true;
    } else if (argument == "--watch") {
      options.Watch = true;
    } else if (name == "--stage" || name == "--frame") {
      const std::optional<std::string_view> value = OptionValue(argument, name, i, argc, argv, error);
      if (!value) return false;
      if (name == "--stage") {
        int32_t stage = 0;
        if (!ParseInt(*value, 1, kMaxStage, stage)) {
          error = "--stage takes a stage number from 1 (as the stage titles count), not '" + std::string(*value) + "'";
          return false;
        }
        options.Stage = stage;
      } else {
        uint32_t frame = 0;
        const char* end = value->data() + value->size();
        const auto [stop, status] = std::from_chars(value->data(), end, frame);
        if (value->empty() || status != std::errc{} || stop != end) {
          error = "--frame takes a stage frame from 0 to 4294967295, not '" + std::string(*value) + "'";
          return false;
        }
        options.Frame = frame;
      }
    } else if (name == "--power") {
      const std::optional<std::string_view> value = OptionValue(argument, name, i, argc, argv, error);
      if (!value) return false;
      TShipPower power;
      if (!ParsePowerList(*value, power, error)) return false;
      options.Power = power;
    } else if (argument == "--classic") {
      options.Classic = true;
    } else if (name == "--record" || name == "--replay" || name == "--root" || name == "--skin") {
      const std::optional<std::string_view> value = OptionValue(argument, name, i, argc, argv, error);
      if (!value) return false;
      std::string& text = name == "--record"   ? options.Record
                          : name == "--replay" ? options.Replay
                          : name == "--root"   ? options.Root
                                               : options.Skin;
      if (value->empty()) {
        error = std::string(name) +
                (&text == &options.Record || &text == &options.Replay ? " needs a file name" : " needs a value");
        return false;
      }
      if (!text.empty()) {
        error = std::string(name) + " is given twice";
        return false;
      }
      text = *value;
    } else {
      error = (argument.starts_with("-") ? "unknown option '" : "unexpected argument '") + std::string(argument) + "'";
      return false;
    }
  }
  // A recording replays from the title with the game's own start; a game begun elsewhere would not replay.
  if (options.StartsInGame() && (!options.Record.empty() || !options.Replay.empty())) {
    error = "--stage, --frame, --power and --watch cannot be used with --record or --replay";
    return false;
  }
  // Recording over the replay would truncate it before a frame is read: refused while nothing is open. The same
  // file under another name (a link, a relative path) counts, which is why device and inode are compared.
  std::error_code ec;
  if (!options.Record.empty() && !options.Replay.empty() &&
      (options.Record == options.Replay || std::filesystem::equivalent(options.Record, options.Replay, ec))) {
    error = "--record " + options.Record + " would overwrite the replay " + options.Replay;
    return false;
  }
  return true;
}

bool SkinHasStage(int32_t Stage, std::string& Error) {
  int32_t count = 0;
  try {
    count = CountStages(CurrentSkinPlace());
  } catch (const Exception&) {
    return true;
  }
  if (Stage <= count) return true;
  Error = "--stage " + std::to_string(Stage) + ": the skin " + CurrentSkin + " has " + std::to_string(count) +
          (count == 1 ? " stage" : " stages");
  return false;
}

TGameStart TCommandLine::GameStart() const {
  TGameStart start;
  if (Stage) start.Stage = *Stage;
  if (Frame) start.Frame = *Frame;
  if (Power) start.Power = *Power;
  return start;
}

std::string CommandLineUsage() {
  return "usage: morvanth [--scale N] [--volume N] [--mute] [--record FILE] [--replay FILE] [--root DIR]\n"
         "                [--skin NAME] [--stage N] [--frame F] [--power LIST] [--watch] [--classic] [--help]\n"
         "                [--version]\n"
         "  --scale N      open the window at N times the game's 800x600 (1 to " +
         std::to_string(kMaxWindowScale) +
         "), not fullscreen; remembered\n"
         "  --volume N     sound volume from 0 to " +
         std::to_string(kMaxVolume) +
         "; remembered\n"
         "  --mute         start with the sound muted; remembered (F7 unmutes)\n"
         "  --record FILE  write the seed and every frame's keys to FILE (morvanth-headless replays it)\n"
         "  --replay FILE  play a recording back in the window (Escape stops)\n"
         "  --root DIR     take the bundled skins from DIR/skin instead of the program's folder\n"
         "  --skin NAME    start on the skin NAME (the title can still change it); not remembered\n"
         "  --stage N      begin the game in stage N (from 1), skipping the title\n"
         "  --frame F      begin at stage frame F, as a restart there would\n"
         "  --power LIST   begin with power-ups, e.g. double,options=2,speed=6 (double or laser, speed=4..9,\n"
         "                 options=0..4)\n"
         "  --watch        begin the game and rebuild it, at its stage and frame, whenever the skin's files\n"
         "                 change; a skin that does not load shows its error until it is mended\n"
         "  --classic      the original screen: no lives, score or high scores; not remembered\n"
         "  --help         show this text\n"
         "  --version      show the version\n"
         "F11 or Alt+Enter switches fullscreen; F7 mutes, F8/F9 turn the volume down/up.\n"
         "Settings: $XDG_CONFIG_HOME/morvanth/settings.ini\n"
         "High scores: $XDG_DATA_HOME/morvanth/scores.ini\n";
}
