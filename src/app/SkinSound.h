// The game's sounds from the current skin: each event of the game plays the effect file of its name found in
// the skin's "sound" folder or the system skin's, each stage its own music. Effects are loaded when a skin
// is first heard and again when the title picks another one. A skin without sounds is silent; a file that is
// missing from a skin that has sounds, or that cannot be read, is reported once and stays silent.
#pragma once
#include <array>
#include <functional>
#include <set>
#include <string>

#include "SdlMixer.h"
#include "SoundSink.h"

class TSkinSound : public TSoundSink {
 public:
  using TReport = std::function<void(const std::string& Line)>;

  // Report receives each problem once (standard error in the game).
  TSkinSound(TSdlMixer& Mixer, TReport Report);

  void PlayEffect(TSoundEffect Effect) override;
  void PlayMusic(const TMusicTrack& Track) override;
  void StopMusic() override;
  void PauseMusic(bool Paused) override;

  // Volume 0 to 100, and mute on top of it.
  void SetVolume(int Percent);
  int Volume() const { return volume_; }
  void SetMuted(bool Muted);
  bool Muted() const { return muted_; }

 private:
  void FollowSkin();
  void ReportOnce(const std::string& Key, const std::string& Line);

  TSdlMixer& mixer_;
  TReport report_;
  std::string skin_;  // the skin whose effects are loaded
  bool loaded_ = false;
  std::array<int, kSoundEffectCount> handles_{};
  std::string musicPath_;  // what plays now, "" for silence
  std::set<std::string> reported_;
  int volume_ = 100;
  bool muted_ = false;
};
