#include "KeyRecorder.h"

#include "KeyScript.h"
#include "KeyStates.h"

namespace {
TKeyScript HeaderOf(uint32_t Seed, const std::string& Skin) {
  TKeyScript header;
  header.Seed = Seed;
  header.Skin = Skin;
  return header;
}
}  // namespace

TKeyRecorder::TKeyRecorder(TKeySource& Live, std::ostream& Out, uint32_t Seed, const std::string& Skin)
    : TKeyRecorder(Live, Out, HeaderOf(Seed, Skin)) {}

TKeyRecorder::TKeyRecorder(TKeySource& Live, std::ostream& Out, const TKeyScript& Header) : live_(Live), out_(Out) {
  out_ << "# MORVANTH key recording: FRAME KEY... held from that frame on\n";
  WriteKeyScriptHeader(out_, Header);
  out_.flush();
}

TKeyRecorder::~TKeyRecorder() { Finish(); }

void TKeyRecorder::BeginFrame() {
  live_.BeginFrame();
  const bool active = live_.IsApplicationActive();
  bool changed = frame_ == 0 || active != active_;
  active_ = active;
  // Only the codes the key states sample: the snapshot is exactly what the game sees.
  for (int key = TKeyStates::kFirstKey; key <= TKeyStates::kLastKey; ++key) {
    const bool down = active && live_.IsKeyDown(static_cast<uint8_t>(key));
    changed = changed || down != down_[key];
    down_[key] = down;
  }
  if (changed && !finished_) WriteLine();
  ++frame_;
}

void TKeyRecorder::WriteLine() {
  out_ << frame_;
  for (int key = 0; key < 256; ++key) {
    if (!down_[key]) continue;
    const char* name = KeyNameOf(static_cast<uint8_t>(key));
    if (name != nullptr) {
      out_ << ' ' << name;
    } else {
      out_ << ' ' << key;
    }
  }
  if (!active_) out_ << ' ' << kAwayWord;
  // Flushed at once, so a game ended without warning (its display lost, a kill) leaves every change made
  // so far; a change is rare next to the frames, so this costs little.
  out_ << '\n';
  out_.flush();
}

void TKeyRecorder::Finish() {
  if (finished_) return;
  finished_ = true;
  out_ << frame_ << '\n';
  out_.flush();
}
