// What the game says about its sounds: the scenes and the ship report events (a shot fired, a ship lost, a stage
// begun) to the one sink of the program, which turns them into sound or a log. The sink only listens: nothing
// it does flows back into the game, so a game with sound plays exactly as one without. The default sink does
// nothing.
#pragma once
#include <cstdint>

#include "SoundTable.h"

#define MORVANTH_SOUND_ID(Id, ...) Id,
enum TSoundEffect : uint8_t { MORVANTH_SOUND_EFFECTS(MORVANTH_SOUND_ID) };
enum TMusicKind : uint8_t { MORVANTH_MUSIC_TRACKS(MORVANTH_SOUND_ID) };
#undef MORVANTH_SOUND_ID

// One effect's row of the table.
struct TSoundEffectInfo {
  const char* Stem;  // the file name without its ending ("shot" for "shot.wav" or "shot.ogg")
  int Limit;         // copies that may sound at once
};
#define MORVANTH_SOUND_EFFECT_INFO(Id, Stem, Limit, Comment) TSoundEffectInfo{Stem, Limit},
inline constexpr TSoundEffectInfo kSoundEffects[] = {MORVANTH_SOUND_EFFECTS(MORVANTH_SOUND_EFFECT_INFO)};
#undef MORVANTH_SOUND_EFFECT_INFO
inline constexpr int kSoundEffectCount = static_cast<int>(sizeof kSoundEffects / sizeof kSoundEffects[0]);

// A music track: the title's, stage Stage's (1 for the first stage), or the ending's.
struct TMusicTrack {
  TMusicKind Kind = mkTitle;
  int32_t Stage = 0;
};

// The stem of an effect's file name; "" for a value outside the table.
const char* SoundEffectName(TSoundEffect Effect);
// How many copies of Effect may sound at once (1 for a value outside the table).
int SoundEffectLimit(TSoundEffect Effect);
// The stem of a track's file name into Out ("title", "ending", "stage1"); Out holds at least 24 characters.
void MusicTrackName(const TMusicTrack& Track, char* Out, int OutSize);

class TSoundSink {
 public:
  virtual ~TSoundSink() = default;
  virtual void PlayEffect(TSoundEffect /*Effect*/) {}
  // Loops Track from its start unless it is already playing.
  virtual void PlayMusic(const TMusicTrack& /*Track*/) {}
  virtual void StopMusic() {}
  // Holds the music while the game is paused, and lets it go on afterwards.
  virtual void PauseMusic(bool /*Paused*/) {}
};

// The program's sink; a do-nothing sink unless one was installed.
TSoundSink& GameSound();
// Installs Sink as the program's sink (not owned); nullptr puts the do-nothing sink back.
void SetGameSound(TSoundSink* Sink);
