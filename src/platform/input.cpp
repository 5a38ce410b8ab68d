#include "platform/input.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
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

void wait_for_input(int fd, int milliseconds) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, milliseconds) < 0 && errno != EINTR) {
        // An unusable descriptor: keep the idle pace without spinning.
        timespec t{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
        nanosleep(&t, nullptr);
    }
}

bool readable(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags < 0 || (flags & O_ACCMODE) != O_WRONLY;
}

long read_input(int fd, char* buffer, size_t n) {
    for (;;) {
        const ssize_t r = read(fd, buffer, n);
        if (r >= 0) return static_cast<long>(r);
        if (errno == EINTR) continue;
        // A descriptor left non-blocking by the parent has merely nothing yet;
        // any other failure (a directory, a closed descriptor) would repeat for ever.
        return errno == EAGAIN || errno == EWOULDBLOCK ? -1 : 0;
    }
}

}  // namespace platform
