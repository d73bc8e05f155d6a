#include "PictureFit.h"

#include <gtest/gtest.h>

namespace {

TEST(PictureFit, KeepsTheAspectCentredWithBlackBars) {
  const struct {
    int32_t OutWidth, OutHeight;
    bool Integer;
    TPictureRect Expected;
  } cases[] = {
      {800, 600, true, {0, 0, 800, 600}},          // the game's own window
      {1600, 1200, true, {0, 0, 1600, 1200}},      // --scale 2, or a HiDPI drawable of an 800 x 600 window
      {1920, 1200, true, {160, 0, 1600, 1200}},    // fullscreen where twice fits: bars left and right
      {1920, 1080, true, {240, 0, 1440, 1080}},    // once fits but leaves the screen mostly empty: fill instead
      {2560, 1440, true, {480, 120, 1600, 1200}},  // twice fills five sixths of the height: crisp
      {1920, 1080, false, {240, 0, 1440, 1080}},   // the same without integer scaling
      {1000, 500, true, {166, 0, 667, 500}},       // lower than the picture: scaled down, still its aspect
      {400, 600, true, {0, 150, 400, 300}},        // narrower than the picture
      {0, 600, true, {0, 0, 0, 0}},                // minimised
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitPicture(c.OutWidth, c.OutHeight, 800, 600, c.Integer), c.Expected)
        << c.OutWidth << "x" << c.OutHeight << (c.Integer ? " integer" : "");
  }
}

TEST(PictureFit, TheWindowScaleIsTheLargestThatFitsWithItsFrame) {
  EXPECT_EQ(FittingScale(2, 800, 600, 1920, 1080, 0, 0), 1);   // 1200 lines do not fit 1080
  EXPECT_EQ(FittingScale(2, 800, 600, 1920, 1200, 0, 0), 2);   // exactly
  EXPECT_EQ(FittingScale(2, 800, 600, 1920, 1200, 2, 22), 1);  // not with a title bar
  EXPECT_EQ(FittingScale(7, 800, 600, 3840, 2160, 2, 22), 3);  // the width is not the limit here
  EXPECT_EQ(FittingScale(3, 800, 600, 1700, 4000, 0, 0), 2);   // here it is
  EXPECT_EQ(FittingScale(2, 800, 600, 640, 480, 0, 0), 1);     // a screen smaller than the game: never below 1
  EXPECT_EQ(FittingScale(4, 800, 600, 0, 0, 0, 0), 4);         // no screen known: as asked
  EXPECT_EQ(FittingScale(0, 800, 600, 1920, 1080, 0, 0), 1);
}

}  // namespace
