// The game's window on SDL: it stands in for the main form's window, shows the frames the device presents,
// reads the keys and the focus, and shows the design's message boxes.
//
// Index (each part begins at its "[SECTION]" line):
//   Video start-up, icon, refresh rate and renderer checks
//   Presenting frames: renderer or window surface
//   The window: creation, borders, size and place on the screen
//   Full screen, scale and smoothing
//   Message boxes
//   Keys, focus and the event queue
//   The box shown before any window exists
#include "SdlWindow.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "FreeTypeGlyphSource.h"
#include "GameKeys.h"
#include "GamepadInput.h"
#include "MessagePicture.h"
#include "MessageText.h"
#include "PictureFit.h"
#include "SdlKeyTable.h"
#include "TextEncoding.h"
#include "WindowIcon.h"

// [SECTION] Video start-up, icon, refresh rate and renderer checks

namespace {
constexpr int kDesignLeft = 192, kDesignTop = 114;

std::string SdlError(const char* What) { return std::string(What) + ": " + SDL_GetError(); }

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
  throw EDisplayError("cannot open a display (" + (failures.empty() ? std::string("no video driver") : failures) + ")");
}

// An icon that cannot be read leaves the desktop's default one: worth a line on standard error, not a failure.
void SetIconBesideProgram(SDL_Window* Window, const std::string& Name) {
  char* base = SDL_GetBasePath();  // the program's folder, links resolved, ending in '/'
  const std::string file = (base != nullptr ? std::string(base) : std::string()) + Name;
  SDL_free(base);
  std::string error;
  if (!SetWindowIconFromPng(Window, file, error)) std::fprintf(stderr, "morvanth: no window icon: %s\n", error.c_str());
}

// The display's refresh rate is close enough to 60 Hz for its vsync to pace the game.
bool DisplayRunsAt60Hz(SDL_Window* Window) {
  SDL_DisplayMode mode;
  const int display = SDL_GetWindowDisplayIndex(Window);
  if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return false;
  return mode.refresh_rate >= 59 && mode.refresh_rate <= 61;
}

// The renderer's OpenGL is Mesa's CPU rasteriser (llvmpipe, softpipe, swrast: Xvfb, a machine without a GPU
// driver). Uploading and drawing a frame through it costs several times what a plain copy does, on extra threads.
bool OpenGLRunsOnCpu(SDL_Renderer* Renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(Renderer, &info) != 0 || info.name == nullptr || std::strncmp(info.name, "opengl", 6) != 0)
    return false;
  using TGetString = const unsigned char* (*)(unsigned);
  const auto getString = reinterpret_cast<TGetString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = getString ? getString(0x1F01 /* GL_RENDERER */) : nullptr;
  if (name == nullptr) return false;
  const char* text = reinterpret_cast<const char*>(name);
  for (const char* cpu : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
    if (std::strstr(text, cpu) != nullptr) return true;
  }
  return false;
}

// Without a renderer the frame goes straight into the window's surface. On X11, SDL would by default back that
// surface with a texture of an accelerated renderer (OpenGL, perhaps on the CPU), copying each frame twice
// more; X11's own shared-memory image is the cheaper way there.
void PreferNativeWindowSurface() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver != nullptr && std::strcmp(driver, "x11") == 0) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

// Shows Pixels in Window until Enter, Escape, a click, the window's close or a quit request.
void RunMessageBox(SDL_Window* Window, TPresenter& Presenter, const std::vector<uint32_t>& Pixels, int Width,
                   int Height) {
  // Keys pressed before the box appeared (the Enter that started a game) do not close it.
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEBUTTONUP);
  SDL_RaiseWindow(Window);
  for (;;) {
    Presenter.PresentFrame(Pixels.data(), Width, Height, Width * 4);
    SDL_Event event;
    if (!SDL_WaitEventTimeout(&event, 250)) continue;
    do {
      switch (event.type) {
        case SDL_QUIT:
        case SDL_MOUSEBUTTONUP: return;
        case SDL_WINDOWEVENT:
          if (event.window.event == SDL_WINDOWEVENT_CLOSE) return;
          break;
        case SDL_KEYDOWN: {
          const SDL_Scancode key = event.key.keysym.scancode;
          if (!event.key.repeat &&
              (key == SDL_SCANCODE_RETURN || key == SDL_SCANCODE_KP_ENTER || key == SDL_SCANCODE_ESCAPE)) {
            return;
          }
          break;
        }
        default: break;
      }
    } while (SDL_PollEvent(&event));
  }
}

