// The owner window of the Direct3D device: what the device and the device component need to know of it.
#pragma once
#include <cstdint>

class TPresenter;

// A top-level window as the graphics device sees it: its client and outer sizes, its position, a way to move and
// resize it, and the presenter that shows the frames the device renders for it. The SDL window and the headless
// runner implement it.
class TWindowHost {
 public:
  virtual ~TWindowHost() = default;

  // Size of the drawable client area in pixels.
  virtual int32_t ClientWidth() const = 0;
  virtual int32_t ClientHeight() const = 0;
  // Outer size including the frame and caption (equal to the client size when the window has none).
  virtual int32_t WindowWidth() const = 0;
  virtual int32_t WindowHeight() const = 0;
  // Screen position of the outer top-left corner.
  virtual int32_t Left() const = 0;
  virtual int32_t Top() const = 0;

  // Moves the window to (Left, Top), gives it the outer size Width x Height and shows it, as SetWindowPos with
  // SWP_SHOWWINDOW does; the client area becomes that size minus the frame.
  virtual void SetWindowPos(int32_t Left, int32_t Top, int32_t Width, int32_t Height) = 0;

  // The presenter the device's Present hands the back buffer to.
  virtual TPresenter& Presenter() = 0;
};

// Window handles of the Direct3D subset are owner windows.
using HWND = TWindowHost*;
