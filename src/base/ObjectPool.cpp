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
    count_ = 0;
    closed_ = true;
  }

  void* Allocate(std::size_t Cls) {
    if (TFreeBlock* block = heads_[Cls]; block != nullptr) {
      heads_[Cls] = block->Next;
      --count_;
      return block;
    }
    return ::operator new((Cls + 1) * kGranule);
  }

  void Release(void* Block, std::size_t Cls) noexcept {
    if (closed_) {
      ::operator delete(Block);
      return;
    }
    auto* free = static_cast<TFreeBlock*>(Block);
    free->Next = heads_[Cls];
    heads_[Cls] = free;
    ++count_;
  }

  std::size_t Count() const { return count_; }

 private:
  std::array<TFreeBlock*, kClassCount> heads_{};
  std::size_t count_ = 0;
  bool closed_ = false;
};

TPool& Pool() {
  static TPool pool;
  return pool;
}

std::size_t ClassOf(std::size_t Size) { return Size == 0 ? 0 : (Size - 1) / kGranule; }

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
