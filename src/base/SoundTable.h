// The game's sound vocabulary, one row a sound. A new effect is one row here (and a recipe in
// tools/soundgen/make_sounds.py, which reads these rows to know what to make; its --check fails while a row has
// no recipe or a recipe no row). The enumerators, the file stems, the limits and the generator all follow.
//
// Effects: X(enumerator, file stem, limit, when it plays). The limit is how many copies may sound at once;
// the mixer has eight channels, and the newest copy over the limit replaces the oldest, so a burst of one
// effect cannot take every channel from the rest.
//
// Music: X(enumerator, file stem, numbered, when it plays). A numbered track's file is the stem followed by its
// number ("stage1", "stage2", ...). Each track loops until another begins.
#pragma once

// clang-format off
#define MORVANTH_SOUND_EFFECTS(X)                                                                                   \
  X(seShot,             "shot",           2, "the ship fires a volley (every few frames while Z is held)")          \
  X(seLaser,            "laser",          2, "the ship fires a laser volley (as often as shots)")                   \
  X(seEnemyHit,         "enemyhit",       2, "an enemy is hit and survives (several a frame under fire)")           \
  X(seEnemyDestroyed,   "enemydestroyed", 3, "an enemy is destroyed (whole groups fall within a few frames)")       \
  X(seBossDestroyed,    "bossdestroyed",  1, "the stage-clear enemy is destroyed")                                  \
  X(seCapsuleCollected, "capsule",        1, "the ship collects a capsule")                                         \
  X(sePowerUpBought,    "powerup",        1, "a power-up is bought with C")                                         \
  X(seShipLost,         "shiplost",       1, "a ship is lost")                                                      \
  X(sePause,            "pause",          1, "the game is paused or resumed")                                       \
  X(seStageClear,       "stageclear",     1, "the stage is cleared")                                                \
  X(seGameOver,         "gameover",       1, "the last ship is lost")                                               \
  X(seTitleStart,       "titlestart",     1, "Enter on the title starts a game")

#define MORVANTH_MUSIC_TRACKS(X)                                                                                    \
  X(mkTitle,  "title",  false, "on the title; the skin selector changes it with the skin")                         \
  X(mkStage,  "stage",  true,  "during stage N (from 1, stagedef.xml order); holds while paused")                  \
  X(mkEnding, "ending", false, "during the ending text")
// clang-format on
