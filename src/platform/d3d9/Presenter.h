// Where the software Direct3D device delivers its finished frames.
#pragma once
#include <cstdint>

// Receives each finished back buffer from IDirect3DDevice9::Present and paces the game: the game counts time in
// frames, so a window presenter returns at the next 60 Hz retrace (the display's vsync when the display runs at
// 60 Hz, its own clock otherwise); a capture presenter returns at once.
class TPresenter {
 public:
  virtual ~TPresenter() = default;

  // Pixels: Height rows of Width ARGB8888 values (alpha carries no meaning), rows PitchBytes apart. The memory
  // belongs to the device and is only valid during the call: copy what must be kept.
  virtual void PresentFrame(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t PitchBytes) = 0;
};
