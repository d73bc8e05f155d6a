// MORVANTH: the game in its SDL window.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

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
#include "SdlWindow.h"
#include "SettingsFile.h"
#include "SettingsStore.h"
#include "SkinFolders.h"
#include "SkinSound.h"
#include "SkinWatch.h"
#include "StartUp.h"
#include "StateStream.h"
#include "TextEncoding.h"
#include "UMainForm.h"
#include "UShooting.h"
#include "Version.h"
#include "VolumeKeys.h"
#include "WindowOptions.h"

int main(int argc, char** argv) {
  InitMessageLanguage(ProgramDirectory());
  TCommandLine options;
  std::string error;
  if (!ParseCommandLine(argc, argv, options, error)) {
    std::fprintf(stderr, "morvanth: %s\n%s", error.c_str(), CommandLineUsage().c_str());
    return 2;
  }
  if (options.Help) {
    std::fputs(CommandLineUsage().c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("morvanth %s\n", kMorvanthVersion);
    return 0;
  }

  const TStartUpResult skins =
      StartUpSkins(options.Root.empty() ? ProgramDirectory() : options.Root, PlayerSkinFolders());
  if (!skins.Ok) {
    std::fprintf(stderr, "morvanth: skin folders searched: %s\n", skins.Folder.c_str());
    ShowMessageBox(skins.Message, "MORVANTH", MB_ICONEXCLAMATION | MB_OK);
    return 1;
  }

  const std::string configFolder = ConfigFolder();
  // A file that could not be read is the player's to mend: it is never overwritten.
  TSettingsStore store(configFolder.empty() ? "" : configFolder + kSettingsFileName,
                       [](const std::string& line) { std::fprintf(stderr, "morvanth: %s\n", line.c_str()); });
  const TGameSettings& loaded = store.Loaded();
  TGameSettings settings = loaded;
  if (options.Scale) {
    settings.Scale = *options.Scale;
    settings.Fullscreen = false;
  }
  if (options.Volume) settings.Volume = *options.Volume;
  if (options.Mute) settings.Muted = true;
  SelectRememberedSkin(settings.Skin);
  if (!options.Skin.empty() && !SelectRememberedSkin(options.Skin)) {
    std::fprintf(stderr, "morvanth: no usable skin named \"%s\" in %s\n", options.Skin.c_str(),
                 SearchedSkinFolders().c_str());
    return 1;
  }
  PauseWhenInactive = settings.AutoPause;
  if (options.Stage && !SkinHasStage(*options.Stage, error)) {
    std::fprintf(stderr, "morvanth: %s\n", error.c_str());
    return 2;
  }
  // The skin's folder is watched from before the first load, so no save is missed between the two.
  std::unique_ptr<TFolderWatch> folderWatch;
  std::unique_ptr<TSkinWatch> skinWatch;
  if (options.Watch) {
    try {
      folderWatch = std::make_unique<TFolderWatch>(SkinDir());
    } catch (const std::exception& e) {
      std::fprintf(stderr, "morvanth: --watch: %s\n", e.what());
      return 1;
    }
    skinWatch = std::make_unique<TSkinWatch>(*folderWatch, options.GameStart(), [](const std::string& line) {
      std::fprintf(stderr, "morvanth: %s\n", line.c_str());
      std::fflush(stderr);
    });
  }

  // The high scores: read once, written whenever a name has been entered. A file that could not be read is the
  // player's to mend, as with the settings: this session keeps its scores to itself.
  ScoreBook.Classic = options.Classic || settings.Classic;
  ScoreBook.DefaultName = CleanName(LoginName());
  if (ScoreBook.DefaultName.empty()) ScoreBook.DefaultName = kFallbackName;
  const std::string dataFolder = ProgramDataFolders().Home;
  const std::string scoresPath = dataFolder.empty() ? "" : dataFolder + kScoresFileName;
  TSettingsFile scoresFile;
  if (!scoresPath.empty() && !scoresFile.Load(scoresPath, error)) {
    std::fprintf(stderr, "morvanth: high scores not read, and not saved this session: %s\n", error.c_str());
  } else if (!scoresPath.empty()) {
    for (const std::string& problem : scoresFile.Problems()) {
      std::fprintf(stderr, "morvanth: high scores: %s\n", problem.c_str());
    }
    std::vector<std::string> skins;
    skins.reserve(static_cast<size_t>(SkinNames.Count()));
    for (int i = 0; i < SkinNames.Count(); ++i) skins.push_back(SkinNames[i]);
    ReadScoreFile(scoresFile, skins, ScoreBook);
    ScoreBook.OnChanged = [&scoresFile, &scoresPath](const TScoreBook& book) {
      std::string problem;
      WriteScoreFile(book, scoresFile);
      if (!scoresFile.Save(scoresPath, problem)) {
        std::fprintf(stderr, "morvanth: high scores not saved: %s\n", problem.c_str());
      }
    };
  }

  TSdlWindowOptions windowOptions;
  windowOptions.Scale = settings.Scale;
  windowOptions.Fullscreen = settings.Fullscreen;
  windowOptions.IntegerScaling = settings.IntegerScaling;
  windowOptions.Smooth = settings.Smooth;
  if (!configFolder.empty()) windowOptions.PadMappingFile = configFolder + "gamecontrollerdb.txt";
  windowOptions.AppId = kMorvanthAppId;
  windowOptions.IconFile = std::string(kMorvanthAppId) + ".png";
  std::unique_ptr<TSdlWindow> window;
  try {
    window = std::make_unique<TSdlWindow>(TMainForm::kDesignClientWidth, TMainForm::kDesignClientHeight, windowOptions);
  } catch (const EDisplayError& e) {
    std::fprintf(stderr, "morvanth: %s\n", e.what());
    return 1;
  }

  // Sound is an extra: without an audio device the game plays silently.
  TSdlMixer mixer;
  if (!mixer.Ok()) std::fprintf(stderr, "morvanth: no sound: %s\n", mixer.Error().c_str());
  TSkinSound sound(mixer, [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
  sound.SetVolume(settings.Volume);
  sound.SetMuted(settings.Muted);
  if (mixer.Ok()) SetGameSound(&sound);

  TApplication application;
  TSystemClock clock;
  // The keyboard with the volume keys; the game's keys through the player's bindings, pads added; the menus'
  // keys as they are. The recorder and the replay stand above the bindings: they hold the game's own codes.
  TVolumeKeys volumeKeys(*window, sound);
  TBoundKeys gameKeys(volumeKeys, &window->PadKeys(), &settings.Keys);
  TBoundKeys menuKeys(volumeKeys, &window->PadMenuKeys(), nullptr);
  TWindowOptions gameOptions(settings, menuKeys, *window, sound,
                             [&store](const TGameSettings& changed) { store.Save(changed); });
  std::unique_ptr<TReplaySession> replay;
  try {
    replay = std::make_unique<TReplaySession>(options.Record, options.Replay, gameKeys, application, clock,
                                              !options.Skin.empty(), options.Classic);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvanth: %s\n", e.what());
    return 1;
  }
  std::unique_ptr<TStateStream> stateStream;
  if (const char* target = std::getenv(TStateStream::kVariable); target != nullptr && *target != '\0') {
    try {
      stateStream = std::make_unique<TStateStream>(target);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "morvanth: %s\n", e.what());
      return 1;
    }
  }
  // A replay starts on its own skin: only a skin chosen on the title is remembered.
  const std::string startSkin = CurrentSkin;
  try {
    TMainFormEnvironment environment{application, *window, *window, clock, replay->Keys(), replay->Seed()};
    environment.FrameObserver = stateStream.get();
    if (skinWatch) {
      environment.Supervisor = skinWatch.get();
      environment.MakeFirstScene = [&](TSXScene* sprites, TKeyStates* keys) {
        return skinWatch->FirstScene(sprites, keys);
      };
      if (stateStream) stateStream->ExtraFields = [&] { return skinWatch->StateFields(); };
    } else if (options.StartsInGame()) {
      environment.MakeFirstScene = [start = options.GameStart()](TSXScene* sprites, TKeyStates* keys) {
        return std::unique_ptr<TCustomScene>(std::make_unique<TShootingScene>(sprites, keys, start));
      };
    }
    // A replay plays the game's keys of a file: the player's keyboard has nothing to set meanwhile.
    if (options.Replay.empty()) environment.Options = &gameOptions;
    TMainForm form(environment);
    RunMessageLoop(application, *window, *window);
    SetGameSound(nullptr);
  } catch (const std::exception& e) {
    SetGameSound(nullptr);
    // A failure while the form is being created (the first scene, the device): the framework shows it.
    window->MessageBoxA(e.what(), Jp("エラー"), MB_ICONEXCLAMATION | MB_OK);
    return 1;
  }

  const bool recorded = replay->Finish();
  // A game that ended after the last title (the window closed in the ending) still keeps its score.
  ScoreBook.SettlePending();
  ScoreBook.OnChanged = nullptr;

  // Remember the window and a skin chosen on the title; a remembered skin that is missing this time stays
  // remembered unless another one was chosen.
  settings.Fullscreen = window->IsFullscreen();
  // A scale lowered to fit this screen is not the player's choice: the file keeps what it had.
  if (window->Scale() < settings.Scale) settings.Scale = loaded.Scale;
  settings.Volume = sound.Volume();
  settings.Muted = sound.Muted();
  if (CurrentSkin != startSkin) settings.Skin = CurrentSkin;
  store.Save(settings);
  return recorded ? application.ExitCode() : 1;
}
