// The sound card through SDL_mixer: short effects held in memory and played on a small pool of channels, and
// one music file streamed and looped. Knows files and handles only; which sound an event makes is decided above.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Mix_Chunk;
struct _Mix_Music;  // NOLINT(bugprone-reserved-identifier): SDL_mixer's own name for Mix_Music

class TSdlMixer {
 public:
  static constexpr int kChannels = 8;

  // Opens the default audio device (SDL_AUDIODRIVER chooses the driver); Ok() tells whether that worked.
  TSdlMixer();
  ~TSdlMixer();
  TSdlMixer(const TSdlMixer&) = delete;
  TSdlMixer& operator=(const TSdlMixer&) = delete;

  bool Ok() const { return open_; }
  const std::string& Error() const { return error_; }

  // Reads a WAV or Ogg Vorbis file (CP932 path) into memory: its handle, or -1 with the reason in Error (also
  // for a file over the effects' budget, SoundBudget.h, which is never decoded).
  int LoadEffect(const std::string& Path, std::string& Error);
  void FreeEffects();
  // Plays an effect; when Limit copies of it already sound, the oldest of them gives way, and when every
  // channel is busy the oldest sound does.
  void PlayEffect(int Handle, int Limit);

  // Streams the file in a loop from its start (the previous music stops); false with the reason in Error (also
  // for a rate outside the accepted range).
  bool PlayMusic(const std::string& Path, std::string& Error);
  void StopMusic();
  void PauseMusic(bool Paused);

  // 0 to 100 for effects and music alike.
  void SetVolume(int Percent);

 private:
  int OldestChannel(int Handle) const;  // Handle -1: of all channels

  bool open_ = false;
  std::string error_;
  std::vector<Mix_Chunk*> effects_;
  _Mix_Music* music_ = nullptr;
  std::array<int, kChannels> owner_{};         // handle playing on each channel
  std::array<uint64_t, kChannels> started_{};  // when it began, in plays
  uint64_t plays_ = 0;
  int deviceRate_ = 22050;
  uint32_t deviceFrameBytes_ = 4;
  uint64_t spent_ = 0;  // bytes of the loaded effects
};
