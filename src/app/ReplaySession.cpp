#include "ReplaySession.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "KeyPlayer.h"
#include "KeyRecorder.h"

TKeyScript ReadReplay(const std::string& File) {
  // A folder opens as a stream that reads nothing: it would replay as no keys at all.
  std::error_code ec;
  std::ifstream in;
  if (!std::filesystem::is_directory(File, ec)) in.open(File);
  if (!in.is_open() || !in) throw std::runtime_error("cannot read the replay " + File);
  TKeyScript script;
  try {
    script = ReadKeyScript(in);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(File + ": " + e.what());
  }
  if (in.bad()) throw std::runtime_error("cannot read the replay " + File);
  return script;
}

TReplaySession::TReplaySession(std::optional<TKeyScript> Replay, const std::string& RecordFile, const std::string& Skin,
                               TKeySource& Live, TApplication& Application, TClock& Clock)
    : keys_(&Live) {
  if (Replay) {
    // A script without a seed line runs on the headless runner's default seed, so both replay it alike.
    seed_ = Replay->Seed.value_or(1);
    player_ =
        std::make_unique<TKeyPlayer>(Live, std::move(Replay->Lines), [&Application] { Application.Terminate(0); });
    keys_ = player_.get();
  }
  if (!RecordFile.empty()) {
    recordName_ = RecordFile;
    recordFile_.open(RecordFile, std::ios::binary | std::ios::trunc);
    if (!recordFile_) throw std::runtime_error("cannot write the recording " + RecordFile);
    if (!seed_) seed_ = Clock.timeGetTime();
    recorder_ = std::make_unique<TKeyRecorder>(*keys_, recordFile_, *seed_, Skin);
    keys_ = recorder_.get();
  }
}

TReplaySession::~TReplaySession() { Finish(); }

bool TReplaySession::Finish() {
  if (!recorder_) return true;
  if (written_) return *written_;
  recorder_->Finish();
  recordFile_.close();
  written_ = !recordFile_.fail();
  if (!*written_) std::fprintf(stderr, "morvanth: could not write the recording %s\n", recordName_.c_str());
  return *written_;
}
