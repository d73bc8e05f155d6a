// Where the game's picture goes in a window of any size: as large as fits with its aspect kept, centred, the
// rest left black.
#pragma once
#include <cstdint>

struct TPictureRect {
  int32_t X = 0, Y = 0, Width = 0, Height = 0;
  bool operator==(const TPictureRect&) const = default;
};

// The picture's place in an output of OutWidth x OutHeight pixels (the drawable, so HiDPI counts real pixels).
// With IntegerScaling, a whole multiple of the picture's size when one fits and fills at least four fifths of the
// output's width or height (crisp pixels, slightly wider bars); otherwise, and in an output smaller than the
// picture, the largest size of the picture's aspect.
TPictureRect FitPicture(int32_t OutWidth, int32_t OutHeight, int32_t PictureWidth, int32_t PictureHeight,
                        bool IntegerScaling);

// The largest window scale, at most requested and never below 1, at which a client area of ClientWidth x
// ClientHeight times the scale, plus the window's frame, fits an area of AreaWidth x AreaHeight (the screen's
// usable part). An area of no size (unknown) limits nothing.
int32_t FittingScale(int32_t Requested, int32_t ClientWidth, int32_t ClientHeight, int32_t AreaWidth,
                     int32_t AreaHeight, int32_t FrameWidth, int32_t FrameHeight);
