#include "FramePacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int64_t kMs = 1'000'000;

// A fake clock: each present takes `work` nanoseconds after the previous return; sleeps advance the clock.
struct FakeTime {
  int64_t now = 1000 * kMs;
  std::vector<int64_t> sleeps;
  TFramePacer Make(bool vsync) {
    return TFramePacer(
        vsync, [this] { return now; },
        [this](int64_t ns) {
          sleeps.push_back(ns);
          now += ns;
        });
  }
};

TEST(FramePacer, ClockModeHoldsAFastLoopToSixtyFramesPerSecond) {
  FakeTime t;
  TFramePacer pacer = t.Make(false);
  const int64_t start = t.now;
  for (int i = 0; i < 61; ++i) {
    t.now += 2 * kMs;  // a frame that takes 2 ms to make
    pacer.FramePresented();
  }
  // 60 periods after the first present: one second, within the rounding of one period.
  const int64_t elapsed = t.now - start - 2 * kMs;
  EXPECT_NEAR(static_cast<double>(elapsed), 1e9, 1e3);
}

TEST(FramePacer, ClockModeDoesNotSleepForSlowFramesAndDoesNotRushAfterAStall) {
  FakeTime t;
  TFramePacer pacer = t.Make(false);
  pacer.FramePresented();
  t.now += 200 * kMs;  // a long stall
  pacer.FramePresented();
  EXPECT_TRUE(t.sleeps.empty());
  t.now += 1 * kMs;
  pacer.FramePresented();  // the next frame waits a whole period again, no burst of catch-up frames
  ASSERT_EQ(t.sleeps.size(), 1u);
  EXPECT_EQ(t.sleeps[0], TFramePacer::kPeriodNs - 1 * kMs);
}

TEST(FramePacer, VsyncModeOnlyWatchesWhileTheRetraceBlocks) {
  FakeTime t;
  TFramePacer pacer = t.Make(true);
  for (int i = 0; i < 100; ++i) {
    t.now += TFramePacer::kPeriodNs;  // the present blocked until the retrace
    pacer.FramePresented();
  }
  EXPECT_TRUE(pacer.UsingVsync());
  EXPECT_TRUE(t.sleeps.empty());
}

TEST(FramePacer, VsyncThatDoesNotBlockFallsBackToTheClock) {
  FakeTime t;
  TFramePacer pacer = t.Make(true);
  for (int i = 0; i < 11; ++i) {
    t.now += 1 * kMs;
    pacer.FramePresented();
  }
  EXPECT_FALSE(pacer.UsingVsync());
  const int64_t start = t.now;
  for (int i = 0; i < 60; ++i) {
    t.now += 1 * kMs;
    pacer.FramePresented();
  }
  EXPECT_NEAR(static_cast<double>(t.now - start), 1e9, 2e6);
}

}  // namespace