// Writes "caption: text" in the player's language to standard error; gives both texts in CP932 for drawing.
void ReportMessage(const std::string& Text, const std::string& Caption, std::string& ShownText,
                   std::string& ShownCaption) {
  const std::string utf8Text = LocalizeMessage(Text), utf8Caption = LocalizeMessage(Caption);
  std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
  std::fflush(stderr);
  ShownText = ToCP932(utf8Text);
  ShownCaption = ToCP932(utf8Caption);
}

int64_t RealTimeNs() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}
}  // namespace

// ---- presenter ----

// [SECTION] Presenting frames: renderer or window surface

TSdlPresenter::TSdlPresenter(SDL_Window* Window, const TSdlWindowOptions& Options)
    : window_(Window), integerScaling_(Options.IntegerScaling), smooth_(Options.Smooth), pacer_(false) {
  // Only a 60 Hz display's retrace can pace the game, and only an accelerated renderer waits for it. Otherwise
  // the pacer's clock does the pacing and the frame is copied into the window's surface, the cheapest way to the
  // screen for a picture drawn on the CPU (a renderer's texture would cost two more copies of it).
  bool vsync = false;
  if (smooth_) {
    // Only a renderer filters when it scales.
    renderer_ = SDL_CreateRenderer(Window, -1, 0);
  } else if (DisplayRunsAt60Hz(Window)) {
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "1");
    renderer_ = SDL_CreateRenderer(Window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ != nullptr && OpenGLRunsOnCpu(renderer_)) {
      SDL_DestroyRenderer(renderer_);
      renderer_ = nullptr;
    }
    SDL_RendererInfo info{};
    if (renderer_ != nullptr && SDL_GetRendererInfo(renderer_, &info) == 0) {
      // A software renderer's "vsync" is not tied to the display's retrace.
      vsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) && !(info.flags & SDL_RENDERER_SOFTWARE);
    }
  }
  if (renderer_ == nullptr) {
    PreferNativeWindowSurface();
    if (SDL_GetWindowSurface(Window) == nullptr) throw EDisplayError(SdlError("cannot draw into the window"));
  }
  pacer_ = TFramePacer(vsync);
  const char* logFirst = SDL_getenv("MORVANTH_LOG_FIRST_PRESENT");
  logFirstPresent_ = logFirst != nullptr && *logFirst != '\0' && std::strcmp(logFirst, "0") != 0;
}

TSdlPresenter::~TSdlPresenter() {
  if (frame_) SDL_FreeSurface(frame_);
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
}

void TSdlPresenter::PresentFrame(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t PitchBytes) {
  if (renderer_ != nullptr) {
    PresentWithRenderer(Pixels, Width, Height, PitchBytes);
  } else {
    PresentToSurface(Pixels, Width, Height, PitchBytes);
  }
  if (logFirstPresent_) {
    logFirstPresent_ = false;
    std::fprintf(stderr, "morvanth: first frame presented at %lld ns, after %.1f ms of CPU\n",
                 static_cast<long long>(RealTimeNs()), 1000.0 * double(std::clock()) / CLOCKS_PER_SEC);
  }
  pacer_.FramePresented();
}

void TSdlPresenter::PresentWithRenderer(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t PitchBytes) {
  if (texture_ == nullptr || textureWidth_ != Width || textureHeight_ != Height) {
    if (texture_) SDL_DestroyTexture(texture_);
    // The back buffer's alpha means nothing on screen: a texture without alpha is copied, not blended.
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, Width, Height);
    if (texture_) SDL_SetTextureScaleMode(texture_, smooth_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    textureWidth_ = Width;
    textureHeight_ = Height;
  }
  if (texture_) {
    // The copy covers the whole window, so nothing needs clearing first.
    SDL_UpdateTexture(texture_, nullptr, Pixels, PitchBytes);
    // The output size is the drawable's, in real pixels (HiDPI); what the picture leaves free stays black.
    int outWidth = 0, outHeight = 0;
    if (SDL_GetRendererOutputSize(renderer_, &outWidth, &outHeight) != 0) outWidth = outHeight = 0;
    const TPictureRect fit = FitPicture(outWidth, outHeight, Width, Height, integerScaling_);
    const SDL_Rect target{fit.X, fit.Y, fit.Width, fit.Height};
    if (fit.Width != outWidth || fit.Height != outHeight) SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
  }
  SDL_RenderPresent(renderer_);
}

