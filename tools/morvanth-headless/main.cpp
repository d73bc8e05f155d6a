// morvanth-headless: the game without a window, for tests, replays and screenshots. Same main form, scenes and
// software device as the game; frames are captured instead of shown, the clock is virtual (17 ms per frame)
// and keys come from a script, so every run of the same input gives the same frames. No audio device is ever
// opened: --sound-log writes what the game asked to hear.
//
// Index (each part begins at its "[SECTION]" line):
//   Usage and options
//   Memory figures and the form host
//   The run: skin, scores, start, frames, shots and state
//   main
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "Application.h"
#include "BoundKeys.h"
#include "CommandLine.h"
#include "FileSystem.h"
#include "FormHost.h"
#include "GameOptions.h"
#include "HeadlessWindow.h"
#include "HighScores.h"
#include "HitBoxes.h"
#include "KeyScript.h"
#include "LoginName.h"
#include "MessageText.h"
#include "PlayRecord.h"
#include "PngWriter.h"
#include "RandomKeys.h"
#include "ReplaySession.h"
#include "SceneState.h"
#include "SkinFolders.h"
#include "SoftDeviceControls.h"
#include "SoundLog.h"
#include "StartUp.h"
#include "TextEncoding.h"
#include "UMainForm.h"
#include "UShooting.h"
#include "VUDaderDevice.h"
#include "Version.h"
#include "VirtualClock.h"

// [SECTION] Usage and options

