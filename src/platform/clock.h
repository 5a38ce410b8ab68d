// Millisecond clock and sleep.
#pragma once
#include <cstdint>

namespace platform {

// Milliseconds on a monotonic clock; only differences are meaningful.
int32_t clock_ms();

void sleep_ms(int milliseconds);

}  // namespace platform
