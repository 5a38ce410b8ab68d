#include "platform/large_memory.h"

#include <cstdlib>
#include <sys/mman.h>

namespace platform {

namespace {

constexpr size_t LARGE_PAGE = size_t{2} << 20;

}  // namespace

void* allocate_large_block(size_t bytes) {
    if (bytes < LARGE_PAGE) return std::malloc(bytes);
    void* block = nullptr;
    if (posix_memalign(&block, LARGE_PAGE, bytes) != 0) return nullptr;
#ifdef MADV_HUGEPAGE
    // Only a hint: without large pages the block works the same, only slower.
    madvise(block, bytes, MADV_HUGEPAGE);
#endif
    return block;
}

void release_large_block(void* block) { std::free(block); }

}  // namespace platform
