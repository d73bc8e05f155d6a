// A clock that only moves when told to: the headless runner advances it by 17 ms per frame, so a replay gives
// the same times on every machine. Sleep advances it by the time slept and records the call.
#pragma once
#include <cstdint>
#include <vector>

#include "Clock.h"

class TVirtualClock : public TClock {
 public:
  explicit TVirtualClock(uint32_t Start = 0) : now_(Start) {}

  uint32_t timeGetTime() override { return now_; }
  void Sleep(uint32_t Milliseconds) override {
    Sleeps.push_back(Milliseconds);
    now_ += Milliseconds;
  }
  void timeBeginPeriod(uint32_t Milliseconds) override { PeriodRequests.push_back(static_cast<int>(Milliseconds)); }
  void timeEndPeriod(uint32_t Milliseconds) override { PeriodRequests.push_back(-static_cast<int>(Milliseconds)); }

  void Advance(uint32_t Milliseconds) { now_ += Milliseconds; }

  std::vector<uint32_t> Sleeps;     // every Sleep call, in order
  std::vector<int> PeriodRequests;  // +N for timeBeginPeriod(N), -N for timeEndPeriod(N)

 private:
  uint32_t now_;
};
