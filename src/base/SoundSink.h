// What the game says about its sounds: the scenes and the ship report events (a shot fired, a ship lost, a stage
// begun) to the one sink of the program, which turns them into sound or a log. The sink only listens: nothing
// it does flows back into the game, so a game with sound plays exactly as one without. The default sink does
// nothing.
#pragma once
#include <cstdint>

enum TSoundEffect : uint8_t {
  seShot,
  seLaser,
  seEnemyHit,
  seEnemyDestroyed,
  seBossDestroyed,
  seCapsuleCollected,
  sePowerUpBought,
  seShipLost,
  sePause,
  seStageClear,
  seGameOver,
  seTitleStart,
};
inline constexpr int kSoundEffectCount = seTitleStart + 1;

enum TMusicKind : uint8_t { mkTitle, mkStage, mkEnding };

// A music track: the title's, stage Stage's (1 for the first stage), or the ending's.
struct TMusicTrack {
  TMusicKind Kind = mkTitle;
  int32_t Stage = 0;
};

// The stem of an effect's file name ("shot" for "shot.wav" or "shot.ogg").
const char* SoundEffectName(TSoundEffect Effect);
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
