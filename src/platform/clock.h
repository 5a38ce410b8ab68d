// Millisecond clock and sleep.
#pragma once
#include <cstdint>

namespace platform {

// Milliseconds on a monotonic clock; only differences are meaningful.
int32_t clock_ms();

// Milliseconds since an earlier clock_ms() reading, right across the 32-bit
// wrap of the clock (for spans below 49 days).
inline int64_t elapsed_ms(int32_t since) {
    return static_cast<uint32_t>(static_cast<uint32_t>(clock_ms()) - static_cast<uint32_t>(since));
}

void sleep_ms(int milliseconds);

}  // namespace platform
