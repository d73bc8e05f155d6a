// The game's window on SDL2: a fixed-size window titled by the form, the device's owner window and presenter,
// the form's services (caption, pointer, message boxes), the keyboard source and the message pump.
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

// SDL could not give us a display, a window or a renderer; the message includes SDL's own error.
struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

class EDisplayError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Shows the frames in the window and keeps them at 60 Hz: through an accelerated renderer's streaming texture
// when the display's retrace can pace the game, else copied straight into the window's surface. With the
// environment variable MORVANTH_LOG_FIRST_PRESENT set (not "0"), the first present writes "morvanth: first frame
// presented at NS ns, after MS ms of CPU" (wall-clock time since the epoch; the process's CPU time so far) to
// standard error, for start-up measurements.
struct SDL_Surface;

class TSdlPresenter : public TPresenter {
 public:
  explicit TSdlPresenter(SDL_Window* window);
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
  SDL_Surface* frame_ = nullptr;  // the back buffer as a surface, for a window of another size or layout
  TFramePacer pacer_;
  bool logFirstPresent_ = false;
};

class TSdlWindow : public TWindowHost, public TFormHost, public TKeySource, public TMessagePump {
 public:
  // Opens the video subsystem and a hidden window with the given client size; raises EDisplayError.
  TSdlWindow(int32_t clientWidth, int32_t clientHeight);
  ~TSdlWindow() override;
  TSdlWindow(const TSdlWindow&) = delete;
  TSdlWindow& operator=(const TSdlWindow&) = delete;

  // TWindowHost
  int32_t ClientWidth() const override;
  int32_t ClientHeight() const override;
  int32_t WindowWidth() const override;
  int32_t WindowHeight() const override;
  int32_t Left() const override;
  int32_t Top() const override;
  void SetWindowPos(int32_t Left, int32_t Top, int32_t Width, int32_t Height) override;
  TPresenter& Presenter() override;

  // TFormHost
  void SetCaption(const std::string& caption) override;
  void SetScreenCursor(int cursor) override;
  int MessageBoxA(const std::string& text, const std::string& caption, uint32_t flags) override;

  // TKeySource
  bool IsKeyDown(uint8_t VirtualKey) const override;
  bool IsApplicationActive() const override;

  // TMessagePump
  void ProcessMessages(TApplication& application) override;
  void WaitMessage() override;

 private:
  struct Borders {
    int top = 0, left = 0, bottom = 0, right = 0;
  };
  Borders FrameBorders() const;

  SDL_Window* window_ = nullptr;
  std::unique_ptr<TSdlPresenter> presenter_;
  std::array<std::array<int, 2>, 256> keyTable_{};  // SDL scancodes per virtual-key code
};

// Writes "caption: text" (converted to UTF-8) to standard error and shows it in an SDL message box without owner
// window (when a display can be reached). The game's error box.
int ShowMessageBox(const std::string& text, const std::string& caption, uint32_t flags);
