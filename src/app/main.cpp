// MORVANTH: the game in its SDL window. main runs six phases, one function each: the command line, the
// settings (with the skin and replay the run starts from), the window, the sound, the game itself, and saving
// what the player changed. The program's own failures on the way are std::runtime_errors with a message for
// the player, caught once in main: standard error and status 1. The game's own errors are boxes the main form
// shows.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "AlwaysActiveKeys.h"
#include "Application.h"
#include "Clock.h"
#include "CommandLine.h"
#include "FileSystem.h"
#include "GameSettings.h"
#include "KeyScript.h"
#include "MessageLoop.h"
#include "MessageText.h"
#include "ReplaySession.h"
#include "SdlMixer.h"
#include "SdlWindow.h"
#include "SettingsFile.h"
#include "SkinFolders.h"
#include "SkinSound.h"
#include "SoundSink.h"
#include "StartUp.h"
#include "StateStream.h"
#include "TextEncoding.h"
#include "UMainForm.h"
#include "Version.h"
#include "VolumeKeys.h"

namespace {

// The command line: nothing to go on with, or the status to end with at once (help, version, a usage error).
std::optional<int> ParseOptions(int argc, char** argv, TCommandLine& Options) {
  std::string error;
  if (!ParseCommandLine(argc, argv, Options, error)) {
    std::fprintf(stderr, "morvanth: %s\n%s", error.c_str(), CommandLineUsage().c_str());
    return 2;
  }
  if (Options.Help) {
    std::fputs(CommandLineUsage().c_str(), stdout);
    return 0;
  }
  if (Options.Version) {
    std::printf("morvanth %s\n", kMorvanthVersion);
    return 0;
  }
  return std::nullopt;
}

// The skin folders and their usable skins; without any, the design's start-up box and false.
bool FindSkins(const TCommandLine& Options) {
  const TStartUpResult skins =
      StartUpSkins(Options.Root.empty() ? ProgramDirectory() : Options.Root, PlayerSkinFolders());
  if (skins.Ok) return true;
  std::fprintf(stderr, "morvanth: skin folders searched: %s\n", skins.Folder.c_str());
  ShowMessageBox(skins.Message, "MORVANTH", MB_ICONEXCLAMATION | MB_OK);
  return false;
}

// The settings file as it was read at start.
struct TSettingsStore {
  std::string Path;  // "" without a settings folder
  TSettingsFile File;
  TGameSettings Loaded;
  bool Writable = false;
};

TSettingsStore LoadSettings(const std::string& ConfigFolder) {
  TSettingsStore store;
  store.Path = ConfigFolder.empty() ? "" : ConfigFolder + kSettingsFileName;
  std::string error;
  // A file that could not be read is the player's to mend: it is never overwritten.
  store.Writable = !store.Path.empty();
  if (store.Writable && !store.File.Load(store.Path, error)) {
    std::fprintf(stderr, "morvanth: settings not read, and not saved this session: %s\n", error.c_str());
    store.Writable = false;
  }
  for (const std::string& problem : store.File.Problems()) {
    std::fprintf(stderr, "morvanth: settings: %s\n", problem.c_str());
  }
  store.Loaded = ReadGameSettings(store.File);
  return store;
}

// This run's settings: the remembered ones, with what the command line says on top.
TGameSettings SettingsForRun(const TGameSettings& Loaded, const TCommandLine& Options) {
  TGameSettings settings = Loaded;
  if (Options.Scale) {
    settings.Scale = *Options.Scale;
    settings.Fullscreen = false;
  }
  if (Options.Volume) settings.Volume = *Options.Volume;
  if (Options.Mute) settings.Muted = true;
  return settings;
}

std::unique_ptr<TSdlWindow> OpenWindow(const TGameSettings& Settings, const std::string& ConfigFolder) {
  TSdlWindowOptions options;
  options.Scale = Settings.Scale;
  options.Fullscreen = Settings.Fullscreen;
  options.IntegerScaling = Settings.IntegerScaling;
  options.Smooth = Settings.Smooth;
  if (!ConfigFolder.empty()) options.PadMappingFile = ConfigFolder + "gamecontrollerdb.txt";
  options.AppId = kMorvanthAppId;
  options.IconFile = std::string(kMorvanthAppId) + ".png";
  return std::make_unique<TSdlWindow>(TMainForm::kDesignClientWidth, TMainForm::kDesignClientHeight, options);
}

// The game's sound for as long as it lives: the skin's sounds through the mixer, heard by the game only when
// an audio device opened. Sound is an extra: without a device the game plays silently.
class TGameAudio {
 public:
  explicit TGameAudio(const TGameSettings& Settings)
      : sound_(mixer_, [](const std::string& Line) { std::fprintf(stderr, "%s\n", Line.c_str()); }) {
    if (!mixer_.Ok()) std::fprintf(stderr, "morvanth: no sound: %s\n", mixer_.Error().c_str());
    sound_.SetVolume(Settings.Volume);
    sound_.SetMuted(Settings.Muted);
    if (mixer_.Ok()) SetGameSound(&sound_);
  }
  ~TGameAudio() { SetGameSound(nullptr); }
  TGameAudio(const TGameAudio&) = delete;
  TGameAudio& operator=(const TGameAudio&) = delete;

