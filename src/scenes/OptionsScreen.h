// The options screen: drawn over the title with the game's text writer, worked with the arrows and Enter (or a
// pad). The window, sound and play options change at once through a host; the keys are bound by choosing an
// action and pressing the new key. While it is open the game stands still: the main form neither samples the
// game's keys nor updates the scene, so no recording ever sees these frames.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "KeyBindings.h"
#include "KeySource.h"

class TDGTexture;
class TSXScene;
class TSXTextWriter;

enum TOptionId : uint8_t { oiFullscreen, oiScale, oiSmooth, oiVolume, oiMuted, oiAutoPause, oiClassic, oiCount };

// What the options act on: the program around the game (window, sound, settings file) or a test's stand-in.
class TOptionsHost {
 public:
  virtual ~TOptionsHost() = default;
  // The keys the screen reads: the keyboard as it is (no bindings) and the pads' menu buttons.
  virtual TKeySource& MenuKeys() = 0;
  // An option's value; 0 or 1 for a switch.
  virtual int32_t Value(TOptionId Option) const = 0;
  // Sets an option, kept within its range, applied at once and remembered; Value then says what it became.
  virtual void SetValue(TOptionId Option, int32_t Value) = 0;
  virtual const TKeyBindings& Keys() const = 0;
  // TKeyBindings::Bind, applied at once and remembered when done.
  virtual TBindResult Bind(TKeyAction Action, uint8_t Key) = 0;
  // Every action back on the game's own key.
  virtual void ResetKeys() = 0;
};

class TOptionsScreen {
 public:
  // One row of the screen: an option (a switch or a number changed by Step), an action's key, or the row
  // that puts every key back. Name is the option's name in the state lines.
  enum TRowKind : uint8_t { rkSwitch, rkNumber, rkKey, rkDefaultKeys };
  struct TRow {
    TRowKind Kind;
    const char* Label;
    TOptionId Option = oiCount;
    int32_t Step = 0;
    TKeyAction Action = kaCount;
    const char* Name = nullptr;
  };
  static constexpr int32_t kRowCount = int32_t{oiCount} + int32_t{kaCount} + 1;
  static const std::array<TRow, kRowCount>& Rows();

  TOptionsScreen(TSXScene* SpriteScene, TOptionsHost& Host);
  ~TOptionsScreen();
  TOptionsScreen(const TOptionsScreen&) = delete;
  TOptionsScreen& operator=(const TOptionsScreen&) = delete;

  // Called once on every frame the game runs, Offered when its scene offers the options: opens the screen
  // when Tab (or a pad's Y) goes down then. True when it opened.
  bool Watch(bool Offered);
  // One frame of the open screen.
  void Update();
  // Queues the screen on the overlay queue, over whatever the scene queued.
  void Render();

  // Drawn: open, or waiting for a key to be pressed for an action.
  bool Shown() const { return state_ == osOpen || state_ == osCapturing; }
  // The game stands still: the screen is shown, or it has closed and waits for Enter and Escape to be let go
  // (the title would take them as its own).
  bool Holding() const { return state_ != osClosed; }
  int32_t Row() const { return row_; }
  bool Capturing() const { return state_ == osCapturing; }
  // The line under the rows: what the last key pressed for an action did, or what to do now.
  const std::string& Note() const { return note_; }
  const TOptionsHost& Host() const { return host_; }

 private:
  enum TState : uint8_t { osClosed, osOpen, osCapturing, osClosing };

  void ReadKeys();
  bool Pressed(uint8_t Key) const { return down_[Key] && !wasDown_[Key]; }
  void Change(int32_t Step);
  void Choose();
  void Capture();
  void SetNote(const std::string& Text);
  // The value a row shows, as a number that changes whenever its text does.
  int32_t RowValue(int32_t Row) const;
  std::string RowText(int32_t Row) const;

  TSXScene* spriteScene_;
  TOptionsHost& host_;
  std::unique_ptr<TSXTextWriter> writer_;
  TState state_ = osClosed;
  int32_t row_ = 0;
  std::string note_;
  std::array<bool, 256> down_{}, wasDown_{};
  bool tabDown_ = true;  // a Tab held when the title comes does not open the screen
  std::unique_ptr<TDGTexture> title_, help_, noteTexture_;
  std::array<std::unique_ptr<TDGTexture>, kRowCount> labels_, values_;
  std::array<int32_t, kRowCount> shown_{};  // RowValue of each value texture
};
