// Destructors of device objects log what they release, but a destructor cannot pass on the
// input/output error of a log file that can no longer be written. Such a step switches the log off
// and runs again quietly, so the releasing still happens. Steps must be safe to run twice: each
// release clears its reference before the result is logged.
#pragma once
#include "DebugLog.h"

template <typename Step>
void TeardownStep(Step RunStep) noexcept {
  try {
    RunStep();
  } catch (const EInOutError&) {
    TDGDebugOption quiet = CurrentDebugOption();
    quiet.Exclude(dgoDebugMessage);
    ApplyDebugOption(quiet);
    RunStep();
  }
}
