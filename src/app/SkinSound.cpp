#include "SkinSound.h"

#include <algorithm>

#include "SkinFolders.h"
#include "TextEncoding.h"

TSkinSound::TSkinSound(TSdlMixer& Mixer, TReport Report) : mixer_(Mixer), report_(std::move(Report)) {
  handles_.fill(-1);
}

void TSkinSound::ReportOnce(const std::string& Key, const std::string& Line) {
  if (reported_.insert(Key).second && report_) report_(Line);
}

void TSkinSound::FollowSkin() {
  // Compared by name: no allocation on the frames that only play.
  if (loaded_ && skin_ == CurrentSkin) return;
  loaded_ = true;
  skin_ = CurrentSkin;
  mixer_.FreeEffects();
  handles_.fill(-1);
  const TSkinPlace place = CurrentSkinPlace();
  if (!place.HasSounds()) return;
  for (int e = 0; e < kSoundEffectCount; ++e) {
    const std::string stem = SoundEffectName(static_cast<TSoundEffect>(e));
    const std::string path = place.FindSound(stem);
    if (path.empty()) {
      ReportOnce(place.SkinDir + stem, "morvanth: sound: skin \"" + skin_ + "\" has no sound/" + stem +
                                           ".wav or .ogg; that event stays silent");
      continue;
    }
    std::string error;
    handles_[e] = mixer_.LoadEffect(path, error);
    if (handles_[e] < 0) ReportOnce(path, "morvanth: sound: cannot read " + path + ": " + error);
  }
}

void TSkinSound::PlayEffect(TSoundEffect Effect) {
  if (Effect >= kSoundEffectCount) return;
  FollowSkin();
  mixer_.PlayEffect(handles_[Effect], SoundEffectLimit(Effect));
}

void TSkinSound::PlayMusic(const TMusicTrack& Track) {
  FollowSkin();
  char name[24];
  MusicTrackName(Track, name, sizeof name);
  // Music is optional: a track the skin does not have is silence, not a fault.
  const std::string path = CurrentSkinPlace().FindSound(name);
  if (path == musicPath_) return;
  musicPath_ = path;
  if (path.empty()) {
    mixer_.StopMusic();
    return;
  }
  std::string error;
  if (!mixer_.PlayMusic(path, error)) {
    ReportOnce(path, "morvanth: sound: cannot play " + path + ": " + error);
  }
}

void TSkinSound::StopMusic() {
  musicPath_.clear();
  mixer_.StopMusic();
}

void TSkinSound::PauseMusic(bool Paused) { mixer_.PauseMusic(Paused); }

void TSkinSound::SetVolume(int Percent) {
  volume_ = std::clamp(Percent, 0, 100);
  mixer_.SetVolume(muted_ ? 0 : volume_);
}

void TSkinSound::SetMuted(bool Muted) {
  muted_ = Muted;
  mixer_.SetVolume(muted_ ? 0 : volume_);
}
