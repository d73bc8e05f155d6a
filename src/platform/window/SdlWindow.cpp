#include "SdlWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "GameKeys.h"
#include "GamepadInput.h"
#include "PictureFit.h"
#include "SdlKeyTable.h"
#include "TextEncoding.h"

namespace {
constexpr int kDesignLeft = 192, kDesignTop = 114;

std::string SdlError(const char* what) { return std::string(what) + ": " + SDL_GetError(); }

// Opens SDL's video subsystem on a driver that shows something. SDL would otherwise fall back to its offscreen
// driver when no display can be reached, and the game would run where nobody can see it. A driver named in
// SDL_VIDEODRIVER is taken as asked.
void OpenVideo() {
  const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
  if (chosen != nullptr && *chosen != '\0') {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) throw EDisplayError(SdlError("cannot open the display"));
    return;
  }
  std::string failures;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const std::string driver = SDL_GetVideoDriver(i);
    if (driver == "offscreen" || driver == "dummy" || driver == "evdev") continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.c_str());
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return;
    failures += (failures.empty() ? "" : "; ") + driver + ": " + SDL_GetError();
  }
  throw EDisplayError("cannot open a display (" + (failures.empty() ? std::string("no video driver") : failures) +
                      ")");
}

// The display's refresh rate is close enough to 60 Hz for its vsync to pace the game.
bool DisplayRunsAt60Hz(SDL_Window* window) {
  SDL_DisplayMode mode;
  const int display = SDL_GetWindowDisplayIndex(window);
  if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return false;
  return mode.refresh_rate >= 59 && mode.refresh_rate <= 61;
}
}  // namespace

// ---- presenter ----

TSdlPresenter::TSdlPresenter(SDL_Window* window, const TSdlWindowOptions& options)
    : integerScaling_(options.IntegerScaling), smooth_(options.Smooth), pacer_(false) {
  // Only a 60 Hz display's retrace can pace the game, and only an accelerated renderer waits for it. Otherwise
  // the pacer's clock does the pacing and the software renderer, which only copies the frame, is enough.
  const bool wantVsync = DisplayRunsAt60Hz(window);
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, wantVsync ? "1" : "0");
  if (wantVsync) renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) throw EDisplayError(SdlError("cannot create a renderer for the window"));
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(renderer_, &info);
  // A software renderer's "vsync" is not tied to the display's retrace.
  const bool vsync = wantVsync && (info.flags & SDL_RENDERER_PRESENTVSYNC) && !(info.flags & SDL_RENDERER_SOFTWARE);
  pacer_ = TFramePacer(vsync);
}

TSdlPresenter::~TSdlPresenter() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
}

void TSdlPresenter::PresentFrame(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t PitchBytes) {
  if (texture_ == nullptr || textureWidth_ != Width || textureHeight_ != Height) {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, Width, Height);
    if (texture_) SDL_SetTextureScaleMode(texture_, smooth_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    textureWidth_ = Width;
    textureHeight_ = Height;
  }
  if (texture_) {
    SDL_UpdateTexture(texture_, nullptr, Pixels, PitchBytes);
    // The output size is the drawable's, in real pixels (HiDPI); what the picture leaves free stays black.
    int outWidth = 0, outHeight = 0;
    if (SDL_GetRendererOutputSize(renderer_, &outWidth, &outHeight) != 0) outWidth = outHeight = 0;
    const TPictureRect fit = FitPicture(outWidth, outHeight, Width, Height, integerScaling_);
    const SDL_Rect target{fit.X, fit.Y, fit.Width, fit.Height};
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
  }
  SDL_RenderPresent(renderer_);
  pacer_.FramePresented();
}

// ---- window ----

TSdlWindow::TSdlWindow(int32_t clientWidth, int32_t clientHeight, const TSdlWindowOptions& options)
    : clientWidth_(clientWidth),
      clientHeight_(clientHeight),
      scale_(std::max(options.Scale, 1)),
      pendingFullscreen_(options.Fullscreen) {
  OpenVideo();
  // The form's design position; shown only once the device component gives it its size.
  window_ = SDL_CreateWindow("", kDesignLeft, kDesignTop, clientWidth * scale_, clientHeight * scale_,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ == nullptr) {
    const std::string message = SdlError("cannot create the window");
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw EDisplayError(message);
  }
  try {
    presenter_ = std::make_unique<TSdlPresenter>(window_, options);
  } catch (...) {
    SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw;
  }
  // The game polls keys; with text input on, an input method could take Z and C for itself.
  SDL_StopTextInput();
  for (int vk = 0; vk < 256; ++vk) {
    const TScancodePair codes = ScancodesForVirtualKey(vk);
    keyTable_[vk] = {codes[0], codes[1]};
  }
  gamepads_ = std::make_unique<TGamepadInput>(options.PadMappingFile);
}