void TSdlPresenter::PresentToSurface(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t PitchBytes) {
  // Valid until the window's size changes; SDL makes a new one then.
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr) return;
  const bool sameLayout =
      surface->w == Width && surface->h == Height &&
      (surface->format->format == SDL_PIXELFORMAT_RGB888 || surface->format->format == SDL_PIXELFORMAT_ARGB8888);
  if (sameLayout && SDL_LockSurface(surface) == 0) {
    for (int32_t y = 0; y < Height; ++y) {
      std::memcpy(static_cast<uint8_t*>(surface->pixels) + ptrdiff_t(y) * surface->pitch,
                  reinterpret_cast<const uint8_t*>(Pixels) + ptrdiff_t(y) * PitchBytes, size_t(Width) * 4);
    }
    SDL_UnlockSurface(surface);
  } else if (!sameLayout) {
    // A window of another size (resized, fullscreen, --scale) or pixel layout: SDL converts and scales into the
    // picture's place and the bars around it are painted black. The frame's wrapper is made again only when the
    // back buffer changes.
    if (frame_ == nullptr || frame_->pixels != Pixels || frame_->w != Width || frame_->h != Height ||
        frame_->pitch != PitchBytes) {
      if (frame_) SDL_FreeSurface(frame_);
      frame_ = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(Pixels), Width, Height, 32, PitchBytes,
                                                  SDL_PIXELFORMAT_RGB888);
    }
    const TPictureRect fit = FitPicture(surface->w, surface->h, Width, Height, integerScaling_);
    const SDL_Rect bars[4] = {{0, 0, surface->w, fit.Y},
                              {0, fit.Y + fit.Height, surface->w, surface->h - fit.Y - fit.Height},
                              {0, fit.Y, fit.X, fit.Height},
                              {fit.X + fit.Width, fit.Y, surface->w - fit.X - fit.Width, fit.Height}};
    SDL_FillRects(surface, bars, 4, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_Rect target{fit.X, fit.Y, fit.Width, fit.Height};
    if (frame_ != nullptr && fit.Width > 0 && fit.Height > 0) SDL_BlitScaled(frame_, nullptr, surface, &target);
  }
  SDL_UpdateWindowSurface(window_);
}

// ---- window ----

// [SECTION] The window: creation, borders, size and place on the screen

TSdlWindow::TSdlWindow(int32_t ClientWidth, int32_t ClientHeight, const TSdlWindowOptions& Options)
    : options_(Options),
      clientWidth_(ClientWidth),
      clientHeight_(ClientHeight),
      scale_(std::max(Options.Scale, 1)),
      pendingFullscreen_(Options.Fullscreen) {
  // SDL reads the class and app id from its environment when the video subsystem starts.
  if (!Options.AppId.empty()) {
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", Options.AppId.c_str(), 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", Options.AppId.c_str(), 0);
  }
  OpenVideo();
  // The form's design position; shown only once the device component gives it its size.
  window_ = SDL_CreateWindow("", kDesignLeft, kDesignTop, ClientWidth * scale_, ClientHeight * scale_,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ == nullptr) {
    const std::string message = SdlError("cannot create the window");
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw EDisplayError(message);
  }
  if (!Options.IconFile.empty()) SetIconBesideProgram(window_, Options.IconFile);
  try {
    presenter_ = std::make_unique<TSdlPresenter>(window_, Options);
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
  gamepads_ = std::make_unique<TGamepadInput>(Options.PadMappingFile);
}

