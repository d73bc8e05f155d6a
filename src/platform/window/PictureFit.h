// Where the game's picture goes in a window of any size: as large as fits with its aspect kept, centred, the
// rest left black.
#pragma once
#include <cstdint>

struct TPictureRect {
  int32_t X = 0, Y = 0, Width = 0, Height = 0;
  bool operator==(const TPictureRect&) const = default;
};

// The picture's place in an output of outWidth x outHeight pixels (the drawable, so HiDPI counts real pixels).
// With integerScaling, a whole multiple of the picture's size when one fits and fills at least four fifths of the
// output's width or height (crisp pixels, slightly wider bars); otherwise, and in an output smaller than the
// picture, the largest size of the picture's aspect.
TPictureRect FitPicture(int32_t outWidth, int32_t outHeight, int32_t pictureWidth, int32_t pictureHeight,
                        bool integerScaling);

// The largest window scale, at most requested and never below 1, at which a client area of clientWidth x
// clientHeight times the scale, plus the window's frame, fits an area of areaWidth x areaHeight (the screen's
// usable part). An area of no size (unknown) limits nothing.
int32_t FittingScale(int32_t requested, int32_t clientWidth, int32_t clientHeight, int32_t areaWidth,
                     int32_t areaHeight, int32_t frameWidth, int32_t frameHeight);
