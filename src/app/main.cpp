// MORVANTH: the game in its SDL window. main runs its phases one function each: the command line, the skins,
// the settings and the skin and stage the run starts on, the skin watch, the high scores, the window, the sound,
// the game itself, and saving what the player changed. The program's own failures on the way are
// std::runtime_errors with a message for the player, caught once in main: standard error and status 1. The
// game's own errors are boxes the main form shows.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "AlwaysActiveKeys.h"
#include "Application.h"
#include "BoundKeys.h"
#include "Clock.h"
#include "CommandLine.h"
#include "DataFolders.h"
#include "FileSystem.h"
#include "FolderWatch.h"
#include "GameSettings.h"
#include "HighScores.h"
#include "LoginName.h"
#include "MessageLoop.h"
#include "MessageText.h"
#include "ReplaySession.h"
#include "ScoreFile.h"
#include "SdlMixer.h"
#include "SdlWindow.h"
#include "SettingsFile.h"
#include "SettingsStore.h"
#include "SkinFolders.h"
#include "SkinSound.h"
#include "SkinWatch.h"
#include "SoundSink.h"
#include "StartUp.h"
#include "StateStream.h"
#include "TextEncoding.h"
#include "UMainForm.h"
#include "UShooting.h"
#include "Version.h"
#include "VolumeKeys.h"
#include "WindowOptions.h"

namespace {

void Report(const std::string& Line) {
  std::fprintf(stderr, "morvanth: %s\n", Line.c_str());
  std::fflush(stderr);
}

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

// The skin the run starts on (one named on the command line before the remembered one; a replay later puts
// its own in place unless a skin was named) and the stage it may start in. A named skin that is not usable
// ends the run (status 1), as does a stage the skin does not have (status 2, a usage error).
std::optional<int> ChooseStart(const TCommandLine& Options, const TGameSettings& Settings) {
  SelectRememberedSkin(Settings.Skin);
  if (!Options.Skin.empty() && !SelectRememberedSkin(Options.Skin)) {
    Report("no usable skin named \"" + Options.Skin + "\" in " + SearchedSkinFolders());
    return 1;
  }
  std::string error;
  if (Options.Stage && !SkinHasStage(*Options.Stage, error)) {
    Report(error);
    return 2;
  }
  return std::nullopt;
}

// --watch: the skin's folder, watched from before the first load so that no save is missed between the two.
struct TWatchedSkin {
  std::unique_ptr<TFolderWatch> Folder;
  std::unique_ptr<TSkinWatch> Skin;
};

TWatchedSkin WatchSkin(const TCommandLine& Options) {
  TWatchedSkin watched;
  if (!Options.Watch) return watched;
  try {
    watched.Folder = std::make_unique<TFolderWatch>(SkinDir());
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string("--watch: ") + e.what());
  }
  watched.Skin = std::make_unique<TSkinWatch>(*watched.Folder, Options.GameStart(), Report);
  return watched;
}

// The high scores of ScoreBook for the session: read at the start, written whenever a name has been entered.
// A file that could not be read is the player's to mend, as with the settings: this session keeps its scores
// to itself. Ends with a game that ended after the last title (the window closed in the ending) still counted.
class TScoreStore {
 public:
  TScoreStore(const TCommandLine& Options, const TGameSettings& Settings) {
    ScoreBook.Classic = Options.Classic || Settings.Classic;
    ScoreBook.DefaultName = CleanName(LoginName());
    if (ScoreBook.DefaultName.empty()) ScoreBook.DefaultName = kFallbackName;
    const std::string dataFolder = ProgramDataFolders().Home;
    if (dataFolder.empty()) return;
    path_ = dataFolder + kScoresFileName;
    std::string error;
    if (!file_.Load(path_, error)) {
      Report("high scores not read, and not saved this session: " + error);
      return;
    }
    for (const std::string& problem : file_.Problems()) Report("high scores: " + problem);
    std::vector<std::string> skins;
    skins.reserve(static_cast<size_t>(SkinNames.Count()));
    for (int i = 0; i < SkinNames.Count(); ++i) skins.push_back(SkinNames[i]);
    ReadScoreFile(file_, skins, ScoreBook);
    ScoreBook.OnChanged = [this](const TScoreBook& Book) { Save(Book); };
  }
  ~TScoreStore() {
    ScoreBook.SettlePending();
    ScoreBook.OnChanged = nullptr;
  }
  TScoreStore(const TScoreStore&) = delete;
  TScoreStore& operator=(const TScoreStore&) = delete;

