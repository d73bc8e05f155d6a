// A target marks the inputs that got past its setup into the code under test (a file that loaded, a picture
// that decoded). The plain replay driver fails when none of the seeds did: a target whose every input stops
// short (a scratch file that cannot be written, say) tests nothing while looking clean. libFuzzer builds
// ignore the mark; there the coverage check of scripts/fuzz.sh catches the same fault.
#pragma once
#include <cstddef>

inline size_t& FuzzInputsReached() {
  static size_t count = 0;
  return count;
}
inline void FuzzInputReached() { ++FuzzInputsReached(); }

inline bool& FuzzMarksInputs() {
  static bool marks = false;
  return marks;
}
// One at namespace scope in a target that marks its inputs.
struct TFuzzMarking {
  TFuzzMarking() { FuzzMarksInputs() = true; }
};
