// Key scripts, the format of replays and recordings: optional header lines "seed N" and "skin NAME", then
// "FRAME KEY..." lines saying which keys are held from that frame until the next line. Also a key source that
// plays a script back by frame number.
#pragma once
#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "KeySource.h"

struct TKeyScriptLine {
  uint32_t Frame = 0;
  std::vector<uint8_t> Keys;  // virtual-key codes held from Frame on
  bool Away = false;          // the application is inactive from Frame on (written "AWAY"; no key reads as down)
};

struct TKeyScript {
  std::optional<uint32_t> Seed;  // the game's random seed, when the script fixes it
  std::string Skin;              // the skin the game starts with (UTF-8); empty: the default one
  std::vector<TKeyScriptLine> Lines;
};

// Frame lines a script may hold (README): a recording writes one per change of the keys, so this is over 18
// hours of a change every frame, and at most a few hundred megabytes.
inline constexpr size_t kKeyScriptLineLimit = 4'000'000;

// Reads a script: one line per change, "FRAME KEY..." where a key is a virtual-key code (decimal) or one of
// LEFT, UP, RIGHT, DOWN, Z, C, ENTER, ESC, LCTRL (any letter case), or AWAY: the application is inactive
// (the window lost its focus). Before the first such line, "seed N" and "skin NAME" (NAME plain or quoted as
// SkinLineValue writes it) may each appear once. Empty lines and lines starting with '#' are skipped. Frames must not
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

// Virtual-key code of a key name or number; -1 when it is neither.
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
