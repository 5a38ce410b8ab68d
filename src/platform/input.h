// Non-blocking access to a file descriptor, in place of the console and pipe
// calls of the original platform.
#pragma once
#include <cstddef>

namespace platform {

// True when a read on fd would not block: data is waiting, or the writer has
// closed its end (the read then reports the end of input).
bool input_waiting(int fd);

// Waits up to `milliseconds` for input_waiting(fd) to become true.
void wait_for_input(int fd, int milliseconds);

// Reads up to n bytes; returns the count, 0 at end of input, -1 on error.
long read_input(int fd, char* buffer, size_t n);

}  // namespace platform