 private:
  void Save(const TScoreBook& Book) {
    std::string problem;
    WriteScoreFile(Book, file_);
    if (!file_.Save(path_, problem)) Report("high scores not saved: " + problem);
  }

  std::string path_;
  TSettingsFile file_;
};

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
    if (!mixer_.Ok()) Report("no sound: " + mixer_.Error());
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

// Runs the game; the options screen changes Settings (and saves them through Store) as the player goes.
TRunResult RunGame(TSdlWindow& Window, TGameAudio& Audio, TGameSettings& Settings, TSettingsStore& Store,
                   const TCommandLine& Options, TSkinWatch* Watch) {
  TApplication application;
  TSystemClock clock;
  // The keyboard with the volume keys; the game's keys through the player's bindings, pads added, and the
  // pause on leaving as the settings have it; the menus' keys as they are. The recorder and the replay stand
  // above: they hold the game's own codes.
  TVolumeKeys volumeKeys(Window, Audio.Sound());
  TBoundKeys boundKeys(volumeKeys, &Window.PadKeys(), &Settings.Keys);
  TAlwaysActiveKeys gameKeys(boundKeys, Settings.AutoPause);
  TBoundKeys menuKeys(volumeKeys, &Window.PadMenuKeys(), nullptr);
  TWindowOptions gameOptions(Settings, menuKeys, Window, Audio.Sound(),
                             [&Store](const TGameSettings& Changed) { Store.Save(Changed); });
  // After the skin scan and ScoreBook's set-up: a replay puts its own skin and scores in place.
  TReplaySession replay(Options.Record, Options.Replay, gameKeys, application, clock, !Options.Skin.empty(),
                        Options.Classic);
  std::unique_ptr<TStateStream> stateStream;
  if (const char* target = std::getenv(TStateStream::kVariable); target != nullptr && *target != '\0') {
    stateStream = std::make_unique<TStateStream>(target);
  }
  TRunResult result;
  // A replay starts on its own skin: only a skin chosen on the title is remembered.
  const std::string startSkin = CurrentSkin;
  try {
    TMainFormEnvironment environment{application, Window, Window, clock, replay.Keys(), replay.Seed()};
    environment.FrameObserver = stateStream.get();
    if (Watch != nullptr) {
      environment.Supervisor = Watch;
      environment.MakeFirstScene = [Watch](TSXScene* Sprites, TKeyStates* Keys) {
        return Watch->FirstScene(Sprites, Keys);
      };
      if (stateStream) stateStream->ExtraFields = [Watch] { return Watch->StateFields(); };
    } else if (Options.StartsInGame()) {
      environment.MakeFirstScene = [start = Options.GameStart()](TSXScene* Sprites, TKeyStates* Keys) {
        return std::unique_ptr<TCustomScene>(std::make_unique<TShootingScene>(Sprites, Keys, start));
      };
    }
    // A replay plays the game's keys of a file: the player's keyboard has nothing to set meanwhile.
    if (Options.Replay.empty()) environment.Options = &gameOptions;
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

int Main(int argc, char** argv) {
  TCommandLine options;
  if (const std::optional<int> status = ParseOptions(argc, argv, options)) return *status;
  if (!FindSkins(options)) return 1;

  const std::string configFolder = ConfigFolder();
  // A file that could not be read is the player's to mend: it is never overwritten.
  TSettingsStore store(configFolder.empty() ? "" : configFolder + kSettingsFileName, Report);
  TGameSettings settings = SettingsForRun(store.Loaded(), options);
  if (const std::optional<int> status = ChooseStart(options, settings)) return *status;
  const TWatchedSkin watched = WatchSkin(options);
  const TScoreStore scores(options, settings);

  const std::unique_ptr<TSdlWindow> window = OpenWindow(settings, configFolder);
  TGameAudio audio(settings);
  const TRunResult run = RunGame(*window, audio, settings, store, options, watched.Skin.get());
  if (!run.Played) return run.ExitCode;
  store.Save(SettingsToRemember(settings, store.Loaded(), *window, audio.Sound(), run.ChosenSkin));
  return run.ExitCode;
}

}  // namespace

int main(int argc, char** argv) {
  InitMessageLanguage(ProgramDirectory());
  try {
    return Main(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvanth: %s\n", e.what());
    return 1;
  }
}
