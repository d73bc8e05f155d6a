// Holds presented frames to a 60 Hz rhythm. The game counts time in frames, so it must see 60 of them per
// second whatever the display does: with a 60 Hz display and working vsync the retrace paces the game and this
// class only watches; otherwise (other refresh rates, no vsync, a vsync that does not block) it sleeps until the
// next 60 Hz tick of its own clock.
#pragma once
#include <cstdint>
#include <functional>

class TFramePacer {
 public:
  static constexpr int64_t kPeriodNs = 16'666'667;  // one 60 Hz frame

  using TNowFn = std::function<int64_t()>;        // monotonic time in nanoseconds
  using TSleepFn = std::function<void(int64_t)>;  // sleeps about that many nanoseconds

  TFramePacer(bool Vsync, TNowFn Now, TSleepFn Sleep);
  // With the system's monotonic clock and sleep.
  explicit TFramePacer(bool Vsync);

  // Called right after a frame was handed to the display; returns at the next tick in clock mode.
  void FramePresented();
  bool UsingVsync() const { return vsync_; }

 private:
  bool vsync_;
  TNowFn now_;
  TSleepFn sleep_;
  bool started_ = false;
  int64_t next_ = 0;         // clock mode: time of the next tick
  int64_t lastPresent_ = 0;  // vsync mode: time of the previous present
  int fastPresents_ = 0;     // vsync mode: consecutive presents that came too soon
};
