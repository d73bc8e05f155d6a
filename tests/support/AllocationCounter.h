// Counts the heap allocations made through operator new while a TAllocationCounter lives, so a test
// can check that a steady frame path allocates nothing. The test runner replaces the global operator
// new once (AllocationCounter.cpp); any test may use the counter, none may replace operator new again.
#pragma once
#include <cstdint>

class TAllocationCounter {
 public:
  TAllocationCounter();
  ~TAllocationCounter();
  TAllocationCounter(const TAllocationCounter&) = delete;
  TAllocationCounter& operator=(const TAllocationCounter&) = delete;

  // Allocations since construction.
  uint64_t Count() const;

 private:
  uint64_t start_;
  bool outer_;
};
