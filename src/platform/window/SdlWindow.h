// The game's window on SDL2: a window titled by the form, the device's owner window and presenter, the form's
// services (caption, pointer, message boxes), the keyboard (and gamepad) source and the message pump. The player
// may resize it or make it fullscreen (F11, Alt+Enter); the form keeps its own client size all the same and the
// picture is scaled to the window.
#pragma once
#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "FormHost.h"
#include "FramePacer.h"
#include "KeySource.h"
#include "MessagePump.h"
#include "Presenter.h"
#include "WindowHost.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_KeyboardEvent;
class TGamepadInput;

// SDL could not give us a display, a window or a renderer; the message includes SDL's own error.
class EDisplayError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How the window shows the picture, and where the player's own gamepad mappings are. The defaults are the plain
// window of the game's own size.
struct TSdlWindowOptions {
  int32_t Scale = 1;           // the window opens at this multiple of the form's client size
  bool Fullscreen = false;     // start in desktop fullscreen
  bool IntegerScaling = true;  // whole multiples of the picture when one fills most of the window
  bool Smooth = false;         // linear filtering instead of nearest-neighbour
  std::string PadMappingFile;  // SDL game-controller mappings of the player's own; "" for none
  // The window's class (X11 WM_CLASS) and Wayland app id: the desktop entry's id, so launchers and task bars
  // match the running window to its entry. An SDL_VIDEO_X11_WMCLASS or SDL_VIDEO_WAYLAND_WMCLASS set in the
  // environment wins. "" leaves SDL's default (the program's name).
  std::string AppId;
  // The window's icon: a PNG file named relative to the program's folder; "" for none.
  std::string IconFile;
};

// Shows the frames in the window, scaled to fit with their aspect kept, and keeps them at 60 Hz: through an
// accelerated renderer's streaming texture when the display's retrace can pace the game (or when smooth scaling
// is asked for), else copied straight into the window's surface. With the environment variable
// MORVANTH_LOG_FIRST_PRESENT set (not "0"), the first present writes "morvanth: first frame presented at NS ns,
// after MS ms of CPU" (wall-clock time since the epoch; the process's CPU time so far) to standard error, for
// start-up measurements.
struct SDL_Surface;

class TSdlPresenter : public TPresenter {
 public:
  TSdlPresenter(SDL_Window* Window, const TSdlWindowOptions& Options);
  ~TSdlPresenter() override;
  void PresentFrame(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t PitchBytes) override;
  bool UsingVsync() const { return pacer_.UsingVsync(); }

 private:
  void PresentWithRenderer(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t PitchBytes);
  void PresentToSurface(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t PitchBytes);

  SDL_Window* window_;
  SDL_Renderer* renderer_ = nullptr;  // none: the window's surface
  SDL_Texture* texture_ = nullptr;
  int textureWidth_ = 0, textureHeight_ = 0;
  bool integerScaling_ = true, smooth_ = false;
  SDL_Surface* frame_ = nullptr;  // the back buffer as a surface, for a window of another size or layout
  TFramePacer pacer_;
  bool logFirstPresent_ = false;
};

class TSdlWindow : public TWindowHost, public TFormHost, public TKeySource, public TMessagePump {
 public:
  // Opens the video subsystem and a hidden window with the given client size (times the options' scale), and
  // the gamepads; raises EDisplayError.
  TSdlWindow(int32_t ClientWidth, int32_t ClientHeight, const TSdlWindowOptions& Options = {});
  ~TSdlWindow() override;
  TSdlWindow(const TSdlWindow&) = delete;
  TSdlWindow& operator=(const TSdlWindow&) = delete;

  // Switches between the window and desktop fullscreen (what F11 and Alt+Enter do); the window comes back at
  // exactly the form's client size times the scale.
  void ToggleFullscreen();
  bool IsFullscreen() const;
  // The window's scale: the options' one, or less where that would not fit the screen (said on standard error
  // when the window is first placed).
  int32_t Scale() const { return scale_; }
  // Gives the window another scale, lowered where it would not fit the screen; in fullscreen it is the size the
  // window comes back at.
  void SetScale(int32_t Scale);
  // Switches linear filtering on or off: a presenter of the new kind replaces the old one. False (said on
  // standard error) when the new one cannot draw into the window; the old kind stays.
  bool SetSmooth(bool Smooth);
  bool Smooth() const { return options_.Smooth; }
  // The pads' keys, which the window's own (the keyboard's) leave out: the input layers above add them. The
  // game's keys (A fires, ...) and the menus' (A chooses, B goes back, Y is Tab).
  const TKeySource& PadKeys() const;
  const TKeySource& PadMenuKeys() const;

  // TWindowHost. The client size is the form's, whatever size the window has on the screen.
  int32_t ClientWidth() const override;
  int32_t ClientHeight() const override;
  int32_t WindowWidth() const override;
  int32_t WindowHeight() const override;
  int32_t Left() const override;
  int32_t Top() const override;
  void SetWindowPos(int32_t Left, int32_t Top, int32_t Width, int32_t Height) override;
  TPresenter& Presenter() override;

  // TFormHost
  void SetCaption(const std::string& Caption) override;
  void SetScreenCursor(int Cursor) override;
  int MessageBoxA(const std::string& Text, const std::string& Caption, uint32_t Flags) override;

  // TKeySource: the keyboard alone.
  bool IsKeyDown(uint8_t VirtualKey) const override;
  bool IsApplicationActive() const override;
  bool IsGamepadConnected() const override;

  // TMessagePump
  void ProcessMessages(TApplication& Application) override;
  void WaitMessage() override;

 private:
  struct TBorders {
    int top = 0, left = 0, bottom = 0, right = 0;
  };
  TBorders FrameBorders() const;
  // Lowers the scale to the largest at which the window fits its display's usable area, then moves the window
  // into that area where it would leave it (the design's place is low for a 720-line screen).
  void FitToScreen();
  void HandleKeyDown(const SDL_KeyboardEvent& Key);

  SDL_Window* window_ = nullptr;
  TSdlWindowOptions options_;
  std::unique_ptr<TSdlPresenter> presenter_;
  std::unique_ptr<TGamepadInput> gamepads_;
  std::array<std::array<int, 2>, 256> keyTable_{};  // SDL scancodes per virtual-key code
  int32_t clientWidth_, clientHeight_;              // the form's client size
  int32_t scale_;
  bool pendingFullscreen_;  // fullscreen asked for before the window was first shown
  // The Enter of Alt+Enter, hidden from the game until it is released.
  bool swallowEnter_ = false;
  bool framedFit_ = false;  // fitted to the screen with the window manager's frame
};

// The game's error box where it has no window yet: writes "caption: text" in the player's language to standard
// error and draws the box in a window of its own (when a display can be reached) until Enter, Escape or a click.
// The window's own MessageBoxA draws it in the game's window the same way.
int ShowMessageBox(const std::string& Text, const std::string& Caption, uint32_t Flags);