namespace {

constexpr const char* kUsage =
    "usage: morvanth-headless [--help] [--version] [--root DIR] [--frames N] [--seed N] [--input FILE] [--shot "
    "FRAME:FILE.png]...\n"
    "                         [--state FILE] [--skin NAME] [--start-scene N] [--lose-device FRAME:N]\n"
    "                         [--sound-log FILE] [--objects] [--live] [--random-keys SEED] [--rss-every N]\n"
    "                         [--stage N] [--frame F] [--power LIST] [--report FILE] [--hitboxes] [--options]\n"
    "                         [--classic]\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "  --root DIR          the folder holding skin/ (default: beside the program)\n"
    "  --frames N          frames to run (default 600)\n"
    "  --seed N            the random seed (default: the input's seed line, else 1)\n"
    "  --input FILE        a key script or recording: \"FRAME KEY...\" lines\n"
    "  --shot FRAME:FILE.png  write the picture shown after FRAME as PNG; may be repeated\n"
    "  --state FILE        one JSON line per frame (\"-\": standard output)\n"
    "  --skin NAME         start with this skin (default: the input's skin line, else the game's)\n"
    "  --start-scene N     start with scene 0 (title), 1 (game) or 2 (ending)\n"
    "  --lose-device FRAME:N  lose the device before FRAME for N polls of the frame loop\n"
    "  --sound-log FILE    write each sound the game asks for, one line each\n"
    "  --objects           add the hit rectangles to the game's state lines, each enemy with its script id,\n"
    "                      group and hit points, and the enemies that ended in the frame (\"gone\")\n"
    "  --live              read each frame's keys from standard input, one line per frame\n"
    "  --random-keys SEED  random play instead of --input: Enter, Z, C, the arrows and left Ctrl pressed and\n"
    "                      released at random, the same keys for the same SEED\n"
    "  --rss-every N       after every N-th frame, print \"rss FRAME KIB\" (resident memory) on standard output;\n"
    "                      at the end, \"peak_rss KIB\"\n"
    "  --stage N           begin the game in stage N (from 1), skipping the title\n"
    "  --frame F           begin at stage frame F, as a restart there would\n"
    "  --power LIST        begin with power-ups: double or laser, speed=4..9, options=0..4 (e.g. double,options=2)\n"
    "  --report FILE       at the end, write per stage the groups' enemies spawned, destroyed, escaped and\n"
    "                      the capsules paid, and every script enemy's hits taken (JSON)\n"
    "  --hitboxes          outline every hit rectangle in the --shot pictures\n"
    "  --options           the options screen on the title (Tab), its keys the input's as they are, the game's\n"
    "                      through the keys bound there; its settings last for the run\n"
    "  --classic           the original screen: no lives, score or high scores (default: the input's classic\n"
    "                      line, else scores shown); the high scores are the input's, and nothing is kept\n";

struct TOptions {
  std::string Root;
  uint32_t Frames = 600;
  std::optional<uint32_t> Seed;  // given: overrides the input's seed line; neither: 1
  std::string Input;
  std::multimap<uint32_t, std::string> Shots;
  std::string State;
  std::string SoundLog;
  std::string Skin;
  uint8_t StartScene = 0;
  bool Help = false;
  bool Version = false;
  // The state line also lists the hit rectangles of ship, enemies, bullets and capsules.
  bool Objects = false;
  // Keys come from standard input, one line per frame, and every state line is flushed at once: a controller
  // (a play-testing bot) answers each frame's state with the next frame's keys.
  bool Live = false;
  // The device is lost before frame LoseAt and stays lost for LoseFor polls of the frame loop (0: never).
  uint32_t LoseAt = 0;
  uint32_t LoseFor = 0;
  std::optional<uint32_t> RandomKeys;
  uint32_t RssEvery = 0;
  std::optional<int32_t> Stage;
  std::optional<uint32_t> Frame;
  std::optional<TShipPower> Power;
  std::string Report;
  bool HitBoxes = false;
  bool Options = false;
  bool Classic = false;
};

class EUsage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

uint32_t ParseNumber(const std::string& Text, const char* What) {
  if (Text.empty() || Text.size() > 10 || Text.find_first_not_of("0123456789") != std::string::npos) {
    throw EUsage(std::string("bad ") + What + " \"" + Text + "\"");
  }
  const unsigned long long value = std::stoull(Text);
  if (value > UINT32_MAX) throw EUsage(std::string("bad ") + What + " \"" + Text + "\"");
  return static_cast<uint32_t>(value);
}

TOptions ParseOptions(int argc, char** argv) {
  TOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw EUsage(option + " needs a value");
      return argv[++i];
    };
    if (option == "--help" || option == "-h") {
      options.Help = true;
    } else if (option == "--version") {
      options.Version = true;
    } else if (option == "--root") {
      options.Root = value();
    } else if (option == "--frames") {
      options.Frames = ParseNumber(value(), "frame count");
    } else if (option == "--seed") {
      options.Seed = ParseNumber(value(), "seed");
    } else if (option == "--input") {
      options.Input = value();
    } else if (option == "--shot") {
      const std::string shot = value();
      const size_t colon = shot.find(':');
      if (colon == std::string::npos || colon + 1 == shot.size()) throw EUsage("--shot wants FRAME:FILE.png");
      options.Shots.emplace(ParseNumber(shot.substr(0, colon), "shot frame"), shot.substr(colon + 1));
    } else if (option == "--lose-device") {
      const std::string loss = value();
      const size_t colon = loss.find(':');
      if (colon == std::string::npos) throw EUsage("--lose-device wants FRAME:N");
      options.LoseAt = ParseNumber(loss.substr(0, colon), "loss frame");
      options.LoseFor = ParseNumber(loss.substr(colon + 1), "loss length");
    } else if (option == "--random-keys") {
      options.RandomKeys = ParseNumber(value(), "random key seed");
    } else if (option == "--rss-every") {
      options.RssEvery = ParseNumber(value(), "frame count");
      if (options.RssEvery == 0) throw EUsage("--rss-every wants at least 1");
    } else if (option == "--state") {
      options.State = value();
    } else if (option == "--sound-log") {
      options.SoundLog = value();
    } else if (option == "--objects") {
      options.Objects = true;
    } else if (option == "--stage") {
      const uint32_t stage = ParseNumber(value(), "stage number");
      if (stage < 1 || stage > static_cast<uint32_t>(kMaxStage)) throw EUsage("--stage counts stages from 1");
      options.Stage = static_cast<int32_t>(stage);
    } else if (option == "--frame") {
      options.Frame = ParseNumber(value(), "stage frame");
    } else if (option == "--power") {
      TShipPower power;
      std::string error;
      if (!ParsePowerList(value(), power, error)) throw EUsage(error);
      options.Power = power;
    } else if (option == "--report") {
      options.Report = value();
    } else if (option == "--hitboxes") {
      options.HitBoxes = true;
    } else if (option == "--live") {
      options.Live = true;
    } else if (option == "--options") {
      options.Options = true;
    } else if (option == "--classic") {
      options.Classic = true;
    } else if (option == "--skin") {
      options.Skin = value();
    } else if (option == "--start-scene") {
      const uint32_t scene = ParseNumber(value(), "scene number");
      if (scene >= static_cast<uint32_t>(kSceneCount)) throw EUsage("--start-scene wants 0, 1 or 2");
      options.StartScene = static_cast<uint8_t>(scene);
    } else {
      throw EUsage("unknown option " + option);
    }
  }
  if (options.RandomKeys && !options.Input.empty()) throw EUsage("--random-keys and --input exclude each other");
  if (options.HitBoxes && options.Shots.empty()) throw EUsage("--hitboxes draws on the --shot pictures: give one");
  return options;
}

