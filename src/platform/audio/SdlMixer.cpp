#include "SdlMixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "TextEncoding.h"

namespace {
constexpr int kRate = 22050;
constexpr int kBufferSamples = 1024;  // about 46 ms at 22,050 Hz: short enough for a shot to follow the key

// The audio back-ends SDL tries (ALSA above all) write their own complaints to standard error when there is no
// sound card; the game reports the outcome in one line of its own, so they are kept quiet meanwhile.
class TQuietStandardError {
 public:
  TQuietStandardError() : saved_(dup(STDERR_FILENO)) {
    const int null = open("/dev/null", O_WRONLY);
    if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~TQuietStandardError() {
    if (saved_ < 0) return;
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  TQuietStandardError(const TQuietStandardError&) = delete;
  TQuietStandardError& operator=(const TQuietStandardError&) = delete;

 private:
  int saved_;
};
}  // namespace

TSdlMixer::TSdlMixer() {
  owner_.fill(-1);
  const TQuietStandardError quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error_ = SDL_GetError();
    return;
  }
  Mix_Init(MIX_INIT_OGG);
  if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kBufferSamples) != 0) {
    error_ = Mix_GetError();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  Mix_AllocateChannels(kChannels);
  open_ = true;
}

TSdlMixer::~TSdlMixer() {
  if (!open_) return;
  StopMusic();
  Mix_HaltChannel(-1);
  FreeEffects();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int TSdlMixer::LoadEffect(const std::string& Path, std::string& Error) {
  if (!open_) {
    Error = error_;
    return -1;
  }
  Mix_Chunk* chunk = Mix_LoadWAV(Path.c_str());
  if (chunk == nullptr) {
    Error = Mix_GetError();
    return -1;
  }
  effects_.push_back(chunk);
  return static_cast<int>(effects_.size()) - 1;
}

void TSdlMixer::FreeEffects() {
  if (!open_) return;
  Mix_HaltChannel(-1);
  owner_.fill(-1);
  for (Mix_Chunk* chunk : effects_) Mix_FreeChunk(chunk);
  effects_.clear();
}

int TSdlMixer::OldestChannel(int Handle) const {
  int oldest = -1;
  for (int c = 0; c < kChannels; ++c) {
    if (Handle >= 0 && (owner_[c] != Handle || Mix_Playing(c) == 0)) continue;
    if (oldest < 0 || started_[c] < started_[oldest]) oldest = c;
  }
  return oldest;
}

void TSdlMixer::PlayEffect(int Handle, int Limit) {
  if (!open_ || Handle < 0 || Handle >= static_cast<int>(effects_.size())) return;
  int copies = 0;
  for (int c = 0; c < kChannels; ++c) copies += owner_[c] == Handle && Mix_Playing(c) != 0;
  int channel = copies >= Limit ? OldestChannel(Handle) : -1;
  if (channel >= 0) Mix_HaltChannel(channel);
  channel = Mix_PlayChannel(channel, effects_[Handle], 0);
  if (channel < 0) {  // every channel busy
    channel = OldestChannel(-1);
    Mix_HaltChannel(channel);
    channel = Mix_PlayChannel(channel, effects_[Handle], 0);
  }
  if (channel < 0 || channel >= kChannels) return;
  owner_[channel] = Handle;
  started_[channel] = ++plays_;
}

bool TSdlMixer::PlayMusic(const std::string& Path, std::string& Error) {
  StopMusic();
  if (!open_) {
    Error = error_;
    return false;
  }
  music_ = Mix_LoadMUS(Path.c_str());
  if (music_ == nullptr || Mix_PlayMusic(music_, -1) != 0) {
    Error = Mix_GetError();
    StopMusic();
    return false;
  }
  return true;
}

void TSdlMixer::StopMusic() {
  if (!open_ || music_ == nullptr) return;
  Mix_HaltMusic();
  Mix_FreeMusic(music_);
  music_ = nullptr;
}

void TSdlMixer::PauseMusic(bool Paused) {
  if (!open_ || music_ == nullptr) return;
  if (Paused) {
    Mix_PauseMusic();
  } else {
    Mix_ResumeMusic();
  }
}

void TSdlMixer::SetVolume(int Percent) {
  if (!open_) return;
  const int volume = MIX_MAX_VOLUME * std::clamp(Percent, 0, 100) / 100;
  Mix_Volume(-1, volume);
  Mix_VolumeMusic(volume);
}
