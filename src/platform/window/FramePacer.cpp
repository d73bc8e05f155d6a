#include "FramePacer.h"

#include <chrono>
#include <thread>

namespace {
// Presents closer together than half a frame, this many times in a row, mean the vsync does not block.
constexpr int kFastPresentLimit = 10;
// A clock that has fallen this far behind starts afresh instead of rushing frames to catch up.
constexpr int64_t kMaxLagNs = 2 * TFramePacer::kPeriodNs;

int64_t SteadyNowNs() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

TFramePacer::TFramePacer(bool Vsync, TNowFn Now, TSleepFn Sleep)
    : vsync_(Vsync), now_(std::move(Now)), sleep_(std::move(Sleep)) {}

TFramePacer::TFramePacer(bool Vsync)
    : TFramePacer(Vsync, SteadyNowNs, [](int64_t Ns) { std::this_thread::sleep_for(std::chrono::nanoseconds(Ns)); }) {}

void TFramePacer::FramePresented() {
  const int64_t now = now_();
  if (!started_) {
    started_ = true;
    lastPresent_ = now;
    next_ = now + kPeriodNs;
    return;
  }
  if (vsync_) {
    fastPresents_ = (now - lastPresent_ < kPeriodNs / 2) ? fastPresents_ + 1 : 0;
    lastPresent_ = now;
    if (fastPresents_ < kFastPresentLimit) return;
    vsync_ = false;
    next_ = now + kPeriodNs;
    return;
  }
  if (now < next_) {
    sleep_(next_ - now);
    next_ += kPeriodNs;
  } else if (now - next_ > kMaxLagNs) {
    next_ = now + kPeriodNs;
  } else {
    next_ += kPeriodNs;
  }
}