TSdlWindow::~TSdlWindow() {
  gamepads_.reset();
  presenter_.reset();
  SDL_ShowCursor(SDL_ENABLE);
  SDL_DestroyWindow(window_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();  // the game uses SDL for its window only: let SDL unload its drivers and free their memory
}

TSdlWindow::TBorders TSdlWindow::FrameBorders() const {
  TBorders b;
  if (SDL_GetWindowBordersSize(window_, &b.top, &b.left, &b.bottom, &b.right) != 0) b = TBorders{};
  return b;
}

int32_t TSdlWindow::ClientWidth() const { return clientWidth_; }

int32_t TSdlWindow::ClientHeight() const { return clientHeight_; }

int32_t TSdlWindow::WindowWidth() const {
  const TBorders b = FrameBorders();
  return ClientWidth() + b.left + b.right;
}

int32_t TSdlWindow::WindowHeight() const {
  const TBorders b = FrameBorders();
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

void TSdlWindow::FitToScreen() {
  const int display = SDL_GetWindowDisplayIndex(window_);
  SDL_Rect usable{};
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0) return;
  // The frame is known once a window manager has framed the window; until then it counts as none.
  const TBorders b = FrameBorders();
  const int32_t fitting =
      FittingScale(scale_, clientWidth_, clientHeight_, usable.w, usable.h, b.left + b.right, b.top + b.bottom);
  if (fitting != scale_) {
    std::fprintf(stderr, "morvanth: scale %d does not fit the screen (%dx%d usable), scale %d instead\n", scale_,
                 usable.w, usable.h, fitting);
    scale_ = fitting;
    SDL_SetWindowSize(window_, clientWidth_ * scale_, clientHeight_ * scale_);
  }
  int x = 0, y = 0;
  SDL_GetWindowPosition(window_, &x, &y);
  const int right = usable.x + usable.w - b.right - clientWidth_ * scale_;
  const int bottom = usable.y + usable.h - b.bottom - clientHeight_ * scale_;
  const int inX = std::max(std::min(x, right), usable.x + b.left),
            inY = std::max(std::min(y, bottom), usable.y + b.top);
  if (inX != x || inY != y) SDL_SetWindowPosition(window_, inX, inY);
}

void TSdlWindow::SetWindowPos(int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
  const TBorders b = FrameBorders();
  clientWidth_ = std::max(Width - b.left - b.right, 1);
  clientHeight_ = std::max(Height - b.top - b.bottom, 1);
  FitToScreen();
  SDL_SetWindowSize(window_, clientWidth_ * scale_, clientHeight_ * scale_);
  SDL_SetWindowPosition(window_, Left + b.left, Top + b.top);
  SDL_ShowWindow(window_);
  if (pendingFullscreen_) {
    pendingFullscreen_ = false;
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
}

// [SECTION] Full screen, scale and smoothing

void TSdlWindow::ToggleFullscreen() {
  const bool fullscreen = IsFullscreen();
  pendingFullscreen_ = false;
  SDL_SetWindowFullscreen(window_, fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  // The size the window had before fullscreen is the window manager's memory, and after a fullscreen start it
  // never had the game's; the game's own size is set again.
  if (fullscreen) SDL_SetWindowSize(window_, clientWidth_ * scale_, clientHeight_ * scale_);
}

void TSdlWindow::SetScale(int32_t Scale) {
  scale_ = std::max(Scale, 1);
  if (IsFullscreen()) return;
  FitToScreen();
  SDL_SetWindowSize(window_, clientWidth_ * scale_, clientHeight_ * scale_);
}

bool TSdlWindow::SetSmooth(bool Smooth) {
  if (Smooth == options_.Smooth) return true;
  // One renderer to a window: the old presenter goes before the new one is made.
  presenter_.reset();
  options_.Smooth = Smooth;
  try {
    presenter_ = std::make_unique<TSdlPresenter>(window_, options_);
    return true;
  } catch (const EDisplayError& e) {
    std::fprintf(stderr, "morvanth: %s\n", e.what());
  }
  options_.Smooth = !Smooth;
  presenter_ = std::make_unique<TSdlPresenter>(window_, options_);
  return false;
}

bool TSdlWindow::IsFullscreen() const {
  return pendingFullscreen_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

TPresenter& TSdlWindow::Presenter() { return *presenter_; }

void TSdlWindow::SetCaption(const std::string& Caption) { SDL_SetWindowTitle(window_, ToUTF8(Caption).c_str()); }

void TSdlWindow::SetScreenCursor(int Cursor) { SDL_ShowCursor(Cursor == crNone ? SDL_DISABLE : SDL_ENABLE); }

// [SECTION] Message boxes

int TSdlWindow::MessageBoxA(const std::string& Text, const std::string& Caption, uint32_t /*flags*/) {
  std::string shownText, shownCaption;
  ReportMessage(Text, Caption, shownText, shownCaption);
  TFreeTypeGlyphSource glyphs;
  TMessagePicture picture(glyphs, shownCaption, shownText, clientWidth_);
  std::vector<uint32_t> pixels;
  picture.Draw(pixels, clientWidth_, clientHeight_);
  SDL_ShowWindow(window_);
  SDL_ShowCursor(SDL_ENABLE);
  RunMessageBox(window_, *presenter_, pixels, clientWidth_, clientHeight_);
  return IDOK;
}

// [SECTION] Keys, focus and the event queue

bool TSdlWindow::IsKeyDown(uint8_t VirtualKey) const {
  if (VirtualKey == VK_RETURN && swallowEnter_) return false;
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int code : keyTable_[VirtualKey]) {
    if (code != SDL_SCANCODE_UNKNOWN && code < count && state[code]) return true;
  }
  return false;
}

bool TSdlWindow::IsApplicationActive() const {
  // A minimised window may keep the focus under some window managers; the player has left it all the same.
  const Uint32 flags = SDL_GetWindowFlags(window_);
  return (flags & SDL_WINDOW_INPUT_FOCUS) != 0 && (flags & SDL_WINDOW_MINIMIZED) == 0;
}

bool TSdlWindow::IsGamepadConnected() const { return gamepads_->AnyConnected(); }

const TKeySource& TSdlWindow::PadKeys() const { return gamepads_->GameKeys(); }

const TKeySource& TSdlWindow::PadMenuKeys() const { return gamepads_->MenuKeys(); }

void TSdlWindow::HandleKeyDown(const SDL_KeyboardEvent& Key) {
  if (Key.repeat) return;
  const bool enter = Key.keysym.scancode == SDL_SCANCODE_RETURN || Key.keysym.scancode == SDL_SCANCODE_KP_ENTER;
  if (enter && (Key.keysym.mod & KMOD_ALT)) {
    // Toggling fullscreen should not also pause the game or start one from the title.
    swallowEnter_ = true;
    ToggleFullscreen();
  } else if (Key.keysym.scancode == SDL_SCANCODE_F11) {
    ToggleFullscreen();
  }
}

void TSdlWindow::ProcessMessages(TApplication& Application) {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
      Application.Terminate(0);
    } else if (event.type == SDL_KEYDOWN) {
      HandleKeyDown(event.key);
    } else if (event.type == SDL_WINDOWEVENT && !framedFit_ && !IsFullscreen()) {
      // The window manager's frame becomes known some time after the window is shown; the window may not
      // fit (or stand) where the bare window did.
      const TBorders b = FrameBorders();
      if (b.top + b.left + b.bottom + b.right > 0) {
        framedFit_ = true;
        FitToScreen();
      }
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

// [SECTION] The box shown before any window exists

int ShowMessageBox(const std::string& Text, const std::string& Caption, uint32_t /*flags*/) {
  std::string shownText, shownCaption;
  ReportMessage(Text, Caption, shownText, shownCaption);
  // Without a display standard error is all there is.
  try {
    OpenVideo();
  } catch (const EDisplayError&) {
    return IDOK;
  }
  {
    TFreeTypeGlyphSource glyphs;
    TMessagePicture picture(glyphs, shownCaption, shownText, 640);
    const int width = picture.FittingWidth(), height = picture.FittingHeight();
    SDL_Window* window = SDL_CreateWindow(ToUTF8(shownCaption).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          width, height, 0);
    if (window != nullptr) {
      try {
        TSdlPresenter presenter(window, TSdlWindowOptions{});
        std::vector<uint32_t> pixels;
        picture.Draw(pixels, width, height);
        RunMessageBox(window, presenter, pixels, width, height);
      } catch (const EDisplayError&) {
      }
      SDL_DestroyWindow(window);
    }
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();
  return IDOK;
}
