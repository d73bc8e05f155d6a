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
std::optional<std::string_view> OptionValue(std::string_view Argument, std::string_view Name, int& Index, int argc,
                                            const char* const* argv, std::string& Error) {
  if (Argument.size() > Name.size()) return Argument.substr(Name.size() + 1);  // "--name=VALUE"
  if (Index + 1 >= argc) {
    Error = std::string(Name) + " needs a value";
    return std::nullopt;
  }
  return std::string_view(argv[++Index]);
}

// The option's name: an argument up to its '='.
std::string_view NameOf(std::string_view Argument) { return Argument.substr(0, Argument.find('=')); }

bool ParseInt(std::string_view Text, int32_t Min, int32_t Max, int32_t& Value) {
  const char* end = Text.data() + Text.size();
  const auto [stop, status] = std::from_chars(Text.data(), end, Value);
  return status == std::errc{} && stop == end && Value >= Min && Value <= Max;
}
}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, TCommandLine& Options, std::string& Error) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const std::string_view name = NameOf(argument);
    if (argument == "--help" || argument == "-h") {
      Options.Help = true;
    } else if (argument == "--version") {
      Options.Version = true;
    } else if (name == "--scale" || name == "--volume") {
      const bool scale = name == "--scale";
      const std::optional<std::string_view> value = OptionValue(argument, name, i, argc, argv, Error);
      if (!value) return false;
      const int32_t min = scale ? 1 : 0, max = scale ? kMaxWindowScale : kMaxVolume;
      int32_t number = 0;
      if (!ParseInt(*value, min, max, number)) {
        Error = std::string(name) + " takes a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                ", not '" + std::string(*value) + "'";
        return false;
      }
      (scale ? Options.Scale : Options.Volume) = number;
    } else if (argument == "--mute") {
      Options.Mute = true;
    } else if (argument == "--watch") {
      Options.Watch = true;
    } else if (name == "--stage" || name == "--frame") {
      const std::optional<std::string_view> value = OptionValue(argument, name, i, argc, argv, Error);
      if (!value) return false;
      if (name == "--stage") {
        int32_t stage = 0;
        if (!ParseInt(*value, 1, kMaxStage, stage)) {
          Error = "--stage takes a stage number from 1 (as the stage titles count), not '" + std::string(*value) + "'";
          return false;
        }
        Options.Stage = stage;
      } else {
        uint32_t frame = 0;
        const char* end = value->data() + value->size();
        const auto [stop, status] = std::from_chars(value->data(), end, frame);
        if (value->empty() || status != std::errc{} || stop != end) {
          Error = "--frame takes a stage frame from 0 to 4294967295, not '" + std::string(*value) + "'";
          return false;
        }
        Options.Frame = frame;
      }
    } else if (name == "--power") {
      const std::optional<std::string_view> value = OptionValue(argument, name, i, argc, argv, Error);
      if (!value) return false;
      TShipPower power;
      if (!ParsePowerList(*value, power, Error)) return false;
      Options.Power = power;
    } else if (argument == "--classic") {
      Options.Classic = true;
    } else if (name == "--record" || name == "--replay" || name == "--root" || name == "--skin") {
      const std::optional<std::string_view> value = OptionValue(argument, name, i, argc, argv, Error);
      if (!value) return false;
      std::string& text = name == "--record"   ? Options.Record
                          : name == "--replay" ? Options.Replay
                          : name == "--root"   ? Options.Root
                                               : Options.Skin;
      if (value->empty()) {
        Error = std::string(name) +
                (&text == &Options.Record || &text == &Options.Replay ? " needs a file name" : " needs a value");
        return false;
      }
      if (!text.empty()) {
        Error = std::string(name) + " is given twice";
        return false;
      }
      text = *value;
    } else {
      Error = (argument.starts_with("-") ? "unknown option '" : "unexpected argument '") + std::string(argument) + "'";
      return false;
    }
  }
  // A recording replays from the title with the game's own start; a game begun elsewhere would not replay.
  if (Options.StartsInGame() && (!Options.Record.empty() || !Options.Replay.empty())) {
    Error = "--stage, --frame, --power and --watch cannot be used with --record or --replay";
    return false;
  }
  // Recording over the replay would truncate it before a frame is read: refused while nothing is open. The same
  // file under another name (a link, a relative path) counts, which is why device and inode are compared.
  std::error_code ec;
  if (!Options.Record.empty() && !Options.Replay.empty() &&
      (Options.Record == Options.Replay || std::filesystem::equivalent(Options.Record, Options.Replay, ec))) {
    Error = "--record " + Options.Record + " would overwrite the replay " + Options.Replay;
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
