// Recycled storage for the game's short-lived objects (shots, bullets, enemies, capsules, explosions, timers).
// A game creates and frees thousands of them a minute; blocks freed here are kept in a free list per size class
// and handed out again, so steady play stops asking the heap for memory once every list has reached its size.
#pragma once
#include <cstddef>

namespace ObjectPool {
// A block of at least Size bytes, aligned for any object.
void* Allocate(std::size_t Size);
// Returns a block from Allocate with the same Size.
void Release(void* Block, std::size_t Size) noexcept;
// Blocks waiting in the free lists (for tests and benchmarks).
std::size_t FreeBlocks() noexcept;
}  // namespace ObjectPool
