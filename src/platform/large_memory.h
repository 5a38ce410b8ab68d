// Large blocks for the hash tables: on a large-page boundary, with the kernel
// asked to back them with large pages. The search reaches the tables at
// random, and with small pages nearly every probe also misses the address
// translation cache.
#pragma once
#include <cstddef>

namespace platform {

// A block of `bytes`, or nullptr. Release it with release_large_block.
void* allocate_large_block(size_t bytes);
void release_large_block(void* block);

}  // namespace platform
