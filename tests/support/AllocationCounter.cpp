#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

// Only counted while some counter lives, so the rest of the runner pays nothing but a branch.
bool Counting = false;
uint64_t Allocations = 0;

void* Allocate(std::size_t Size) {
  if (Counting) ++Allocations;
  // malloc(0) may answer null; operator new must not.
  if (void* block = std::malloc(Size != 0 ? Size : 1)) return block;
  throw std::bad_alloc();
}

void* AllocateAligned(std::size_t Size, std::align_val_t Alignment) {
  if (Counting) ++Allocations;
  const std::size_t align = static_cast<std::size_t>(Alignment);
  // aligned_alloc wants a size that is a multiple of the alignment.
  const std::size_t rounded = ((Size != 0 ? Size : 1) + align - 1) / align * align;
  if (void* block = std::aligned_alloc(align, rounded)) return block;
  throw std::bad_alloc();
}

}  // namespace

TAllocationCounter::TAllocationCounter() : start_(Allocations), outer_(!Counting) { Counting = true; }

TAllocationCounter::~TAllocationCounter() {
  if (outer_) Counting = false;
}

uint64_t TAllocationCounter::Count() const { return Allocations - start_; }

// Every form of operator new and delete is replaced, so that no block passes between this pair and
// the library's (or a sanitizer's) own, which would count as a mismatched release.
void* operator new(std::size_t Size) { return Allocate(Size); }
void* operator new[](std::size_t Size) { return Allocate(Size); }
void* operator new(std::size_t Size, std::align_val_t Alignment) { return AllocateAligned(Size, Alignment); }
void* operator new[](std::size_t Size, std::align_val_t Alignment) { return AllocateAligned(Size, Alignment); }
void operator delete(void* Block) noexcept { std::free(Block); }
void operator delete[](void* Block) noexcept { std::free(Block); }
void operator delete(void* Block, std::size_t) noexcept { std::free(Block); }
void operator delete[](void* Block, std::size_t) noexcept { std::free(Block); }
void operator delete(void* Block, std::align_val_t) noexcept { std::free(Block); }
void operator delete[](void* Block, std::align_val_t) noexcept { std::free(Block); }
void operator delete(void* Block, std::size_t, std::align_val_t) noexcept { std::free(Block); }
void operator delete[](void* Block, std::size_t, std::align_val_t) noexcept { std::free(Block); }

void* operator new(std::size_t Size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(Size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t Size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(Size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new(std::size_t Size, std::align_val_t Alignment, const std::nothrow_t&) noexcept {
  try {
    return AllocateAligned(Size, Alignment);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t Size, std::align_val_t Alignment, const std::nothrow_t&) noexcept {
  try {
    return AllocateAligned(Size, Alignment);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void operator delete(void* Block, const std::nothrow_t&) noexcept { std::free(Block); }
void operator delete[](void* Block, const std::nothrow_t&) noexcept { std::free(Block); }
void operator delete(void* Block, std::align_val_t, const std::nothrow_t&) noexcept { std::free(Block); }
void operator delete[](void* Block, std::align_val_t, const std::nothrow_t&) noexcept { std::free(Block); }