TSdlWindow::~TSdlWindow() {
  gamepads_.reset();
  presenter_.reset();
  SDL_ShowCursor(SDL_ENABLE);
  SDL_DestroyWindow(window_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();  // the game uses SDL for its window only: let SDL unload its drivers and free their memory
}

TSdlWindow::Borders TSdlWindow::FrameBorders() const {
  Borders b;
  if (SDL_GetWindowBordersSize(window_, &b.top, &b.left, &b.bottom, &b.right) != 0) b = Borders{};
  return b;
}

int32_t TSdlWindow::ClientWidth() const { return clientWidth_; }

int32_t TSdlWindow::ClientHeight() const { return clientHeight_; }

int32_t TSdlWindow::WindowWidth() const {
  const Borders b = FrameBorders();
  return ClientWidth() + b.left + b.right;
}

int32_t TSdlWindow::WindowHeight() const {
  const Borders b = FrameBorders();
  return ClientHeight() + b.top + b.bottom;
}

int32_t TSdlWindow::Left() const {
  int x = 0, y = 0;
  SDL_GetWindowPosition(window_, &x, &y);
  return x - FrameBorders().left;
}

int32_t TSdlWindow::Top() const {
  int x = 0, y = 0;
  SDL_GetWindowPosition(window_, &x, &y);
  return y - FrameBorders().top;
}

void TSdlWindow::SetWindowPos(int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
  const Borders b = FrameBorders();
  clientWidth_ = std::max(Width - b.left - b.right, 1);
  clientHeight_ = std::max(Height - b.top - b.bottom, 1);
  SDL_SetWindowSize(window_, clientWidth_ * scale_, clientHeight_ * scale_);
  SDL_SetWindowPosition(window_, Left + b.left, Top + b.top);
  SDL_ShowWindow(window_);
  if (pendingFullscreen_) {
    pendingFullscreen_ = false;
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
}

void TSdlWindow::ToggleFullscreen() {
  const bool fullscreen = IsFullscreen();
  pendingFullscreen_ = false;
  SDL_SetWindowFullscreen(window_, fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool TSdlWindow::IsFullscreen() const {
  return pendingFullscreen_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

TPresenter& TSdlWindow::Presenter() { return *presenter_; }

void TSdlWindow::SetCaption(const std::string& caption) { SDL_SetWindowTitle(window_, ToUTF8(caption).c_str()); }

void TSdlWindow::SetScreenCursor(int cursor) { SDL_ShowCursor(cursor == crNone ? SDL_DISABLE : SDL_ENABLE); }

int TSdlWindow::MessageBoxA(const std::string& text, const std::string& caption, uint32_t flags) {
  return ShowMessageBox(text, caption, flags);
}

bool TSdlWindow::IsKeyDown(uint8_t VirtualKey) const {
  if (gamepads_->IsKeyDown(VirtualKey)) return true;
  if (VirtualKey == VK_RETURN && swallowEnter_) return false;
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int code : keyTable_[VirtualKey]) {
    if (code != SDL_SCANCODE_UNKNOWN && code < count && state[code]) return true;
  }
  return false;
}

bool TSdlWindow::IsApplicationActive() const {
  return (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool TSdlWindow::IsGamepadConnected() const { return gamepads_->AnyConnected(); }

void TSdlWindow::HandleKeyDown(const SDL_KeyboardEvent& key) {
  if (key.repeat) return;
  const bool enter = key.keysym.scancode == SDL_SCANCODE_RETURN || key.keysym.scancode == SDL_SCANCODE_KP_ENTER;
  if (enter && (key.keysym.mod & KMOD_ALT)) {
    // Toggling fullscreen should not also pause the game or start one from the title.
    swallowEnter_ = true;
    ToggleFullscreen();
  } else if (key.keysym.scancode == SDL_SCANCODE_F11) {
    ToggleFullscreen();
  }
}

void TSdlWindow::ProcessMessages(TApplication& application) {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT ||
        (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
      application.Terminate(0);
    } else if (event.type == SDL_KEYDOWN) {
      HandleKeyDown(event.key);
    }
    gamepads_->HandleEvent(event);
  }
  if (swallowEnter_) {
    const Uint8* state = SDL_GetKeyboardState(nullptr);
    swallowEnter_ = state[SDL_SCANCODE_RETURN] || state[SDL_SCANCODE_KP_ENTER];
  }
  gamepads_->Refresh();
}

void TSdlWindow::WaitMessage() { SDL_WaitEventTimeout(nullptr, 100); }

int ShowMessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  const std::string utf8Text = ToUTF8(text), utf8Caption = ToUTF8(caption);
  std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
  std::fflush(stderr);
  // SDL may show a box before SDL_Init; without a display it fails and standard error is all there is.
  const Uint32 kind = (flags & 0xF0) == MB_ICONEXCLAMATION ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
  SDL_ShowSimpleMessageBox(kind, utf8Caption.c_str(), utf8Text.c_str(), nullptr);
  return IDOK;
}
