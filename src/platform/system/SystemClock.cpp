#include <chrono>
#include <thread>

#include "Clock.h"

uint32_t TSystemClock::timeGetTime() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void TSystemClock::Sleep(uint32_t Milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}

void TSystemClock::timeBeginPeriod(uint32_t) { ++periodRequests_; }

void TSystemClock::timeEndPeriod(uint32_t) { --periodRequests_; }
