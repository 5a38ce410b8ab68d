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

// False when fd is open but cannot be read at all (opened for writing only).
// A descriptor that is not open counts as readable: its first read fails.
bool readable(int fd);

// Reads up to n bytes; returns the count, or 0 at the end of input and on any
// failure that a retry would not mend; -1 when nothing can be read just now.
long read_input(int fd, char* buffer, size_t n);

}  // namespace platform