// [SECTION] Memory figures and the form host

// Resident memory of this process in KiB, from /proc/self/statm; 0 when it cannot be read.
uint64_t ResidentKiB() {
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  unsigned long long size = 0, resident = 0;
  const bool read = std::fscanf(statm, "%llu %llu", &size, &resident) == 2;
  std::fclose(statm);
  return read ? resident * static_cast<uint64_t>(sysconf(_SC_PAGESIZE)) / 1024 : 0;
}

uint64_t PeakResidentKiB() {
  rusage usage{};
  return getrusage(RUSAGE_SELF, &usage) == 0 ? static_cast<uint64_t>(usage.ru_maxrss) : 0;
}

// Form services without a screen: the error box becomes a message on standard error.
class THeadlessFormHost : public TFormHost {
 public:
  void SetCaption(const std::string&) override {}
  void SetScreenCursor(int) override {}
  int MessageBoxA(const std::string& Text, const std::string& Caption, uint32_t) override {
    std::fprintf(stderr, "%s: %s\n", LocalizeMessage(Caption).c_str(), LocalizeMessage(Text).c_str());
    return IDOK;
  }
};

// [SECTION] The run: skin, scores, start, frames, shots and state

int Run(const TOptions& Options) {
  const std::string root = Options.Root.empty() ? ProgramDirectory() : Options.Root;
  const TStartUpResult skins = StartUpSkins(root, PlayerSkinFolders());
  if (!skins.Ok) {
    std::fprintf(stderr, "morvanth-headless: %s (skin folders searched: %s)\n", LocalizeMessage(skins.Message).c_str(),
                 skins.Folder.c_str());
    return 1;
  }

  TKeyScript script;
  if (!Options.Input.empty()) {
    // A folder opens as a stream that reads nothing: it would run as an empty script.
    std::error_code ec;
    std::ifstream in;
    if (!std::filesystem::is_directory(Options.Input, ec)) in.open(Options.Input);
    if (in) script = ReadKeyScript(in);
    if (!in.is_open() || in.bad()) {
      std::fprintf(stderr, "morvanth-headless: cannot read the input file %s\n", Options.Input.c_str());
      return 1;
    }
  }
  // The scores as the input recorded them (the runner never keeps any): its tables, its player, its screen.
  ScoreBook.Classic = Options.Classic;
  ScoreBook.DefaultName = CleanName(LoginName());
  if (ScoreBook.DefaultName.empty()) ScoreBook.DefaultName = kFallbackName;
  UseRecordedScores(script, Options.Classic);
  const std::string skin = Options.Skin.empty() ? script.Skin : Options.Skin;
  if (!skin.empty()) {
    if (!SelectRememberedSkin(skin)) {
      std::fprintf(stderr, "morvanth-headless: no usable skin named \"%s\" in %s\n", ShowableText(skin).c_str(),
                   SearchedSkinFolders().c_str());
      return 1;
    }
  }
  if (Options.Stage) {
    std::string error;
    if (!SkinHasStage(*Options.Stage, error)) {
      std::fprintf(stderr, "morvanth-headless: %s\n", error.c_str());
      return 2;
    }
  }
  std::ofstream report;
  if (!Options.Report.empty()) {
    report.open(Options.Report, std::ios::binary | std::ios::trunc);
    if (!report) {
      std::fprintf(stderr, "morvanth-headless: cannot write the report %s\n", Options.Report.c_str());
      return 1;
    }
  }
  std::ofstream state;
  if (Options.State == "-") {
    state.open("/dev/stdout", std::ios::binary);
  } else if (!Options.State.empty()) {
    state.open(Options.State, std::ios::binary | std::ios::trunc);
    if (!state) {
      std::fprintf(stderr, "morvanth-headless: cannot write the state file %s\n", Options.State.c_str());
      return 1;
    }
  }

  std::ofstream soundFile;
  if (!Options.SoundLog.empty()) {
    soundFile.open(Options.SoundLog, std::ios::binary | std::ios::trunc);
    if (!soundFile) {
      std::fprintf(stderr, "morvanth-headless: cannot write the sound log %s\n", Options.SoundLog.c_str());
      return 1;
    }
  }
  TSoundLog soundLog(soundFile);
  // Installed for this run only; the sink goes back to silence however the run ends.
  struct TSoundScope {
    explicit TSoundScope(TSoundSink* Sink) { SetGameSound(Sink); }
    ~TSoundScope() { SetGameSound(nullptr); }
  } soundScope(soundFile.is_open() ? &soundLog : nullptr);
  TPlayRecord record;
  const bool recording = report.is_open() || Options.Objects;
  struct TRecordScope {
    explicit TRecordScope(TPlayObserver* Observer) { SetPlayObserver(Observer); }
    ~TRecordScope() { SetPlayObserver(nullptr); }
  } recordScope(recording ? &record : nullptr);

  TApplication application;
  THeadlessFormHost host;
  THeadlessWindow window(TMainForm::kDesignClientWidth, TMainForm::kDesignClientHeight);
  TVirtualClock clock(1000);
  TScriptedKeySource keys(std::move(script.Lines));
  // With the options screen, the input plays the keyboard: the screen reads it as it is, the game through the
  // keys bound on the screen.
  TGameSettings settings;
  TBoundKeys boundKeys(keys, nullptr, &settings.Keys);
  TGameOptions gameOptions(settings, keys);
  std::optional<TRandomKeys> randomKeys;
  if (Options.RandomKeys) randomKeys.emplace(*Options.RandomKeys);
  try {
    const uint32_t seed = Options.Seed.value_or(script.Seed.value_or(1));
    TKeySource& gameKeys = Options.Options ? static_cast<TKeySource&>(boundKeys) : keys;
    TMainFormEnvironment environment{application, host, window,       clock,
                                     gameKeys,    seed, SceneClasses, Options.StartScene};
    if (Options.Options) environment.Options = &gameOptions;
    if (Options.Stage || Options.Frame || Options.Power) {
      TGameStart start;
      start.Stage = Options.Stage.value_or(1);
      start.Frame = Options.Frame.value_or(0);
      start.Power = Options.Power.value_or(TShipPower{});
      environment.MakeFirstScene = [start](TSXScene* Sprites, TKeyStates* KeyStates) {
        return std::unique_ptr<TCustomScene>(std::make_unique<TShootingScene>(Sprites, KeyStates, start));
      };
    }
    TMainForm form(environment);
    for (uint32_t frame = 0; frame < Options.Frames && !application.Terminated(); ++frame) {
      if (!application.OnIdle) break;
      clock.Advance(TMainForm::kFrameMilliseconds);
      if (Options.Live) {
        std::string line;
        if (!std::getline(std::cin, line)) break;
        keys.ReleaseAll();
        keys.SetActive(true);
        std::istringstream names(line);
        for (std::string name; names >> name;) {
          if (IsAwayWord(name)) {
            keys.SetActive(false);
            continue;
          }
          const int key = VirtualKeyFromName(name);
          if (key < 0) throw std::runtime_error("unknown key \"" + name + "\" on standard input");
          keys.SetKey(static_cast<uint8_t>(key), true);
        }
      } else if (randomKeys) {
        randomKeys->Step(keys);
      } else {
        keys.SetFrame(frame);
      }
      soundLog.SetFrame(frame);
      if (Options.LoseFor > 0 && frame == Options.LoseAt && form.DG()->D3DDevice() != nullptr) {
        D3D9LoseDevice(form.DG()->D3DDevice(), Options.LoseFor);
      }
      const TApplication::TIdleEvent idle = application.OnIdle;  // it may detach itself while it runs
      bool done = true;
      idle(done);
      if (state.is_open()) {
        state << DescribeSceneState(frame, form.CurrentScene(), Options.Objects, form.Options(),
                                    Options.Objects ? record.TakeGone() : std::string())
              << '\n';
        if (Options.Live) state.flush();
        if (!state) break;
      }
      if (soundFile.is_open() && !soundFile) break;
      auto [first, last] = Options.Shots.equal_range(frame);
      for (auto it = first; it != last; ++it) {
        if (!Options.HitBoxes) {
          window.Capture().SavePng(it->second);
          continue;
        }
        const THeadlessPresenter& capture = window.Capture();
        if (capture.LastFrame().empty()) throw Exception("no frame has been presented yet: " + it->second);
        std::vector<uint32_t> pixels = capture.LastFrame();
        DrawHitBoxes(form.CurrentScene(), pixels, capture.Width(), capture.Height());
        WritePng(it->second, pixels.data(), capture.Width(), capture.Height(), capture.Width() * 4);
      }
      if (Options.RssEvery > 0 && (frame + 1) % Options.RssEvery == 0) {
        std::printf("rss %u %llu\n", frame, static_cast<unsigned long long>(ResidentKiB()));
      }
    }
    if (Options.RssEvery > 0) std::printf("peak_rss %llu\n", static_cast<unsigned long long>(PeakResidentKiB()));
    if (report.is_open()) record.WriteReport(report, form.CurrentScene());
  } catch (const Exception& e) {
    host.MessageBoxA(e.Message(), Jp("エラー"), MB_ICONEXCLAMATION | MB_OK);
    return 1;
  }
  // A full disk shows only when the buffers go out: the run failed if what it was asked to write is not there.
  if (state.is_open() && !state.flush()) {
    std::fprintf(stderr, "morvanth-headless: could not write the state file %s\n", Options.State.c_str());
    return 1;
  }
  if (report.is_open() && !report.flush()) {
    std::fprintf(stderr, "morvanth-headless: could not write the report %s\n", Options.Report.c_str());
    return 1;
  }
  if (soundFile.is_open() && !soundFile.flush()) {
    std::fprintf(stderr, "morvanth-headless: could not write the sound log %s\n", Options.SoundLog.c_str());
    return 1;
  }
  return application.ExitCode();
}

}  // namespace

// [SECTION] main

int main(int argc, char** argv) {
  InitMessageLanguage(ProgramDirectory());
  try {
    const TOptions options = ParseOptions(argc, argv);
    if (options.Help) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (options.Version) {
      std::printf("morvanth-headless %s\n", kMorvanthVersion);
      return 0;
    }
    return Run(options);
  } catch (const EUsage& e) {
    std::fprintf(stderr, "morvanth-headless: %s\n%s", e.what(), kUsage);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvanth-headless: %s\n", e.what());
    return 1;
  }
}
