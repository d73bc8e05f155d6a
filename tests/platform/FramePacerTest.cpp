#include "FramePacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int64_t kMs = 1'000'000;

// A fake clock: each present takes `work` nanoseconds after the previous return; sleeps advance the clock.
struct TFakeTime {
  int64_t Now = 1000 * kMs;
  std::vector<int64_t> Sleeps;
  TFramePacer Make(bool Vsync) {
    return TFramePacer(
        Vsync, [this] { return Now; },
        [this](int64_t Ns) {
          Sleeps.push_back(Ns);
          Now += Ns;
        });
  }
};

TEST(FramePacer, ClockModeHoldsAFastLoopToSixtyFramesPerSecond) {
  TFakeTime t;
  TFramePacer pacer = t.Make(false);
  const int64_t start = t.Now;
  for (int i = 0; i < 61; ++i) {
    t.Now += 2 * kMs;  // a frame that takes 2 ms to make
    pacer.FramePresented();
  }
  // 60 periods after the first present: one second, within the rounding of one period.
  const int64_t elapsed = t.Now - start - 2 * kMs;
  EXPECT_NEAR(static_cast<double>(elapsed), 1e9, 1e3);
}

TEST(FramePacer, ClockModeDoesNotSleepForSlowFramesAndDoesNotRushAfterAStall) {
  TFakeTime t;
  TFramePacer pacer = t.Make(false);
  pacer.FramePresented();
  t.Now += 200 * kMs;  // a long stall
  pacer.FramePresented();
  EXPECT_TRUE(t.Sleeps.empty());
  t.Now += 1 * kMs;
  pacer.FramePresented();  // the next frame waits a whole period again, no burst of catch-up frames
  ASSERT_EQ(t.Sleeps.size(), 1u);
  EXPECT_EQ(t.Sleeps[0], TFramePacer::kPeriodNs - 1 * kMs);
}

TEST(FramePacer, VsyncModeOnlyWatchesWhileTheRetraceBlocks) {
  TFakeTime t;
  TFramePacer pacer = t.Make(true);
  for (int i = 0; i < 100; ++i) {
    t.Now += TFramePacer::kPeriodNs;  // the present blocked until the retrace
    pacer.FramePresented();
  }
  EXPECT_TRUE(pacer.UsingVsync());
  EXPECT_TRUE(t.Sleeps.empty());
}

TEST(FramePacer, VsyncThatDoesNotBlockFallsBackToTheClock) {
  TFakeTime t;
  TFramePacer pacer = t.Make(true);
  for (int i = 0; i < 11; ++i) {
    t.Now += 1 * kMs;
    pacer.FramePresented();
  }
  EXPECT_FALSE(pacer.UsingVsync());
  const int64_t start = t.Now;
  for (int i = 0; i < 60; ++i) {
    t.Now += 1 * kMs;
    pacer.FramePresented();
  }
  EXPECT_NEAR(static_cast<double>(t.Now - start), 1e9, 2e6);
}

}  // namespace
