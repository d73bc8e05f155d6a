#include "ReplayOptions.h"

#include <cstdio>
#include <stdexcept>

#include "KeyPlayer.h"
#include "KeyRecorder.h"
#include "KeyScript.h"
#include "SkinFolders.h"
#include "TextEncoding.h"

TReplayOptions TakeReplayOptions(int& argc, char** argv) {
  TReplayOptions options;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    std::string* target = option == "--record" ? &options.Record : option == "--replay" ? &options.Replay : nullptr;
    if (target == nullptr) {
      argv[kept++] = argv[i];
      continue;
    }
    if (i + 1 >= argc || argv[i + 1][0] == '\0') throw std::runtime_error(option + " needs a file name");
    if (!target->empty()) throw std::runtime_error(option + " is given twice");
    *target = argv[++i];
  }
  argc = kept;
  argv[argc] = nullptr;
  return options;
}

TReplaySession::TReplaySession(const TReplayOptions& Options, TKeySource& Live, TApplication& Application,
                               TClock& Clock)
    : keys_(&Live) {
  if (!Options.Replay.empty()) {
    std::ifstream in(Options.Replay);
    if (!in) throw std::runtime_error("cannot read the replay " + Options.Replay);
    TKeyScript script;
    try {
      script = ReadKeyScript(in);
    } catch (const std::runtime_error& e) {
      throw std::runtime_error(Options.Replay + ": " + e.what());
    }
    if (!script.Skin.empty()) {
      const int index = SkinNames.IndexOf(ToCP932(script.Skin));
      if (index < 0) throw std::runtime_error(Options.Replay + ": no usable skin named \"" + script.Skin + "\"");
      CurrentSkin = SkinNames[index];
    }
    // A script without a seed line runs on the headless runner's default seed, so both replay it alike.
    seed_ = script.Seed.value_or(1);
    player_ = std::make_unique<TKeyPlayer>(Live, std::move(script.Lines), [&Application] { Application.Terminate(0); });
    keys_ = player_.get();
  }
  if (!Options.Record.empty()) {
    recordName_ = Options.Record;
    recordFile_.open(Options.Record, std::ios::binary | std::ios::trunc);
    if (!recordFile_) throw std::runtime_error("cannot write the recording " + Options.Record);
    if (!seed_) seed_ = Clock.timeGetTime();
    recorder_ = std::make_unique<TKeyRecorder>(*keys_, recordFile_, *seed_, ToUTF8(CurrentSkin));
    keys_ = recorder_.get();
  }
}

TReplaySession::~TReplaySession() {
  if (!recorder_) return;
  recorder_->Finish();
  recordFile_.close();
  if (recordFile_.fail()) std::fprintf(stderr, "morvanth: could not write the recording %s\n", recordName_.c_str());
}
