#include "platform/input.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace platform {

bool input_waiting(int fd) {
    pollfd p{fd, POLLIN, 0};
    for (;;) {
        const int r = poll(&p, 1, 0);
        if (r < 0 && errno == EINTR) continue;
        // POLLNVAL or an error: report input so that the caller's read finds out.
        return r != 0;
    }
}

long read_input(int fd, char* buffer, size_t n) {
    for (;;) {
        const ssize_t r = read(fd, buffer, n);
        if (r < 0 && errno == EINTR) continue;
        return static_cast<long>(r);
    }
}

}  // namespace platform
