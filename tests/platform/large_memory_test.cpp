// Large blocks: usable to their last byte, and the large ones on a large-page
// boundary, where the kernel can back them with large pages.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/large_memory.h"

namespace {

constexpr size_t MB = size_t{1} << 20;

TEST(LargeMemory, BlocksAreWholeAndLargeOnesAligned) {
    struct Row {
        size_t bytes;
        size_t alignment;
    };
    const Row rows[] = {{1, 1}, {4096, 16}, {2 * MB - 1, 16}, {2 * MB, 2 * MB}, {16 * MB + 20, 2 * MB}};
    for (const Row& r : rows) {
        void* block = platform::allocate_large_block(r.bytes);
        ASSERT_NE(block, nullptr) << r.bytes;
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % r.alignment, 0u) << r.bytes;
        std::memset(block, 0xA5, r.bytes);
        EXPECT_EQ(static_cast<unsigned char*>(block)[r.bytes - 1], 0xA5) << r.bytes;
        platform::release_large_block(block);
    }
    platform::release_large_block(nullptr);
}

}  // namespace
