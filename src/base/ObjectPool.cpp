#include "ObjectPool.h"

#include <array>
#include <new>

namespace {

constexpr std::size_t kGranule = alignof(std::max_align_t);
constexpr std::size_t kClassCount = 32;  // blocks up to 32 granules (512 bytes); larger ones go to the heap

struct TFreeBlock {
  TFreeBlock* Next;
};

// The free lists. Destroyed at exit: the blocks it holds go back to the heap, and blocks freed after that
// (objects of other static destructors) go straight to the heap as well.
class TPool {
 public:
  ~TPool() {
    for (TFreeBlock*& head : heads_) {
      while (head != nullptr) {
        TFreeBlock* next = head->Next;
        ::operator delete(head);
        head = next;
      }
    }
    Count_ = 0;
    Closed_ = true;
  }

  void* Allocate(std::size_t cls) {
    if (TFreeBlock* block = heads_[cls]; block != nullptr) {
      heads_[cls] = block->Next;
      --Count_;
      return block;
    }
    return ::operator new((cls + 1) * kGranule);
  }

  void Release(void* block, std::size_t cls) noexcept {
    if (Closed_) {
      ::operator delete(block);
      return;
    }
    auto* free = static_cast<TFreeBlock*>(block);
    free->Next = heads_[cls];
    heads_[cls] = free;
    ++Count_;
  }

  std::size_t Count() const { return Count_; }

 private:
  std::array<TFreeBlock*, kClassCount> heads_{};
  std::size_t Count_ = 0;
  bool Closed_ = false;
};

TPool& Pool() {
  static TPool pool;
  return pool;
}

std::size_t ClassOf(std::size_t size) { return size == 0 ? 0 : (size - 1) / kGranule; }

}  // namespace

void* ObjectPool::Allocate(std::size_t Size) {
  const std::size_t cls = ClassOf(Size);
  if (cls >= kClassCount) return ::operator new(Size);
  return Pool().Allocate(cls);
}

void ObjectPool::Release(void* Block, std::size_t Size) noexcept {
  if (Block == nullptr) return;
  const std::size_t cls = ClassOf(Size);
  if (cls >= kClassCount) {
    ::operator delete(Block);
    return;
  }
  Pool().Release(Block, cls);
}

std::size_t ObjectPool::FreeBlocks() noexcept { return Pool().Count(); }
