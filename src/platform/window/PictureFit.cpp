#include "PictureFit.h"

#include <algorithm>

int32_t FittingScale(int32_t requested, int32_t clientWidth, int32_t clientHeight, int32_t areaWidth,
                     int32_t areaHeight, int32_t frameWidth, int32_t frameHeight) {
  if (areaWidth <= 0 || areaHeight <= 0 || clientWidth <= 0 || clientHeight <= 0) return std::max(requested, 1);
  const int32_t across = (areaWidth - frameWidth) / clientWidth, down = (areaHeight - frameHeight) / clientHeight;
  return std::max(std::min({requested, across, down}), 1);
}

TPictureRect FitPicture(int32_t outWidth, int32_t outHeight, int32_t pictureWidth, int32_t pictureHeight,
                        bool integerScaling) {
  if (outWidth <= 0 || outHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return {};
  TPictureRect rect;
  const int32_t whole = std::min(outWidth / pictureWidth, outHeight / pictureHeight);
  // A whole multiple only when it fills most of the room: 1x on a 1080-line screen would leave the picture small.
  const bool wholeFillsMost = int64_t{whole} * pictureWidth * 5 >= int64_t{outWidth} * 4 ||
                              int64_t{whole} * pictureHeight * 5 >= int64_t{outHeight} * 4;
  if (integerScaling && whole >= 1 && wholeFillsMost) {
    rect.Width = pictureWidth * whole;
    rect.Height = pictureHeight * whole;
  } else if (int64_t{outWidth} * pictureHeight <= int64_t{outHeight} * pictureWidth) {
    // The output is narrower than the picture's aspect: full width, bars above and below.
    rect.Width = outWidth;
    rect.Height = static_cast<int32_t>((int64_t{outWidth} * pictureHeight + pictureWidth / 2) / pictureWidth);
  } else {
    rect.Height = outHeight;
    rect.Width = static_cast<int32_t>((int64_t{outHeight} * pictureWidth + pictureHeight / 2) / pictureHeight);
  }
  rect.X = (outWidth - rect.Width) / 2;
  rect.Y = (outHeight - rect.Height) / 2;
  return rect;
}
