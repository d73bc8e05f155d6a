#include "SoundSink.h"

#include <cstdio>
#include <iterator>

namespace {
struct TMusicInfo {
  const char* Stem;
  bool Numbered;  // the track's number follows the stem
};
#define MORVANTH_MUSIC_INFO(Id, Stem, Numbered, Comment) TMusicInfo{Stem, Numbered},
constexpr TMusicInfo kMusicTracks[] = {MORVANTH_MUSIC_TRACKS(MORVANTH_MUSIC_INFO)};
#undef MORVANTH_MUSIC_INFO

TSoundSink Silence;
TSoundSink* Current = &Silence;
}  // namespace

const char* SoundEffectName(TSoundEffect Effect) {
  return Effect < kSoundEffectCount ? kSoundEffects[Effect].Stem : "";
}

int SoundEffectLimit(TSoundEffect Effect) { return Effect < kSoundEffectCount ? kSoundEffects[Effect].Limit : 1; }

void MusicTrackName(const TMusicTrack& Track, char* Out, int OutSize) {
  const TMusicInfo& info = kMusicTracks[Track.Kind < std::size(kMusicTracks) ? Track.Kind : 0];
  if (info.Numbered) {
    std::snprintf(Out, OutSize, "%s%d", info.Stem, static_cast<int>(Track.Stage));
  } else {
    std::snprintf(Out, OutSize, "%s", info.Stem);
  }
}

TSoundSink& GameSound() { return *Current; }

void SetGameSound(TSoundSink* Sink) { Current = Sink != nullptr ? Sink : &Silence; }
