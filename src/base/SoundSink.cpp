#include "SoundSink.h"

#include <cstdio>

namespace {
constexpr const char* kEffectNames[kSoundEffectCount] = {"shot",          "laser",      "enemyhit", "enemydestroyed",
                                                         "bossdestroyed", "capsule",    "powerup",  "shiplost",
                                                         "pause",         "stageclear", "gameover", "titlestart"};

TSoundSink silence;
TSoundSink* current = &silence;
}  // namespace

const char* SoundEffectName(TSoundEffect Effect) { return Effect < kSoundEffectCount ? kEffectNames[Effect] : ""; }

void MusicTrackName(const TMusicTrack& Track, char* Out, int OutSize) {
  switch (Track.Kind) {
    case mkTitle: std::snprintf(Out, OutSize, "title"); break;
    case mkEnding: std::snprintf(Out, OutSize, "ending"); break;
    default: std::snprintf(Out, OutSize, "stage%d", static_cast<int>(Track.Stage)); break;
  }
}

TSoundSink& GameSound() { return *current; }

void SetGameSound(TSoundSink* Sink) { current = Sink != nullptr ? Sink : &silence; }
