// Key scripts, the format of replays and recordings: optional header lines ("seed N", "skin NAME", and what a
// game's scores depend on: "classic 0|1", "player NAME", "score POINTS NAME SKIN"), then "FRAME KEY..." lines saying
// which keys are held from that frame until the next line. Also a key source that plays a script back by frame number.
#pragma once
#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "KeySource.h"

struct TKeyScriptLine {
  uint32_t Frame = 0;
  std::vector<uint8_t> Keys;  // virtual-key codes held from Frame on
  bool Away = false;          // the application is inactive from Frame on (written "AWAY"; no key reads as down)
};

// One row of a high-score table as a recording starts with it.
struct TScriptScore {
  uint32_t Score = 0;
  std::string Name;  // one word
  std::string Skin;
  bool operator==(const TScriptScore&) const = default;
};

struct TKeyScript {
  std::optional<uint32_t> Seed;  // the game's random seed, when the script fixes it
  std::string Skin;              // the skin the game starts with (UTF-8); empty: the default one
  // What a replay needs to show the scores the game showed: whether it ran on the design's own screen, the name
  // a new high score started from, and every high-score table as the game began (rows best first, per skin).
  std::optional<bool> Classic;
  std::string Player;
  std::vector<TScriptScore> Scores;
  std::vector<TKeyScriptLine> Lines;
};

// Writes the header lines of Script (seed, skin, classic, player, scores: those it holds), each ending in '\n'.
void WriteKeyScriptHeader(std::ostream& Out, const TKeyScript& Script);

// Frame lines a script may hold (README): a recording writes one per change of the keys, so this is over 18
// hours of a change every frame, and at most a few hundred megabytes.
inline constexpr size_t kKeyScriptLineLimit = 4'000'000;

// Reads a script: one line per change, "FRAME KEY..." where a key is a virtual-key code (decimal) or one of
// LEFT, UP, RIGHT, DOWN, Z, C, ENTER, ESC, LCTRL (any letter case), or AWAY: the application is inactive
// (the window lost its focus). Before the first such line, "seed N", "skin NAME" (NAME plain or quoted as
// SkinLineValue writes it), "classic 0|1" and "player NAME" may each appear once, and "score POINTS NAME SKIN"
// (SKIN as in a skin line) any number of times. Empty lines and lines starting with '#' are skipped. Frames must not
// decrease. Raises std::runtime_error naming the line on anything else.
TKeyScript ReadKeyScript(std::istream& In);
// The frame lines of ReadKeyScript.
std::vector<TKeyScriptLine> ParseKeyScript(std::istream& In);

// The word of a script line that marks the application inactive, and its test (any letter case).
inline constexpr const char* kAwayWord = "AWAY";
bool IsAwayWord(const std::string& Word);
// The value of a "skin" line for Name: the name itself when the line gives it back unchanged, otherwise the
// name in double quotes with backslash escapes (\\, \", \xHH for control bytes), which the reader undoes. Names
// with control bytes, leading or trailing white space or a leading quote take the quoted form.
std::string SkinLineValue(const std::string& Name);
// Text from a script made safe to show: control bytes (and DEL) as \xHH, so a message cannot drive the terminal.
std::string ShowableText(const std::string& Text);

// Virtual-key code of a key name (the script's own, or any of KeyNames: TAB, X, F1, ...) or number; -1 when it
// is neither.
int VirtualKeyFromName(const std::string& Name);
// The script's name of a virtual-key code: LEFT ... LCTRL, or nullptr when it is written as a number.
const char* KeyNameOf(uint8_t VirtualKey);

// A key source whose keys are set from outside: by a script (SetFrame) or directly (SetKey).
class TScriptedKeySource : public TKeySource {
 public:
  TScriptedKeySource() = default;
  explicit TScriptedKeySource(std::vector<TKeyScriptLine> Script) : script_(std::move(Script)) {}

  // Holds exactly the keys (and the activity) of the last script line whose frame is not after Frame. O(1) a
  // call, amortised, when the frames rise (lines' frames never decrease).
  void SetFrame(uint32_t Frame);
  void SetKey(uint8_t VirtualKey, bool Down) { down_[VirtualKey] = Down; }
  void ReleaseAll() { down_.fill(false); }
  void SetActive(bool Active) { active_ = Active; }
  void SetGamepadConnected(bool Connected) { gamepad_ = Connected; }

  bool IsKeyDown(uint8_t VirtualKey) const override { return down_[VirtualKey]; }
  bool IsApplicationActive() const override { return active_; }
  bool IsGamepadConnected() const override { return gamepad_; }

 private:
  std::vector<TKeyScriptLine> script_;
  size_t next_ = 0;     // the first line after the frame set last
  uint32_t frame_ = 0;  // the frame set last
  std::array<bool, 256> down_{};
  bool active_ = true;
  bool gamepad_ = false;
};
