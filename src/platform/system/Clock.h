// The millisecond timer and the sleep call the frame loop uses (timeGetTime, Sleep, timeBeginPeriod and
// timeEndPeriod of the multimedia timer). The window build uses the system clock; the headless runner and the
// tests use a virtual clock so that every run sees the same times.
#pragma once
#include <cstdint>

class TClock {
 public:
  virtual ~TClock() = default;
  // Milliseconds since an arbitrary start; wraps around after 2^32 ms like the multimedia timer.
  virtual uint32_t timeGetTime() = 0;
  virtual void Sleep(uint32_t Milliseconds) = 0;
  virtual void timeBeginPeriod(uint32_t Milliseconds) = 0;
  virtual void timeEndPeriod(uint32_t Milliseconds) = 0;
};

// Real time from the monotonic clock. The kernel's timer is already fine-grained, so the period calls only
// record the request.
class TSystemClock : public TClock {
 public:
  uint32_t timeGetTime() override;
  void Sleep(uint32_t Milliseconds) override;
  void timeBeginPeriod(uint32_t Milliseconds) override;
  void timeEndPeriod(uint32_t Milliseconds) override;
  int PeriodRequests() const { return periodRequests_; }

 private:
  int periodRequests_ = 0;
};
