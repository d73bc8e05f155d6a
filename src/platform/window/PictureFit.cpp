#include "PictureFit.h"

#include <algorithm>

int32_t FittingScale(int32_t Requested, int32_t ClientWidth, int32_t ClientHeight, int32_t AreaWidth,
                     int32_t AreaHeight, int32_t FrameWidth, int32_t FrameHeight) {
  if (AreaWidth <= 0 || AreaHeight <= 0 || ClientWidth <= 0 || ClientHeight <= 0) return std::max(Requested, 1);
  const int32_t across = (AreaWidth - FrameWidth) / ClientWidth, down = (AreaHeight - FrameHeight) / ClientHeight;
  return std::max(std::min({Requested, across, down}), 1);
}

TPictureRect FitPicture(int32_t OutWidth, int32_t OutHeight, int32_t PictureWidth, int32_t PictureHeight,
                        bool IntegerScaling) {
  if (OutWidth <= 0 || OutHeight <= 0 || PictureWidth <= 0 || PictureHeight <= 0) return {};
  TPictureRect rect;
  const int32_t whole = std::min(OutWidth / PictureWidth, OutHeight / PictureHeight);
  // A whole multiple only when it fills most of the room: 1x on a 1080-line screen would leave the picture small.
  const bool wholeFillsMost = int64_t{whole} * PictureWidth * 5 >= int64_t{OutWidth} * 4 ||
                              int64_t{whole} * PictureHeight * 5 >= int64_t{OutHeight} * 4;
  if (IntegerScaling && whole >= 1 && wholeFillsMost) {
    rect.Width = PictureWidth * whole;
    rect.Height = PictureHeight * whole;
  } else if (int64_t{OutWidth} * PictureHeight <= int64_t{OutHeight} * PictureWidth) {
    // The output is narrower than the picture's aspect: full width, bars above and below.
    rect.Width = OutWidth;
    rect.Height = static_cast<int32_t>((int64_t{OutWidth} * PictureHeight + PictureWidth / 2) / PictureWidth);
  } else {
    rect.Height = OutHeight;
    rect.Width = static_cast<int32_t>((int64_t{OutHeight} * PictureWidth + PictureHeight / 2) / PictureHeight);
  }
  rect.X = (OutWidth - rect.Width) / 2;
  rect.Y = (OutHeight - rect.Height) / 2;
  return rect;
}