  TSkinSound& Sound() { return sound_; }

 private:
  TSdlMixer mixer_;
  TSkinSound sound_;
};

// How a run of the game ended.
struct TRunResult {
  bool Played = false;     // the main form ran (false: it failed to start, and its box has been shown)
  int ExitCode = 1;        // the program's status
  std::string ChosenSkin;  // a skin chosen on the title: the current one when it is not the one the run began on
};

TRunResult RunGame(TSdlWindow& Window, TGameAudio& Audio, const TGameSettings& Settings, const TCommandLine& Options,
                   std::optional<TKeyScript> Replay) {
  TApplication application;
  TSystemClock clock;
  TVolumeKeys volumeKeys(Window, Audio.Sound());
  TAlwaysActiveKeys stayingKeys(volumeKeys);
  TKeySource& live = Settings.AutoPause ? static_cast<TKeySource&>(volumeKeys) : stayingKeys;
  TReplaySession replay(std::move(Replay), Options.Record, CurrentSkin, live, application, clock);
  std::unique_ptr<TStateStream> stateStream;
  if (const char* target = std::getenv(TStateStream::kVariable); target != nullptr && *target != '\0') {
    stateStream = std::make_unique<TStateStream>(target);
  }
  TRunResult result;
  const std::string startSkin = CurrentSkin;
  try {
    TMainFormEnvironment environment{application, Window, Window, clock, replay.Keys(), replay.Seed()};
    environment.FrameObserver = stateStream.get();
    TMainForm form(environment);
    RunMessageLoop(application, Window, Window);
  } catch (const std::exception& e) {
    // A failure while the form is being created (the first scene, the device): the framework shows it.
    Window.MessageBoxA(e.what(), Jp("エラー"), MB_ICONEXCLAMATION | MB_OK);
    return result;
  }
  result.Played = true;
  result.ExitCode = replay.Finish() ? application.ExitCode() : 1;
  if (CurrentSkin != startSkin) result.ChosenSkin = CurrentSkin;
  return result;
}

// What the run changed in the remembered settings: the window, the sound, a skin chosen on the title.
TGameSettings SettingsToRemember(TGameSettings Settings, const TGameSettings& Loaded, const TSdlWindow& Window,
                                 const TSkinSound& Sound, const std::string& ChosenSkin) {
  Settings.Fullscreen = Window.IsFullscreen();
  // A scale lowered to fit this screen is not the player's choice: the file keeps what it had.
  if (Window.Scale() < Settings.Scale) Settings.Scale = Loaded.Scale;
  Settings.Volume = Sound.Volume();
  Settings.Muted = Sound.Muted();
  // A remembered skin that is missing this time stays remembered unless another one was chosen.
  if (!ChosenSkin.empty()) Settings.Skin = ChosenSkin;
  return Settings;
}

void SaveSettings(TSettingsStore& Store, const TGameSettings& Settings) {
  if (Settings == Store.Loaded || !Store.Writable) return;
  WriteGameSettings(Settings, Store.File);
  std::string error;
  if (!Store.File.Save(Store.Path, error)) std::fprintf(stderr, "morvanth: settings not saved: %s\n", error.c_str());
}

int Main(int argc, char** argv) {
  TCommandLine options;
  if (const std::optional<int> status = ParseOptions(argc, argv, options)) return *status;
  if (!FindSkins(options)) return 1;

  const std::string configFolder = ConfigFolder();
  TSettingsStore store = LoadSettings(configFolder);
  const TGameSettings settings = SettingsForRun(store.Loaded, options);
  std::optional<TKeyScript> replay;
  if (!options.Replay.empty()) replay = ReadReplay(options.Replay);
  SelectStartSkin({options.Skin, replay ? replay->Skin : "", options.Replay, settings.Skin});

  const std::unique_ptr<TSdlWindow> window = OpenWindow(settings, configFolder);
  TGameAudio audio(settings);
  const TRunResult run = RunGame(*window, audio, settings, options, std::move(replay));
  if (!run.Played) return run.ExitCode;
  SaveSettings(store, SettingsToRemember(settings, store.Loaded, *window, audio.Sound(), run.ChosenSkin));
  return run.ExitCode;
}

}  // namespace

int main(int argc, char** argv) {
  InitMessageLanguage(ProgramDirectory());
  try {
    return Main(argc, argv);
  } catch (const std::runtime_error& e) {
    std::fprintf(stderr, "morvanth: %s\n", e.what());
    return 1;
  }
}
