#include "ReplaySession.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "KeyPlayer.h"
#include "KeyRecorder.h"
#include "KeyScript.h"
#include "ScoreFile.h"
#include "SkinFolders.h"
#include "TextEncoding.h"

TReplaySession::TReplaySession(const std::string& RecordFile, const std::string& ReplayFile, TKeySource& Live,
                               TApplication& Application, TClock& Clock, bool KeepSkin, bool KeepClassic)
    : keys_(&Live) {
  if (!ReplayFile.empty()) {
    // A folder opens as a stream that reads nothing: it would replay as no keys at all.
    std::error_code ec;
    std::ifstream in;
    if (!std::filesystem::is_directory(ReplayFile, ec)) in.open(ReplayFile);
    if (!in.is_open() || !in) throw std::runtime_error("cannot read the replay " + ReplayFile);
    TKeyScript script;
    try {
      script = ReadKeyScript(in);
    } catch (const std::runtime_error& e) {
      throw std::runtime_error(ReplayFile + ": " + e.what());
    }
    if (in.bad()) throw std::runtime_error("cannot read the replay " + ReplayFile);
    if (!script.Skin.empty() && !KeepSkin) {
      const int index = SkinNames.IndexOf(script.Skin);
      if (index < 0)
        throw std::runtime_error(ReplayFile + ": no usable skin named \"" + ShowableText(script.Skin) + "\"");
      CurrentSkin = SkinNames[index];
    }
    // A script without a seed line runs on the headless runner's default seed, so both replay it alike.
    seed_ = script.Seed.value_or(1);
    UseRecordedScores(script, KeepClassic);
    player_ = std::make_unique<TKeyPlayer>(Live, std::move(script.Lines), [&Application] { Application.Terminate(0); });
    keys_ = player_.get();
  }
  if (!RecordFile.empty()) {
    recordName_ = RecordFile;
    recordFile_.open(RecordFile, std::ios::binary | std::ios::trunc);
    if (!recordFile_) throw std::runtime_error("cannot write the recording " + RecordFile);
    if (!seed_) seed_ = Clock.timeGetTime();
    TKeyScript header;
    header.Seed = seed_;
    header.Skin = CurrentSkin;
    header.Classic = ScoreBook.Classic;
    header.Player = ScoreBook.DefaultName;
    ScoresToScript(ScoreBook, header);
    recorder_ = std::make_unique<TKeyRecorder>(*keys_, recordFile_, header);
    keys_ = recorder_.get();
  }
}

TReplaySession::~TReplaySession() { Finish(); }

void UseRecordedScores(const TKeyScript& Script, bool KeepClassic) {
  if (Script.Classic && !KeepClassic) ScoreBook.Classic = *Script.Classic;
  if (const std::string player = CleanName(Script.Player); !player.empty()) ScoreBook.DefaultName = player;
  // The game is seen again, not played: it starts on the tables it started on, and what it enters stays here.
  ScoreBook.OnChanged = nullptr;
  ScoreBook.Clear();
  ScoresFromScript(Script, ScoreBook);
}

bool TReplaySession::Finish() {
  if (!recorder_) return true;
  if (written_) return *written_;
  recorder_->Finish();
  recordFile_.close();
  written_ = !recordFile_.fail();
  if (!*written_) std::fprintf(stderr, "morvanth: could not write the recording %s\n", recordName_.c_str());
  return *written_;
}
