#include "SoundLog.h"

void TSoundLog::PlayEffect(TSoundEffect Effect) { out_ << frame_ << " effect " << SoundEffectName(Effect) << '\n'; }

void TSoundLog::PlayMusic(const TMusicTrack& Track) {
  char name[24];
  MusicTrackName(Track, name, sizeof name);
  out_ << frame_ << " music " << name << '\n';
}

void TSoundLog::StopMusic() { out_ << frame_ << " music stop\n"; }

void TSoundLog::PauseMusic(bool Paused) { out_ << frame_ << " music " << (Paused ? "pause" : "resume") << '\n'; }
